#include <gtest/gtest.h>

#include "platform/Cp932.h"
#include "webexport/PageCharset.h"

namespace tarnbook::webexport {
namespace {

const std::string kJapanese = "日本語のページ";

std::string sjis(const std::string& utf8) {
    return platform::utf8ToCp932(utf8);
}

TEST(PageCharset, EveryPageBecomesUtf8) {
    const std::string eucJapanese = "\xC6\xFC\xCB\xDC\xB8\xEC";  // 日本語 in EUC-JP
    const struct {
        std::string bytes;
        std::string charset;
        std::string text;  // expected to occur in the UTF-8 result
    } cases[] = {
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">" +
             sjis(kJapanese),
         "shift_jis", kJapanese},
        {"<meta charset=x-sjis>" + sjis(kJapanese), "shift_jis", kJapanese},
        {"<p>" + sjis(kJapanese), "shift_jis", kJapanese},  // no declaration: guessed
        {"<p>" + eucJapanese, "shift_jis", "日本語"},       // EUC-JP lines are recognised
        {"<meta charset=\"euc-jp\">" + eucJapanese, "euc-jp", "日本語"},
        {"\xEF\xBB\xBF<p>" + kJapanese, "utf-8", "<p>" + kJapanese},
        {"<p>" + kJapanese, "utf-8", kJapanese},
        {"<meta charset=\"windows-1252\"><p>caf\xE9", "windows-1252", "café"},
        {"<meta charset=\"iso-8859-1\"><p>\x93q\x94", "windows-1252", "\u201Cq\u201D"},
        {"<meta charset=\"windows-1251\"><p>\xCF\xF0\xE8", "windows-1251", "При"},
        // Declared Shift_JIS but saved as UTF-8: only UTF-8 reads right.
        {"<meta charset=\"shift_jis\"><p>" + kJapanese, "utf-8", kJapanese},
        {"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><p>" + sjis(kJapanese), "shift_jis",
         kJapanese},
    };
    for (const auto& c : cases) {
        const DecodedPage page = decodePage(c.bytes);
        EXPECT_EQ(page.charset, c.charset) << c.bytes;
        EXPECT_NE(page.utf8.find(c.text), std::string::npos) << page.utf8;
        EXPECT_TRUE(isValidUtf8(page.utf8)) << c.bytes;
        EXPECT_EQ(page.replacedBytes, 0u) << c.bytes;
    }
}

TEST(PageCharset, BytesThatAreNoCharacterAreCountedNotPassedOn) {
    for (const std::string& bytes : {std::string("<meta charset=shift_jis><p>\x81\x20\xFD"),
                                     std::string("\xEF\xBB\xBF<p>\xE3\x81 \xFF"),
                                     std::string("<meta charset=windows-1251><p>\x98"),
                                     std::string("\xEF\xBB\xBF\xF5\xB0\xBB\xA6")}) {
        const DecodedPage page = decodePage(bytes);
        EXPECT_TRUE(isValidUtf8(page.utf8)) << bytes;
        EXPECT_GE(page.replacedBytes, 1u) << bytes;
        EXPECT_NE(page.utf8.find("\xEF\xBF\xBD"), std::string::npos) << bytes;
    }
}

TEST(PageCharset, Utf8Validity) {
    EXPECT_TRUE(isValidUtf8("abc \xE3\x81\x82 \xF0\x9F\x98\x80"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));      // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));  // surrogate
    EXPECT_FALSE(isValidUtf8("\xE3\x81"));      // cut off
    EXPECT_FALSE(isValidUtf8(sjis(kJapanese)));
}

}  // namespace
}  // namespace tarnbook::webexport
