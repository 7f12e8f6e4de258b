#pragma once

// The folder tree's items as its user finds them: by their place and text.
#include <wx/treectrl.h>

#include <string>
#include <vector>

namespace velmora::testing {

inline std::vector<wxTreeItemId> ChildrenOf(const wxTreeCtrl& tree, const wxTreeItemId& item) {
    std::vector<wxTreeItemId> children;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = tree.GetFirstChild(item, cookie); child.IsOk();
         child = tree.GetNextChild(item, cookie)) {
        children.push_back(child);
    }
    return children;
}

/// The child of `item` with this text; an invalid id when there is none.
inline wxTreeItemId ChildWithText(const wxTreeCtrl& tree, const wxTreeItemId& item,
                                  const std::string& text) {
    for (const wxTreeItemId& child : ChildrenOf(tree, item)) {
        if (tree.GetItemText(child).utf8_string() == text) {
            return child;
        }
    }
    return wxTreeItemId();
}

/// The top-level item at `index`; an invalid id when there is none.
inline wxTreeItemId TopLevelItem(const wxTreeCtrl& tree, size_t index) {
    const std::vector<wxTreeItemId> top = ChildrenOf(tree, tree.GetRootItem());
    return index < top.size() ? top[index] : wxTreeItemId();
}

/// "Drives", the first top-level item.
inline wxTreeItemId DrivesItem(const wxTreeCtrl& tree) {
    return TopLevelItem(tree, 0);
}

/// The current directory, the second top-level item.
inline wxTreeItemId CurrentDirItem(const wxTreeCtrl& tree) {
    return TopLevelItem(tree, 1);
}

}  // namespace velmora::testing
