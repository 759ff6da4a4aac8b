#include <gtest/gtest.h>

#include "platform/Cp932.h"
#include "webexport/SearchIndex.h"

namespace tarnbook::webexport {
namespace {

TEST(SearchIndex, VisibleTextIsWhatAReaderSees) {
    const struct {
        const char* html;
        const char* text;
    } cases[] = {
        {"<html><head><title>T</title><style>p{}</style></head><body><p>日本語&amp;<b>English</b></"
         "p></body>",
         "日本語& english"},
        {"<script>var x = '<p>';</script>本文<!-- 注釈 -->です", "本文です"},
        {"ＡＢＣ１２３　全角", "abc123 全角"},
        {"Ошибка ÉTÉ", "ошибка été"},
    };
    for (const auto& c : cases) EXPECT_EQ(visibleText(c.html), c.text) << c.html;
}

TEST(SearchIndex, EveryBigramOfAPageLeadsToIt) {
    SearchIndexBuilder b;
    b.add({"a.htm", "設定", "保存先を変更できます"});
    b.add({"b.htm", "Install", "setup guide"});
    const std::string json = b.toJson();
    for (const char* entry : {"\"保存\":[0]", "\"存先\":[0]", "\"設定\":[0]", "\"se\":[1]",
                              "\"in\":[1]", "\"u\":\"b.htm\""})
        EXPECT_NE(json.find(entry), std::string::npos) << entry << "\n" << json;
    EXPECT_EQ(json.find("\"定 \""), std::string::npos);  // no bigram spans a blank
}

}  // namespace
}  // namespace tarnbook::webexport
