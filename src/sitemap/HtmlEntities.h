#pragma once

#include <string>
#include <string_view>

// Decodes character references in an attribute value: the named ones sitemaps use (&amp;
// &lt; &gt; &quot; &apos; &nbsp; &copy; &reg;) and numeric ones (&#38; &#x26;). A reference
// the target text cannot hold, or one that is not a reference at all, stays as written.
namespace tarnbook::sitemap {

// The text form values are decoded into: UTF-8, or the program's Shift_JIS (CP932).
enum class TextForm { Utf8, Cp932 };

std::string decodeEntities(std::string_view value, TextForm form);

}  // namespace tarnbook::sitemap
