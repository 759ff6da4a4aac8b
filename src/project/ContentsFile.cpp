#include "project/ContentsFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Paths.h"

namespace tarnbook::project {

TreeNode* placeRecord(ContentTree& tree, TreeNode* previous, TData data) {
    auto node = std::make_unique<TreeNode>();
    node->data = std::move(data);
    node->syncViewFromData();
    const int level = node->data.Level;
    TreeNode* parent = nullptr;
    if (level >= 1 && previous) {
        if (previous->depth() >= level - 1) {
            // The nearest earlier node of depth level-1 is then an ancestor of (or is) the
            // previous node: every node between it and the previous one lies deeper.
            parent = previous;
            while (parent->depth() > level - 1) parent = parent->parent();
        } else {
            parent = tree.findLevelNode(level - 1, 0, previous);
        }
    }
    return tree.appendChild(parent, std::move(node));
}

std::optional<ContentsShape> contentsShape(std::uint64_t fileSize, RecordLayout declared,
                                           std::optional<std::size_t> declaredCount) {
    const RecordLayout other =
        declared == RecordLayout::Current ? RecordLayout::Previous : RecordLayout::Current;
    const RecordLayout order[] = {declared, other};
    if (declaredCount)
        for (RecordLayout l : order)
            if (fileSize / recordSize(l) == *declaredCount && fileSize % recordSize(l) == 0)
                return ContentsShape{l, *declaredCount};
    for (RecordLayout l : order)
        if (fileSize % recordSize(l) == 0)
            return ContentsShape{l, static_cast<std::size_t>(fileSize / recordSize(l))};
    return std::nullopt;
}

ContentsReadResult readContentsFile(const std::string& path, RecordLayout layout, std::size_t count,
                                    ContentTree& tree, const ProgressFn& progress) {
    ContentTree::Rebuild rebuild(tree);
    tree.clear();
    ContentsReadResult result;
    std::FILE* f = std::fopen(platform::nativePath(path).c_str(), "rb");
    if (!f)
        throw platform::IoError("コンテンツファイルを開けません: " + platform::cp932ToUtf8(path) +
                                " (" + std::strerror(errno) + ")");
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(f, &std::fclose);
    const std::size_t size = recordSize(layout);
    // Records are read in large batches: one call per batch, not per record.
    constexpr std::size_t kBatch = 1024;
    std::vector<char> buffer(size * kBatch);
    TreeNode* previous = nullptr;
    std::size_t i = 0;
    while (i < count) {
        const std::size_t want = std::min(kBatch, count - i);
        const std::size_t got = std::fread(buffer.data(), size, want, f);
        for (std::size_t k = 0; k < got; ++k, ++i) {
            if (progress) progress(i, count);
            previous =
                placeRecord(tree, previous,
                            decodeRecord(std::string_view(buffer.data() + k * size, size), layout));
            ++result.recordsRead;
        }
        if (got < want) {
            result.shortFile = true;
            break;
        }
    }
    return result;
}

void forEachRecord(const ContentTree& tree,
                   const std::function<void(const TreeNode&, int level)>& visit) {
    for (TreeNode* n = tree.first(); n; n = ContentTree::next(n)) visit(*n, n->depth());
}

std::size_t writeContentsFile(const std::string& path, const ContentTree& tree) {
    std::size_t written = 0;
    platform::writeFileAtomicStreamed(path, [&](const std::function<void(std::string_view)>& sink) {
        // Batches records so the sink sees large writes.
        constexpr std::size_t kBatch = 256;
        std::vector<char> buffer(kBatch * kCurrentRecordSize);
        std::size_t inBuffer = 0;
        forEachRecord(tree, [&](const TreeNode& node, int level) {
            encodeRecord(node.data, level, buffer.data() + inBuffer * kCurrentRecordSize);
            if (++inBuffer == kBatch) {
                sink(std::string_view(buffer.data(), inBuffer * kCurrentRecordSize));
                inBuffer = 0;
            }
            ++written;
        });
        if (inBuffer) sink(std::string_view(buffer.data(), inBuffer * kCurrentRecordSize));
    });
    return written;
}

}  // namespace tarnbook::project
