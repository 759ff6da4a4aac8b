#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/Files.h"
#include "platform/NativeStrings.h"
#include "platform/Paths.h"
#include "platform/SystemError.h"

namespace tarnbook::platform {

SingleInstance::SingleInstance(const std::string& folder, const std::string& name) {
    createFolders(folder);
    std::string native = detail::nativeString(joinPath(folder, name));
    int fd = ::open(native.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        failure_ = failureText(FileAction::Lock, native, errno);
        return;
    }
    // The lock belongs to this open file description: it goes away with the process, so a
    // crashed instance never blocks the next start.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK) failure_ = failureText(FileAction::Lock, native, errno);
        ::close(fd);
        return;
    }
    fd_ = fd;
    std::string pid = std::to_string(getpid()) + "\n";
    if (ftruncate(fd_, 0) == 0) {
        ssize_t ignored = pwrite(fd_, pid.data(), pid.size(), 0);
        (void)ignored;
    }
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace tarnbook::platform
