#pragma once
#include <string>
#include <string_view>

// How an entry of a help file is served to the page view.
namespace tarnbook::viewer {

// The MIME type by the name's extension ("application/octet-stream" for unknown ones).
std::string mimeTypeOf(std::string_view entryName);

bool isHtmlEntry(std::string_view entryName);

// A page as the web view should receive it. The view ignores a charset sent beside the
// bytes, so a page that declares none gets one: UTF-8 pages a declaration, Japanese pages in
// any other encoding are converted to UTF-8 first. Pages that declare one, and plain ASCII
// pages, are served unchanged.
std::string pageForView(std::string_view pageBytes);

}  // namespace tarnbook::viewer
