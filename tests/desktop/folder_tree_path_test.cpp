// The path and kind the tree yields for every kind of item.
#include <unistd.h>

#include <filesystem>

#include "platform/linux/gio_shell.h"
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
             {"drive", Children(tree->GetDrivesRoot()).at(0), "/", TreeItemKind::Drive},
             {"current directory", root, Root(), TreeItemKind::CurrentDirRoot},
             {"folder", alpha, Root() + "alpha/", TreeItemKind::Folder},
             {"collapsed folder", inner, Root() + "alpha/inner/", TreeItemKind::Folder},
             {"file", Child(root, "a.txt"), Root() + "a.txt", TreeItemKind::File},
             {"file named .txt", Child(root, ".txt"), Root() + ".txt", TreeItemKind::File},
             {"nested file", Child(alpha, "note.txt"), Root() + "alpha/note.txt",
              TreeItemKind::File},
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
    shell.volumes = {"/", dir / "alpha/"};
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
             {"collapsed folder", inner, Root() + "alpha/inner/"},
             {"expanded folder", alpha, Root() + "alpha/"},
             {"current directory", tree->GetCurrentDirRoot(), Root()},
             {"root drive", drives[0], "/"},
             {"other drive", drives[1], Root() + "alpha/"},
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
    EXPECT_EQ(tree->GetItemPath(alpha), Root() + "alpha/");
    EXPECT_EQ(tree->GetItemPath(note), Root() + "alpha/note.txt");
    EXPECT_TRUE(std::filesystem::is_regular_file(tree->GetItemPath(note)));
    const wxTreeItemId inner = ExpandPath({"[alpha]", "[inner]"});
    EXPECT_EQ(tree->GetItemPath(Child(inner, "deep")), Root() + "alpha/inner/deep.txt");
}

// A name that is not UTF-8 keeps its bytes in the path and is shown byte for
// byte as Latin-1 (as the message boxes show it), whatever the shell calls
// it: the fake shell hands back the raw bytes, GIO a name of its own.
TEST_F(FolderTreeTest, NameThatIsNotUtf8KeepsItsBytesAndShowsAsLatin1) {
    const std::string latin1 = "latin\xe9.txt";
    dir.Write(latin1, "bytes");
    const platform::GioShell gioShell;
    const platform::RealFolderSearch realSearch;
    const struct {
        const char* name;
        const platform::Shell& shell;
    } shells[] = {{"fake shell", shell}, {"GIO shell", gioShell}};

    for (const auto& s : shells) {
        SCOPED_TRACE(s.name);
        RebuildTree(s.shell, realSearch);
        tree->Expand(tree->GetCurrentDirRoot());
        const wxTreeItemId item = Child(tree->GetCurrentDirRoot(), "latin\u00e9.txt");
        ASSERT_TRUE(item.IsOk());
        EXPECT_EQ(tree->GetItemPath(item), Root() + latin1);
    }
}

TEST_F(FolderTreeTest, CurrentDirectoryAtTheRootEndsInTwoSlashes) {
    ASSERT_EQ(chdir("/"), 0);
    RebuildTree();
    EXPECT_EQ(tree->GetCurrentDirectory(), "/");
    EXPECT_EQ(tree->GetItemPath(tree->GetCurrentDirRoot()), "//");
}

TEST_F(FolderTreeTest, CurrentDirectoryThatIsGoneHasNoPathRatherThanTheRoot) {
    const std::string gone = dir.MakeDir("gone");
    ASSERT_EQ(chdir(gone.c_str()), 0);
    ASSERT_EQ(rmdir(gone.c_str()), 0);
    RebuildTree();

    const wxTreeItemId root = tree->GetCurrentDirRoot();
    EXPECT_FALSE(tree->GetItemText(root).empty());
    EXPECT_EQ(tree->GetItemPath(root), "");
    tree->Expand(root);
    EXPECT_TRUE(HasOnlyPlaceholder(root));
}

// Each drive item keeps the root it was listed with, not the root at its
// position in the list: removing one leaves the others as they were.
TEST_F(FolderTreeTest, DrivePathsComeFromTheDriveListNotFromPositions) {
    shell.volumes = {"/", dir / "alpha/", dir / "empty/"};
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
    EXPECT_EQ(tree->GetItemPath(inDrive[0]), Root() + "alpha/inner/");
    EXPECT_EQ(tree->GetItemPath(inDrive[1]), Root() + "alpha/note.txt");

    tree->Delete(items[0]);
    EXPECT_EQ(tree->GetItemPath(items[1]), Root() + "alpha/");
    EXPECT_EQ(tree->GetItemPath(inDrive[1]), Root() + "alpha/note.txt");
    EXPECT_EQ(tree->GetItemPath(items[2]), Root() + "empty/");

    // The list changes between expansions: items and strings change together.
    tree->Collapse(drives);
    shell.volumes = {"/", dir / "empty/"};
    tree->Expand(drives);
    items = Children(drives);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(tree->GetItemPath(items[1]), Root() + "empty/");
    EXPECT_EQ(tree->GetDriveStrings(), shell.volumes);
}

}  // namespace
}  // namespace velmora::testing
