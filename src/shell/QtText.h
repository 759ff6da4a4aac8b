#pragma once
#include <QString>
#include <string>
#include <string_view>

#include "platform/Cp932.h"
#include "platform/Paths.h"

// The one place where the window's QString meets the core's text: CP932 bytes go through the
// lossless codec (bytes that are not CP932 survive a round trip), UTF-8 is for the program's
// own messages.
namespace tarnbook::shell {

inline QString fromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline QString fromUtf16(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string_view utf16Of(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

inline QString fromCp932(std::string_view bytes) {
    return fromUtf16(platform::decodeCp932(bytes));
}

inline std::string toCp932(const QString& text) {
    return platform::encodeCp932(utf16Of(text));
}

// A core (CP932) path as the user and Qt's file functions see it: the native path.
inline QString nativeText(std::string_view corePath) {
    return corePath.empty() ? QString() : fromUtf8(platform::nativePath(corePath).str());
}

// The core path of a native path that came from Qt (a file dialog, a drop, a text field).
inline std::string corePathOf(const QString& native) {
    return platform::corePath(platform::NativePath(native.toStdString()));
}

}  // namespace tarnbook::shell
