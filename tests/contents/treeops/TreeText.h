#pragma once
#include <memory>
#include <string>

#include "platform/Cp932.h"
#include "project/ContentTree.h"

// Trees written as text: "a(b c(d)) e" is a with children b and c (c holding d), then e.
namespace tarnbook::testing {

inline project::TreeNode* findTitle(const project::ContentTree& t, const std::string& title) {
    for (project::TreeNode* n = t.first(); n; n = project::ContentTree::next(n))
        if (n->data.Title == title) return n;
    return nullptr;
}

inline void buildTree(project::ContentTree& t, const std::string& text) {
    project::TreeNode* parent = nullptr;
    project::TreeNode* lastAdded = nullptr;
    std::string word;
    auto flush = [&] {
        if (word.empty()) return;
        auto n = std::make_unique<project::TreeNode>();
        n->data.Title = word;
        n->data.ItemType = project::TData::kHeading;
        n->data.ImageIndex = 0;
        n->syncViewFromData();
        lastAdded = t.appendChild(parent, std::move(n));
        lastAdded->data.Level = lastAdded->depth();
        word.clear();
    };
    for (char c : text) {
        if (c == '(') {
            flush();
            parent = lastAdded;
        } else if (c == ')') {
            flush();
            parent = parent ? parent->parent() : nullptr;
        } else if (c == ' ') {
            flush();
        } else {
            word += c;
        }
    }
    flush();
}

inline std::string subtreeText(const project::TreeNode* n) {
    std::string s = n->data.Title;
    if (n->hasChildren()) {
        s += "(";
        for (std::size_t i = 0; i < n->childCount(); ++i)
            s += (i ? " " : "") + subtreeText(n->child(i));
        s += ")";
    }
    return s;
}

inline std::string treeText(const project::ContentTree& t) {
    std::string s;
    for (std::size_t i = 0; i < t.topLevelCount(); ++i)
        s += (i ? " " : "") + subtreeText(t.topLevel(i));
    return s;
}

// True when every record's Level equals its node's depth.
inline bool levelsAgree(const project::ContentTree& t) {
    for (project::TreeNode* n = t.first(); n; n = project::ContentTree::next(n))
        if (n->data.Level != n->depth()) return false;
    return true;
}

}  // namespace tarnbook::testing
