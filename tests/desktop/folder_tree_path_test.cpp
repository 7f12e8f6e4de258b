// The path and kind the tree yields for every kind of item.
#include <filesystem>

#include "tests/desktop/folder_tree_fixture.h"

namespace velmora::testing {
namespace {

using desktop::TreeItemKind;

TEST_F(FolderTreeTest, PathAndKindOfEveryKindOfItem) {
    tree->Expand(tree->GetDrivesRoot());
    const wxTreeItemId alpha = ExpandPath({"alpha"});
    const wxTreeItemId root = tree->GetCurrentDirRoot();
    const wxTreeItemId inner = Child(alpha, "inner");
    const wxTreeItemId innerPlaceholder = Children(inner).at(0);

    struct Case {
        const char* what;
        wxTreeItemId item;
        std::string path;
        TreeItemKind kind;
    };
    for (const Case& c : std::vector<Case>{
             {"drives root", tree->GetDrivesRoot(), "", TreeItemKind::DrivesRoot},
             {"drive", Children(tree->GetDrivesRoot()).at(0), FakeShell::ROOT_VOLUME,
              TreeItemKind::Drive},
             {"current directory", root, Root(), TreeItemKind::CurrentDirRoot},
             {"folder", alpha, Under("alpha/"), TreeItemKind::Folder},
             {"collapsed folder", inner, Under("alpha/inner/"), TreeItemKind::Folder},
             {"file", Child(root, "a.txt"), Under("a.txt"), TreeItemKind::File},
             {"file named .txt", Child(root, ".txt"), Under(".txt"), TreeItemKind::File},
             {"nested file", Child(alpha, "note.txt"), Under("alpha/note.txt"), TreeItemKind::File},
             {"placeholder", innerPlaceholder, "", TreeItemKind::Placeholder},
             {"hidden root", tree->GetRootItem(), "", TreeItemKind::Placeholder},
             {"no item", wxTreeItemId(), "", TreeItemKind::Placeholder},
         }) {
        EXPECT_EQ(tree->GetItemPath(c.item), c.path) << c.what;
        EXPECT_EQ(tree->GetItemKind(c.item), c.kind) << c.what;
    }
}

// A folder whose children were removed (so the tree no longer shows it as a
// folder) is still a folder: its path keeps the separator at the end.
TEST_F(FolderTreeTest, ContainerPathsEndInTheSeparatorAfterTheirChildrenAreDeleted) {
    shell.volumes = {FakeShell::ROOT_VOLUME, dir / "alpha/"};
    tree->Expand(tree->GetDrivesRoot());
    const wxTreeItemId alpha = ExpandPath({"alpha"});
    const wxTreeItemId inner = Child(alpha, "inner");
    const auto drives = Children(tree->GetDrivesRoot());
    ASSERT_EQ(drives.size(), 2u);

    struct Case {
        const char* what;
        wxTreeItemId item;
        std::string path;
    };
    // Children first, so that every item still exists when it is its turn.
    for (const Case& c : std::vector<Case>{
             {"collapsed folder", inner, Under("alpha/inner/")},
             {"expanded folder", alpha, Under("alpha/")},
             {"current directory", tree->GetCurrentDirRoot(), Root()},
             {"root drive", drives[0], FakeShell::ROOT_VOLUME},
             {"other drive", drives[1], Under("alpha/")},
         }) {
        tree->DeleteChildren(c.item);
        ASSERT_FALSE(tree->ItemHasChildren(c.item)) << c.what;
        EXPECT_EQ(tree->GetItemPath(c.item), c.path) << c.what;
    }
}

TEST_F(FolderTreeTest, PathsComeFromNamesOnDiskWhateverTheDisplayNameSays) {
    // Like a shell that hides known extensions and decorates folders.
    shell.displayName = [](const std::string& name) {
        const size_t dot = name.rfind('.');
        return dot == std::string::npos || dot == 0 ? "[" + name + "]" : name.substr(0, dot);
    };
    RebuildTree();
    const wxTreeItemId alpha = ExpandPath({"[alpha]"});
    ASSERT_TRUE(alpha.IsOk());

    const wxTreeItemId note = Child(alpha, "note");
    EXPECT_EQ(tree->GetItemPath(alpha), Under("alpha/"));
    EXPECT_EQ(tree->GetItemPath(note), Under("alpha/note.txt"));
    EXPECT_TRUE(std::filesystem::is_regular_file(FromUtf8(tree->GetItemPath(note))));
    const wxTreeItemId inner = ExpandPath({"[alpha]", "[inner]"});
    EXPECT_EQ(tree->GetItemPath(Child(inner, "deep")), Under("alpha/inner/deep.txt"));
}

// Each drive item keeps the root it was listed with, not the root at its
// position in the list: removing one leaves the others as they were.
TEST_F(FolderTreeTest, DrivePathsComeFromTheDriveListNotFromPositions) {
    shell.volumes = {FakeShell::ROOT_VOLUME, dir / "alpha/", dir / "empty/"};
    shell.displayName = [](const std::string&) { return std::string("Same name"); };
    const wxTreeItemId drives = tree->GetDrivesRoot();
    tree->Expand(drives);
    auto items = Children(drives);
    ASSERT_EQ(items.size(), 3u);
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(tree->GetItemPath(items[i]), shell.volumes[i]);
    }
    tree->Expand(items[1]);
    const auto inDrive = Children(items[1]);
    ASSERT_EQ(inDrive.size(), 2u);
    EXPECT_EQ(tree->GetItemPath(inDrive[0]), Under("alpha/inner/"));
    EXPECT_EQ(tree->GetItemPath(inDrive[1]), Under("alpha/note.txt"));

    tree->Delete(items[0]);
    EXPECT_EQ(tree->GetItemPath(items[1]), Under("alpha/"));
    EXPECT_EQ(tree->GetItemPath(inDrive[1]), Under("alpha/note.txt"));
    EXPECT_EQ(tree->GetItemPath(items[2]), Under("empty/"));

    // The list changes between expansions: items and strings change together.
    tree->Collapse(drives);
    shell.volumes = {FakeShell::ROOT_VOLUME, dir / "empty/"};
    tree->Expand(drives);
    items = Children(drives);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(tree->GetItemPath(items[1]), Under("empty/"));
    EXPECT_EQ(tree->GetDriveStrings(), shell.volumes);
}

}  // namespace
}  // namespace velmora::testing
