#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "project/ContentTree.h"
#include "project/ContentsRecord.h"

namespace tarnbook::project {

// Reports progress of a long read: called with (position, maximum).
using ProgressFn = std::function<void(std::size_t, std::size_t)>;

struct ContentsReadResult {
    std::size_t recordsRead = 0;
    bool shortFile = false;  // the file held fewer records than the project promised
};

// What a contents file holds, judged by its size rather than by the project file alone: a
// save killed between renaming the new contents into place and writing the project file
// leaves the project file describing the previous contents.
struct ContentsShape {
    RecordLayout layout = RecordLayout::Current;
    std::size_t records = 0;
};

// The layout whose record size divides `fileSize`: the one matching `declaredCount` records
// first, then the declared one, then the other. Empty when no layout's records fill the file
// exactly (the file is damaged or is no contents file).
std::optional<ContentsShape> contentsShape(std::uint64_t fileSize, RecordLayout declared,
                                           std::optional<std::size_t> declaredCount);

// Replaces the tree by the file's first `count` records, placing each node by its stored
// level. Stops at the first missing record (shortFile). Throws IoError when the file cannot
// be opened.
ContentsReadResult readContentsFile(const std::string& path, RecordLayout layout, std::size_t count,
                                    ContentTree& tree, const ProgressFn& progress = {});

// Adds a node for a decoded record at the place its level asks for. `previous` is the node
// placed before it (null for the first).
TreeNode* placeRecord(ContentTree& tree, TreeNode* previous, TData data);

// Writes every node in pre-order as current-layout records to `path`, atomically: the old
// file stays intact if the write fails part-way. Returns the number of records written.
std::size_t writeContentsFile(const std::string& path, const ContentTree& tree);

// The records a tree would produce, for callers that write elsewhere (save as).
void forEachRecord(const ContentTree& tree,
                   const std::function<void(const TreeNode&, int level)>& visit);

}  // namespace tarnbook::project
