// Feeds arbitrary bytes to the contents-record reader and the tree placement, then checks
// that what was read survives a write and a second read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "project/ContentTree.h"
#include "project/ContentsFile.h"
#include "project/ContentsRecord.h"

using namespace tarnbook::project;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const RecordLayout layout = (data[0] & 1) ? RecordLayout::Previous : RecordLayout::Current;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t recSize = recordSize(layout);

    ContentTree tree;
    TreeNode* previous = nullptr;
    for (std::size_t off = 0; off + recSize <= bytes.size(); off += recSize)
        previous = placeRecord(tree, previous, decodeRecord(bytes.substr(off, recSize), layout));
    tree.refreshNodeStatus();

    std::string rec(kCurrentRecordSize, '\0');
    for (TreeNode* n = tree.first(); n; n = ContentTree::next(n)) {
        if (n->data.Level != n->depth()) std::abort();
        encodeRecord(n->data, n->depth(), rec.data());
        TData back = decodeRecord(rec, RecordLayout::Current);
        if (back.Title != n->data.Title || back.HTML != n->data.HTML ||
            back.ContextID != n->data.ContextID || back.Anchor != n->data.Anchor ||
            back.Level != n->depth())
            std::abort();
    }
    return 0;
}
