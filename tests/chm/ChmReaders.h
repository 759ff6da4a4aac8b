#pragma once
#include <map>
#include <string>
#include <vector>

// The packaged readers our compiled files must satisfy, each returning every entry it sees
// with its bytes (directories and empty entries included), or an error text.
namespace tarnbook::chmtest {

struct ReadBack {
    std::map<std::string, std::string> entries;
    std::string error;  // empty when the whole file was read
};

// chmlib: enumerates the directory and retrieves every object.
ReadBack readWithChmlib(const std::string& nativePath);

// libmspack's CHM decompressor: opens the file (full directory walk), extracts every entry,
// then looks every name up again through the index chunks (fast_find) and checks it lands on
// the same entry.
ReadBack readWithMspack(const std::string& nativePath);

}  // namespace tarnbook::chmtest
