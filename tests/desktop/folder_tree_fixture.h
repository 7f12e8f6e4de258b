#pragma once

#include <gtest/gtest.h>
#include <wx/frame.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "desktop/folder_tree.h"
#include "platform/path.h"
#include "tests/desktop/denying_folder_search.h"
#include "tests/desktop/fake_shell.h"
#include "tests/desktop/tree_items.h"
#include "tests/support/temp_dir.h"

namespace velmora::testing {

/// Makes `path` a folder that holds itself again: a link to "." on POSIX
/// systems; on Windows, where making a link takes rights a test does not
/// have, a chain of real folders ("loop" inside "loop", with a text file at
/// the end) deeper than one level.
void MakeFolderLoop(const std::string& path);

/// Whether a collapse that hides the selected item leaves the tree without a
/// selection until the next idle time (the generic tree, on GTK) rather than
/// selecting the collapsed item at once (the native Windows tree view).
extern const bool COLLAPSE_DEFERS_SELECTION;

/// The images every image list of a tree holds before any item's: two blank
/// images (two 16-pixel icons fit into the 32 pixels they are cut from),
/// then the stock icons of the current directory and of "Drives".
constexpr int FIXED_IMAGES = 4;

/// A real FolderTree in a hidden frame whose current directory is a fresh
/// folder holding:
///   alpha/ (inner/ with deep.txt, and note.txt)   empty/   locked/ (a.txt,
///   unreadable through the search)   a.txt  B.TXT  c.ser  d.txt.bak  .txt
///   .hidden.txt  notes.md
/// The tree is built with FakeShell and DenyingFolderSearch.
class FolderTreeTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    /// Replaces the tree with a new one, built now: with the current
    /// directory and the shell's settings as they are at this moment.
    void RebuildTree();
    /// The same with other services, which must outlive the test.
    void RebuildTree(const platform::Shell& otherShell, const platform::FolderSearch& otherSearch);
    /// Runs `check` on a new tree built with the fake shell, then on one
    /// built with the system's own shell, each with the real folder search
    /// and its current directory expanded (the shell is handed to `check`).
    /// The tree is built with the fixture's services again afterwards.
    void ForFakeAndSystemShell(const std::function<void(const platform::Shell&)>& check);

    /// The fixture root's folders, or its files, in directory order (read
    /// with std::filesystem, not with the search the tree uses).
    std::vector<std::string> RootEntries(bool folders) const;
    std::vector<std::string> Folders() const { return RootEntries(true); }
    std::vector<std::string> Files() const { return RootEntries(false); }

    /// "Drives" and the current directory, the two top-level items.
    wxTreeItemId DrivesItem() const { return testing::DrivesItem(*tree); }
    wxTreeItemId CurrentDirItem() const { return testing::CurrentDirItem(*tree); }

    std::vector<wxTreeItemId> Children(const wxTreeItemId& item) const {
        return ChildrenOf(*tree, item);
    }
    std::vector<std::string> ChildTexts(const wxTreeItemId& item) const;
    /// The paths of the drive items, in their order.
    std::vector<std::string> DrivePaths() const;
    /// What an item stands for, from the data it carries; Placeholder for
    /// the hidden root or an invalid id.
    desktop::TreeItemKind KindOf(const wxTreeItemId& item) const;
    /// The child with this text; fails the test when there is none.
    wxTreeItemId Child(const wxTreeItemId& item, const std::string& text) const;
    /// True when the item's only child is the placeholder.
    bool HasOnlyPlaceholder(const wxTreeItemId& item) const;
    /// Expands and returns the item found by following texts from the
    /// current-directory root.
    wxTreeItemId ExpandPath(const std::vector<std::string>& texts);
    /// Every item of the tree below the hidden root, placeholders included.
    std::vector<wxTreeItemId> AllItems() const;
    /// Checks what every item draws (a placeholder the blank image, the
    /// top-level items their stock icons, every other item its own icon and
    /// open icon), and that the image list holds the fixed images and exactly
    /// those two images per listed item.
    void ExpectImagesExact() const;

    /// The fixture root with a trailing separator.
    std::string Root() const { return ToUtf8(dir.Path()) + platform::PATH_SEPARATOR; }
    /// The path of `relative` (written with '/') below the fixture root, as
    /// the tree builds it.
    std::string Under(const std::string& relative) const { return Root() + Native(relative); }

    TempDir dir;
    FakeShell shell;
    DenyingFolderSearch search;
    wxFrame* frame = nullptr;
    desktop::FolderTree* tree = nullptr;

  private:
    std::filesystem::path savedDirectory;
};

}  // namespace velmora::testing
