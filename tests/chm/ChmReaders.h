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

// A binary index's BTree with the unused end of each block cleared: the Workshop compiler
// leaves there whatever its buffer held before, so only the used bytes can be compared.
std::string withoutFreeSpace(std::string btree);

}  // namespace tarnbook::chmtest
