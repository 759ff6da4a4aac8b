// The own compiled-help writer on random small sets of files: chmlib must read back every
// file byte for byte, whatever the names and contents (repetitive or not, empty or not).
#include <chm_lib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "chm/ChmContainer.h"

namespace {

class Input {
  public:
    Input(const std::uint8_t* d, std::size_t n) : d_(d), n_(n) {}
    bool empty() const { return at_ >= n_; }
    std::uint8_t byte() { return at_ < n_ ? d_[at_++] : 0; }
    std::string bytes(std::size_t n) {
        std::string s;
        while (n-- && at_ < n_) s.push_back(static_cast<char>(d_[at_++]));
        return s;
    }

  private:
    const std::uint8_t* d_;
    std::size_t n_;
    std::size_t at_ = 0;
};

std::string nameFrom(Input& in) {
    static const char kChars[] = "abcXYZ019_./-~ ";
    std::string name = "/";
    const std::size_t length = 1 + in.byte() % 24;
    for (std::size_t i = 0; i < length; ++i) name += kChars[in.byte() % (sizeof(kChars) - 1)];
    return name;
}

// Contents: raw bytes, or a short pattern repeated so that matches and long runs occur.
std::string contentsFrom(Input& in) {
    const std::uint8_t kind = in.byte();
    const std::size_t length = (in.byte() << 8 | in.byte()) % 4096;
    if (kind % 2 == 0) return in.bytes(length);
    const std::string pattern = in.bytes(1 + kind % 9);
    std::string s;
    const std::size_t repeat = length * (1 + kind % 40);
    while (s.size() < repeat && !pattern.empty()) s += pattern;
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarnbook::chm;
    Input in(data, size);
    std::vector<ChmFile> files;
    const std::size_t count = 1 + in.byte() % 12;
    for (std::size_t i = 0; i < count && !in.empty(); ++i) {
        ChmFile f{nameFrom(in), {}, (in.byte() & 7) != 0};
        f.data = contentsFrom(in);
        files.push_back(std::move(f));
    }
    std::string bytes;
    try {
        bytes = buildChmContainer(files);
    } catch (const std::invalid_argument&) {
        return 0;  // names the container refuses (duplicates, trailing '/')
    }
    const std::string path = "/tmp/fuzz_chm_writer-" + std::to_string(getpid()) + ".chm";
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return 0;
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
    chmFile* h = chm_open(path.c_str());
    if (!h) __builtin_trap();
    for (const auto& f : files) {
        chmUnitInfo ui{};
        if (chm_resolve_object(h, f.name.c_str(), &ui) != CHM_RESOLVE_SUCCESS) __builtin_trap();
        if (ui.length != f.data.size()) __builtin_trap();
        std::string got(f.data.size(), '\0');
        if (!got.empty() &&
            chm_retrieve_object(h, &ui, reinterpret_cast<unsigned char*>(got.data()), 0,
                                static_cast<LONGINT64>(got.size())) !=
                static_cast<LONGINT64>(got.size()))
            __builtin_trap();
        if (got != f.data) __builtin_trap();
    }
    chm_close(h);
    std::remove(path.c_str());
    return 0;
}
