// Converting 50 MB of EUC-JP and of ISO-2022-JP text to Shift_JIS line by line, against the
// iconv program on the same file in the same run. Both read the file and write the result to
// /dev/null; the ratios iconv time / our time (wall and CPU) are printed at the end, above 1
// meaning faster than iconv. On a busy machine the CPU ratio is the steadier one.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <iconv.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "authoring/SjisConvert.h"
#include "platform/Files.h"
#include "platform/Paths.h"

extern char** environ;

namespace {

constexpr std::size_t kTargetBytes = 50u << 20;

std::string encode(iconv_t cd, const std::string& utf8) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out(utf8.size() * 2 + 16, '\0');
    char* ip = const_cast<char*>(utf8.data());
    std::size_t il = utf8.size();
    char* op = out.data();
    std::size_t ol = out.size();
    if (iconv(cd, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1) ||
        iconv(cd, nullptr, nullptr, &op, &ol) == static_cast<std::size_t>(-1)) {
        throw std::runtime_error("iconv cannot encode the sample text");
    }
    out.resize(out.size() - ol);
    return out;
}

// Help-page-like Japanese: sentences of kanji, kana, ASCII markup and punctuation.
std::vector<std::string> sampleLines() {
    static const char* words[] = {"このヘルプファイルは",
                                  "日本語で",
                                  "書かれています。",
                                  "「設定」メニューから",
                                  "[オプション]を",
                                  "選択してください。",
                                  "目次と索引を",
                                  "作成します",
                                  "<A HREF=\"index.html\">",
                                  "</A>",
                                  "プロジェクトの",
                                  "保存先フォルダ",
                                  "鬱蒼とした森の",
                                  "薔薇の花が",
                                  "咲いています",
                                  "、",
                                  "。",
                                  "（注意）",
                                  "※",
                                  "HTML Help 1.4",
                                  "キーワード",
                                  "検索",
                                  "東京都千代田区",
                                  "〒100-0001",
                                  "★○◆",
                                  "<BR>",
                                  "&nbsp;",
                                  "第１章",
                                  "概要",
                                  "操作説明",
                                  "齟齬がないように"};
    std::mt19937 random(7);
    std::vector<std::string> lines;
    for (int i = 0; i < 2000; ++i) {
        std::string line;
        const int n = std::uniform_int_distribution<int>(4, 14)(random);
        for (int k = 0; k < n; ++k) {
            line += words[std::uniform_int_distribution<std::size_t>(
                0, sizeof(words) / sizeof(words[0]) - 1)(random)];
        }
        lines.push_back(line);
    }
    return lines;
}

// Writes about kTargetBytes of the sample text in `encoding` to a temporary file.
std::string makeSampleFile(const char* encoding) {
    iconv_t cd = iconv_open(encoding, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
    std::vector<std::string> encoded;
    for (const auto& line : sampleLines()) encoded.push_back(encode(cd, line) + "\n");
    iconv_close(cd);
    std::string text;
    text.reserve(kTargetBytes + 4096);
    for (std::size_t i = 0; text.size() < kTargetBytes; ++i) text += encoded[i % encoded.size()];
    const std::string path = tarnbook::platform::makeTempFile("QLT", ".txt");
    tarnbook::platform::writeFileAtomic(path, text);
    return path;
}

std::map<std::string, std::string> sampleFiles;  // encoding -> path, made when first needed

const std::string& sampleFile(const std::string& encoding) {
    auto it = sampleFiles.find(encoding);
    if (it == sampleFiles.end()) {
        it = sampleFiles.emplace(encoding, makeSampleFile(encoding.c_str())).first;
    }
    return it->second;
}

struct Best {
    double wall = 0;
    double cpu = 0;
};
std::map<std::string, Best> best;  // "ours EUC-JP" -> fastest run

void record(const std::string& name, double wall, double cpu) {
    auto it = best.find(name);
    if (it == best.end() || wall < it->second.wall) best[name] = {wall, cpu};
}

double seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6;
}

double cpuSeconds(const rusage& u) {
    return seconds(u.ru_utime) + seconds(u.ru_stime);
}

// Reads the file in 1 MB pieces, converts line by line and writes to /dev/null: the same
// work as the iconv program, without holding the file in memory.
void oursConvert(benchmark::State& state, const std::string& encoding) {
    const std::string& path = sampleFile(encoding);
    const std::string native = tarnbook::platform::nativePath(path).str();
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        const auto start = std::chrono::steady_clock::now();
        const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
        tarnbook::authoring::SjisTextConverter converter([null](std::string_view block) {
            if (::write(null, block.data(), block.size()) < 0) std::abort();
        });
        ssize_t got = 0;
        while ((got = ::read(fd, buffer.data(), buffer.size())) > 0) {
            converter.feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
        }
        converter.finish();
        ::close(fd);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        state.SetIterationTime(took.count());
        record("ours " + encoding, took.count(), cpuSeconds(after) - cpuSeconds(before));
    }
    ::close(null);
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(tarnbook::platform::fileSize(path)));
}

void iconvProgram(benchmark::State& state, const std::string& encoding) {
    const std::string native = tarnbook::platform::nativePath(sampleFile(encoding)).str();
    for (auto _ : state) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        std::vector<std::string> args = {"iconv", "-f", encoding, "-t", "CP932", native};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        const int spawned = posix_spawnp(&pid, "iconv", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            state.SkipWithError("cannot start iconv");
            break;
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("iconv failed");
            break;
        }
        state.SetIterationTime(took.count());
        record("iconv " + encoding, took.count(), cpuSeconds(usage));
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(tarnbook::platform::fileSize(native)));
}

}  // namespace

BENCHMARK_CAPTURE(oursConvert, euc_jp, std::string("EUC-JP"))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(iconvProgram, euc_jp, std::string("EUC-JP"))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(oursConvert, iso_2022_jp, std::string("ISO-2022-JP"))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(iconvProgram, iso_2022_jp, std::string("ISO-2022-JP"))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const char* encoding : {"EUC-JP", "ISO-2022-JP"}) {
        const auto ours = best.find(std::string("ours ") + encoding);
        const auto theirs = best.find(std::string("iconv ") + encoding);
        if (ours == best.end() || theirs == best.end()) continue;
        std::printf(
            "%s: iconv %.0f ms (cpu %.0f ms), ours %.0f ms (cpu %.0f ms); "
            "ratio iconv/ours: wall %.2fx, cpu %.2fx\n",
            encoding, theirs->second.wall * 1e3, theirs->second.cpu * 1e3, ours->second.wall * 1e3,
            ours->second.cpu * 1e3, theirs->second.wall / ours->second.wall,
            theirs->second.cpu / ours->second.cpu);
    }
    for (const auto& file : sampleFiles) tarnbook::platform::deleteFile(file.second);
    return 0;
}
