#include "platform/UniqueFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/NativeStrings.h"
#include "platform/SystemError.h"

namespace tarnbook::platform {

std::string makeUniqueFile(std::string_view folder, std::string_view prefix,
                           std::string_view extension) {
    const std::string nativeFolder = detail::nativeString(folder);
    if (nativeFolder.empty() || !folderExists(folder))
        throw IoError(failureText(FileAction::CreateIn, cp932ToUtf8(folder), ENOENT));
    // Start from the clock so that successive runs do not probe the same names first.
    auto number = static_cast<unsigned>(std::time(nullptr)) & 0xFFFFu;
    for (int tries = 0; tries < 0x10000; ++tries, number = (number + 1) & 0xFFFFu) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%X", number);
        const std::string native =
            nativeFolder + "/" + cp932ToUtf8(prefix) + hex + cp932ToUtf8(extension);
        const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            return detail::coreFromNative(native);
        }
        if (errno != EEXIST) throw IoError(failureText(FileAction::Create, native, errno));
    }
    throw IoError("No free file name in " + nativeFolder);
}

}  // namespace tarnbook::platform
