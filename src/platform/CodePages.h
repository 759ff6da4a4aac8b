#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Text in Windows code pages other than Shift_JIS (documents from outside name their code
// page, e.g. RTF's \ansicpg and \fcharset). Shift_JIS itself goes through Cp932.h.
namespace tarnbook::platform {

// The Windows code page a GDI character set number stands for (0 ANSI -> 1252, 128 Shift_JIS
// -> 932, 134 GB2312 -> 936, ...); nullopt for 1 (default) and 2 (symbol), which have none.
std::optional<int> codePageOfCharset(int charset);

// The ANSI code page of a Windows language id (0x411 -> 932, 0x804 -> 936, 0x404 -> 950,
// 0x419 -> 1251, ...); 1252 for the languages of Western Europe and for any other.
int codePageOfLanguage(std::uint32_t languageId);

// Decodes bytes of Windows code page `codePage` to UTF-16. Bytes the code page does not
// define become U+FFFD. Returns nullopt when the code page is not known here.
std::optional<std::u16string> decodeCodePage(std::string_view bytes, int codePage);

}  // namespace tarnbook::platform
