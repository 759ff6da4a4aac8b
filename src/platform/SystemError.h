#pragma once
#include <string>
#include <string_view>

namespace tarnbook::platform {

// What a failed file or process operation was doing, for the message the user reads.
enum class FileAction {
    Create,        // a file
    CreateIn,      // a file inside the named folder
    CreateFolder,  // the named folder
    Read,
    Write,
    Replace,
    Copy,
    Rename,
    Delete,
    Start,  // a program
    Lock,   // the lock file of the app folder
};

// The system's reason for the error number `err`, in Japanese (UTF-8). Numbers without a
// wording of their own keep the system's text beside the number.
std::string systemReason(int err);

// The one home of the messages for failed file operations: what failed, on which path
// (UTF-8, as the user knows it) and why, in Japanese.
std::string failureText(FileAction action, std::string_view path, int err);

}  // namespace tarnbook::platform
