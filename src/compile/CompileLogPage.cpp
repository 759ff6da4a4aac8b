#include "compile/CompileLogPage.h"

#include <cctype>

#include "compile/BuildPaths.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace tarnbook::compile {
namespace {

void appendLines(const std::string& logPath, const std::vector<std::string>& lines) {
    std::string bytes = platform::readFile(logPath);
    if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r') bytes += "\r\n";
    bytes += platform::joinLinesCrLf(lines);
    platform::writeFileAtomic(logPath, bytes);
}

std::string localTimeText(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[64];
    std::strftime(buf, sizeof buf, "%Y/%m/%d %H:%M:%S", &tm);
    return buf;
}

// The number in characters 4 to 7 of an "HHC" line; -1 when they are not four digits.
int messageNumber(const std::string& line) {
    if (line.size() < 7) return -1;
    int n = 0;
    for (std::size_t i = 3; i < 7; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(line[i]))) return -1;
        n = n * 10 + (line[i] - '0');
    }
    return n;
}

}  // namespace

void appendBackupLines(const std::string& logPath, const std::string& chm, const std::string& bak,
                       const std::string& bak2) {
    if (bak.empty() || !platform::fileExists(logPath)) return;
    std::vector<std::string> lines = {
        "<br/><br/>",
        "===== Backup =====<br/>",
        "==[ " + chm + " ] -&gt; [ " + bak + " ]<br/><br/>",
    };
    if (!bak2.empty()) lines.push_back("==[ " + bak + " ] -&gt; [ " + bak2 + " ]<br/>");
    appendLines(logPath, lines);
}

void appendCopyLines(const std::string& logPath, const std::string& dest) {
    if (dest.empty() || !platform::fileExists(logPath)) return;
    appendLines(logPath, {
                             "==<br/>",
                             "===== Copy =====<br/>",
                             "==" + platform::utf8ToCp932("コンパイル済みヘルプを [ ") + dest +
                                 platform::utf8ToCp932(" ] にコピーしました。") + "<br/>",
                         });
}

void appendCopyFailedLines(const std::string& logPath, const std::string& dest,
                           const std::string& reason) {
    if (dest.empty() || !platform::fileExists(logPath)) return;
    std::string why;
    for (char c : reason) why += c == '\n' ? std::string("<br/>") : std::string(1, c);
    appendLines(logPath,
                {
                    "==<br/>",
                    "===== Copy =====<br/>",
                    "==<div class = red>" + platform::utf8ToCp932("コンパイル済みヘルプを [ ") +
                        dest + platform::utf8ToCp932(" ] にコピーできませんでした。") + "<br/>" +
                        why + "</div><br/>",
                });
}

std::string hhcExplanation(int number) {
    static constexpr struct {
        int number;
        bool red;
        const char* text;
    } kTable[] = {
        {1000, false, "タグ&lt;&gt;内が空です"},
        {3000, false, "&lt;param&gt;タグの位置が不正です"},
        {3002, false, "タグが閉じていません"},
        {3004, false, "タグ内に英数字以外の文字があります"},
        {4006, false, "同名ファイルが複数指定されています"},
        {4014, false, "コンテキストIDが不正です"},
        {4016, true, "ファイルが開けません"},
        {5000, true, "ファイルの書き込みに失敗しました"},
        {5001, true, "ファイルの読み込みに失敗しました"},
        {5002, true, "コメントタグが不正です"},
        {5003, true,
         "参照ファイルのコンパイルができません、又はデフォルトページが指定されていません"},
        {5005, true, "目次ファイルが不正です"},
        {5008, true, "インデックスが作成できません"},
        {5010, true, "テンポラリファイルが作成できません"},
        {5013, true, "参照しているファイルが見つかりません"},
        {6000, true, "内部ファイル作成エラー"},
        {6001, true, "全文検索作成エラー"},
    };
    for (const auto& e : kTable)
        if (e.number == number)
            return std::string(e.red ? "<div class = red>" : "<div class = yellow>") +
                   platform::utf8ToCp932(e.text) + "</div><br>";
    return {};
}

std::string compileLogHtmlPath(const std::string& logPath) {
    const std::string html = platform::changeExtension(logPath, ".html");
    return platform::folderPartWithSeparator(html) +
           platform::upperCaseSjis(platform::fileNamePart(html));
}

std::string convertCompileLog(const std::string& logPath, const LogPageInfo& info) {
    const std::int64_t age = platform::fileAge(logPath);
    const std::vector<std::string> in = platform::readLines(logPath);
    const std::string compiled = localTimeText(static_cast<std::time_t>(age < 0 ? 0 : age));
    const std::string now = localTimeText(info.now ? info.now : std::time(nullptr));
    const std::string first = in.empty() ? std::string() : in.front();

    std::vector<std::string> out = {
        R"(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">)",
        "<HTML><HEAD>",
        R"(<link rel="stylesheet" href=")" + inProjectFolder(info.templateFolder, "log.css") +
            R"(" type="text/css"> </head>)",
        "</head>",
        "<body>[ " + first + " ]<br><div class=green>Target -&gt; " + info.targetFileName +
            "</div><br>",
        "<div class = green> Now : " + now + " </div><br>",
        "<div class = green> Compiled : " + compiled + " </div><br>",
    };
    std::size_t i = 1;
    auto next = [&]() -> std::string { return i < in.size() ? in[i++] : std::string(); };
    while (i < in.size()) {
        const std::string x = in[i++];
        const std::string_view c7 = std::string_view(x).substr(0, 7);
        if (c7 == "Compile") {
            out.push_back(x + "<br>");
            for (int k = 0; k < 4; ++k) out.push_back(next() + "<br>");
        } else if (c7 == "Created") {
            const std::size_t comma = x.find(',');
            if (comma == std::string::npos) continue;
            const std::string a = x.substr(comma + 1);
            const std::string y = next();
            const std::string b = y.size() > 30 ? y.substr(29, y.size() - 30) : std::string();
            // A compiled file larger than its sources grew: the difference is then positive.
            const char* sign = y.starts_with("Compression increased") ? "+" : "-";
            out.push_back("<br><div class = green>Now: " + a + "  (  " + sign + b + " )</div><br>");
        } else if (x.starts_with("==")) {
            if (x == "===== Backup =====<br/>" || x == "===== Copy =====<br/>")
                out.push_back("<div class = green>" + x + "</div><br/>");
            else
                out.push_back(x.substr(2));
        } else if (x.starts_with("HHC")) {
            out.push_back(x);
            const std::string explanation = hhcExplanation(messageNumber(x));
            if (!explanation.empty()) out.push_back(explanation);
        }
    }
    out.push_back("</body></html>");
    const std::string htmlPath = compileLogHtmlPath(logPath);
    platform::writeLinesCrLf(htmlPath, out, platform::Durability::Unsynced);
    return htmlPath;
}

std::vector<CompileFinding> compileLogFindings(const std::string& logPath) {
    std::vector<CompileFinding> findings;
    const auto bytes = platform::tryReadFile(logPath);
    if (!bytes) return findings;
    for (auto& line : platform::splitLines(*bytes)) {
        if (!line.starts_with("HHC")) continue;
        const bool error = line.find(": Error:") != std::string::npos;
        findings.push_back({error, std::move(line)});
    }
    return findings;
}

}  // namespace tarnbook::compile
