#pragma once

#include <gtest/gtest.h>
#include <wx/frame.h>

#include <memory>
#include <string>
#include <vector>

#include "desktop/folder_tree.h"
#include "tests/desktop/denying_folder_search.h"
#include "tests/desktop/fake_shell.h"
#include "tests/support/temp_dir.h"

namespace velmora::testing {

/// A real FolderTree in a hidden frame whose current directory is a fresh
/// folder holding:
///   alpha/ (inner/ with deep.txt, and note.txt)   empty/   locked/ (a.txt,
///   unreadable through the search)   a.txt  B.TXT  c.ser  d.txt.bak  .txt
///   .hidden.txt  notes.md
/// The tree uses FakeShell and DenyingFolderSearch; ColourArtProvider draws
/// the icons.
class FolderTreeTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    /// The fixture root's folders, or its files, in directory order.
    std::vector<std::string> RootEntries(bool folders) const;
    std::vector<std::string> Folders() const { return RootEntries(true); }
    std::vector<std::string> Files() const { return RootEntries(false); }

    std::vector<wxTreeItemId> Children(const wxTreeItemId& item) const;
    std::vector<std::string> ChildTexts(const wxTreeItemId& item) const;
    /// The child with this text; fails the test when there is none.
    wxTreeItemId Child(const wxTreeItemId& item, const std::string& text) const;
    /// True when the item's only child is the placeholder.
    bool HasOnlyPlaceholder(const wxTreeItemId& item) const;
    /// Expands and returns the item found by following texts from the
    /// current-directory root.
    wxTreeItemId ExpandPath(const std::vector<std::string>& texts);
    /// Checks that the image list holds the blank and stock images plus
    /// exactly two images per listed item, and that every item shows its own.
    void ExpectImagesExact() const;

    /// The fixture root with a trailing '/'.
    std::string Root() const { return dir.Path().string() + "/"; }

    TempDir dir;
    std::shared_ptr<FakeShell> shell = std::make_shared<FakeShell>();
    std::shared_ptr<DenyingFolderSearch> search = std::make_shared<DenyingFolderSearch>();
    wxFrame* frame = nullptr;
    desktop::FolderTree* tree = nullptr;

  private:
    std::string savedDirectory_;
};

}  // namespace velmora::testing
