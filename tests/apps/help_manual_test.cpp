#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "chm/ChmReaders.h"
#include "platform/Cp932.h"

using namespace tarnbook;

namespace {

const chmtest::ReadBack& manual() {
    static const chmtest::ReadBack read = chmtest::readWithChmlib(TARNBOOK_HELP_FILE);
    return read;
}

std::uint32_t u32(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return v;
}

// Context number -> the page it opens, from the alias table and the string table.
std::map<std::uint32_t, std::string> contextPages(const chmtest::ReadBack& chm) {
    const std::string& ivb = chm.entries.at("/#IVB");
    const std::string& strings = chm.entries.at("/#STRINGS");
    std::map<std::uint32_t, std::string> pages;
    for (std::size_t at = 4; at + 8 <= ivb.size(); at += 8) {
        const std::uint32_t offset = u32(ivb, at + 4);
        if (offset >= strings.size()) continue;
        std::string page = strings.c_str() + offset;
        for (char& c : page)
            if (c == '\\') c = '/';
        pages[u32(ivb, at)] = "/" + page;
    }
    return pages;
}

std::string titleOf(const std::string& html) {
    const auto open = html.find("<TITLE>");
    const auto close = html.find("</TITLE>");
    if (open == std::string::npos || close == std::string::npos) return {};
    return platform::cp932ToUtf8(html.substr(open + 7, close - open - 7));
}

}  // namespace

TEST(HelpManual, EveryTopicNumberOfTheProgramOpensItsPage) {
    const chmtest::ReadBack& chm = manual();
    ASSERT_EQ(chm.error, "");
    const std::map<std::uint32_t, std::string> pages = contextPages(chm);
    const std::pair<std::uint32_t, const char*> expected[] = {
        {36, "新規プロジェクトウィザード"},
        {40, "プロジェクトメンテナンス"},
        {44, "ヘッダとコンテンツの追加"},
        {46, "アイテムのプロパティ"},
        {48, "プロジェクトプロパティ"},
        {50, "インポートフィルタ"},
        {52, "環境設定"},
        {54, "プロジェクトテンプレート"},
        {56, "ヘルプの結合（マージ）"},
        {60, "ポップアップ・実行ファイル・関連トピック"},
        {61, "メディアとアンカー"},
        {63, "URLフィルタ"},
        {70, "Aリンク・Kリンク・閉じる・スプラッシュ"},
        {82, "タイトル取得方法の選択"},
        {84, "Web形式で出力"},
    };
    for (const auto& [number, title] : expected) {
        ASSERT_TRUE(pages.count(number)) << "no context number " << number;
        const std::string& page = pages.at(number);
        ASSERT_TRUE(chm.entries.count(page)) << number << " names " << page << ", not in the file";
        EXPECT_EQ(titleOf(chm.entries.at(page)), title) << number;
    }
}

TEST(HelpManual, TextPopupsParseIntoNumberedNonEmptyTexts) {
    const chmtest::ReadBack& chm = manual();
    ASSERT_TRUE(chm.entries.count("/Tarnbook.txt"));
    const std::string text = platform::cp932ToUtf8(chm.entries.at("/Tarnbook.txt"));
    // ".topic N" opens a popup; its text runs to the next one.
    std::map<long, std::string> popups;
    long current = -1;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        at = end + 1;
        if (line.rfind(".topic ", 0) == 0) {
            std::size_t used = 0;
            current = std::stol(line.substr(7), &used);
            ASSERT_EQ(used, line.size() - 7) << line;
            ASSERT_FALSE(popups.count(current)) << "topic " << current << " twice";
            popups[current];
        } else if (!line.empty()) {
            ASSERT_NE(current, -1) << "text before the first topic: " << line;
            popups[current] += line;
        }
    }
    // The item dialogs' fields are all there, and no popup is empty.
    for (long id = 10086; id <= 10095; ++id) EXPECT_TRUE(popups.count(id)) << id;
    for (const auto& [id, body] : popups) EXPECT_FALSE(body.empty()) << id;
    EXPECT_GE(popups.size(), 20u);
}
