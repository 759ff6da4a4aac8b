#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How an entry of a help file is served to the page view.
namespace tarnbook::viewer {

// The MIME type by the name's extension ("application/octet-stream" for unknown ones).
std::string mimeTypeOf(std::string_view entryName);

bool isHtmlEntry(std::string_view entryName);

// A page's text as UTF-8: a byte-order mark, its own charset declaration or valid UTF-8
// decide first; otherwise the help's language (LCID) does: Japanese help (or one of unknown
// language) in Shift_JIS, EUC-JP or ISO-2022-JP, any other language in its code page.
std::string pageUtf8(std::string_view pageBytes, std::optional<std::uint32_t> languageId);

// A page as the web view should receive it. The view ignores a charset sent beside the
// bytes, so a page that declares none and is not plain ASCII is served as UTF-8 (converted
// by pageUtf8) with a declaration. Pages that declare one are served unchanged.
std::string pageForView(std::string_view pageBytes, std::optional<std::uint32_t> languageId);

}  // namespace tarnbook::viewer
