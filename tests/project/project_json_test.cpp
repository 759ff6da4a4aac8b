#include <gtest/gtest.h>

#include <string>

#include "platform/Cp932.h"
#include "project/ProjectJson.h"

using tarnbook::project::jsonString;

TEST(ProjectJson, AnyBytesBecomeAValidJsonString) {
    struct Case {
        std::string in, out;
    };
    const Case cases[] = {
        {"plain \"q\" \\ \t\x01", R"("plain \"q\" \\ \t\u0001")"},
        {"\xE6\x97\xA5\xF0\x9F\x98\x80", "\"\xE6\x97\xA5\xF0\x9F\x98\x80\""},  // 日 and an emoji
        {"a\xFF"
         "b",
         R"("a\\xFFb")"},                          // no UTF-8 lead
        {"\xE6\x97", R"("\\xE6\\x97")"},           // cut sequence
        {"\xC0\xAF", R"("\\xC0\\xAF")"},           // overlong '/'
        {"\xED\xA0\x80", R"("\\xED\\xA0\\x80")"},  // a surrogate
        {std::string("x\0y", 3), R"("x\u0000y")"},
    };
    for (const Case& c : cases) EXPECT_EQ(jsonString(c.in), c.out);

    // A Shift_JIS title with bytes the decoder cannot map.
    const std::string title = tarnbook::platform::cp932ToUtf8("\x82\xA0\x85\x40\xFF");
    const std::string json = jsonString(title);
    EXPECT_EQ(json.find('\xFF'), std::string::npos) << json;
    EXPECT_NE(json.find("\\\\xFF"), std::string::npos) << json;
}
