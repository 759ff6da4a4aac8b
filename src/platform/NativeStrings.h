#pragma once
#include <string>
#include <string_view>

// For the platform layer's own files only: the operating system calls take native paths as
// plain strings, so inside this layer the typed NativePath is unwrapped here, in one place.
namespace tarnbook::platform::detail {

std::string nativeString(std::string_view cp932Path);
std::string coreFromNative(std::string_view nativeUtf8Path);

}  // namespace tarnbook::platform::detail
