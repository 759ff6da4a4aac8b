#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "ManualTopics.h"
#include "chm/ChmReaders.h"
#include "platform/Cp932.h"
#include "project/ContextPopups.h"
#include "viewer/PopupTexts.h"

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
    for (const auto& [number, title] : tarnbook::testing::kManualTopics) {
        ASSERT_TRUE(pages.count(number)) << "no context number " << number;
        const std::string& page = pages.at(number);
        ASSERT_TRUE(chm.entries.count(page)) << number << " names " << page << ", not in the file";
        EXPECT_EQ(titleOf(chm.entries.at(page)), title) << number;
    }
}

// Every control the program gives a popup finds a text in the popup file compiled in.
TEST(HelpManual, EveryControlPopupHasItsText) {
    const chmtest::ReadBack& chm = manual();
    ASSERT_TRUE(chm.entries.count("/Tarnbook.txt"));
    const viewer::PopupTexts popups = viewer::PopupTexts::parse(chm.entries.at("/Tarnbook.txt"));
    for (const project::ContextPopup& p : project::contextPopups()) {
        const auto text = popups.text(p.id);
        ASSERT_TRUE(text.has_value()) << p.dialog << "." << p.control << " " << p.id;
        EXPECT_FALSE(text->empty()) << p.id;
    }
    for (const auto& [id, body] : popups.all()) EXPECT_FALSE(body.empty()) << id;
}
