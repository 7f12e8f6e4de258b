// The path the tree yields for every kind of item.
#include <unistd.h>

#include <filesystem>

#include "platform/gio_shell.h"
#include "tests/desktop/folder_tree_fixture.h"

namespace velmora::testing {
namespace {

TEST_F(FolderTreeTest, PathOfEveryKindOfItem) {
    tree->Expand(tree->GetDrivesRoot());
    const wxTreeItemId alpha = ExpandPath({"alpha"});
    const wxTreeItemId root = tree->GetCurrentDirRoot();
    const wxTreeItemId inner = Child(alpha, "inner");
    const wxTreeItemId innerPlaceholder = Children(inner).at(0);

    struct Case {
        const char* kind;
        wxTreeItemId item;
        std::string path;
    };
    for (const Case& c : std::vector<Case>{
             {"drives root", tree->GetDrivesRoot(), ""},
             {"drive", Children(tree->GetDrivesRoot()).at(0), "/"},
             {"current directory", root, Root()},
             {"folder", alpha, Root() + "alpha/"},
             {"collapsed folder", inner, Root() + "alpha/inner/"},
             {"file", Child(root, "a.txt"), Root() + "a.txt"},
             {"file named .txt", Child(root, ".txt"), Root() + ".txt"},
             {"nested file", Child(alpha, "note.txt"), Root() + "alpha/note.txt"},
             {"placeholder", innerPlaceholder, ""},
             {"hidden root", tree->GetRootItem(), ""},
             {"no item", wxTreeItemId(), ""},
         }) {
        EXPECT_EQ(tree->GetItemPath(c.item), c.path) << c.kind;
    }
}

TEST_F(FolderTreeTest, PathsComeFromNamesOnDiskWhateverTheDisplayNameSays) {
    // Like a shell that hides known extensions and decorates folders.
    shell->displayName = [](const std::string& name) {
        const size_t dot = name.rfind('.');
        return dot == std::string::npos || dot == 0 ? "[" + name + "]" : name.substr(0, dot);
    };
    tree->Initialize(true);
    const wxTreeItemId alpha = ExpandPath({"[alpha]"});
    ASSERT_TRUE(alpha.IsOk());

    const wxTreeItemId note = Child(alpha, "note");
    EXPECT_EQ(tree->GetItemPath(alpha), Root() + "alpha/");
    EXPECT_EQ(tree->GetItemPath(note), Root() + "alpha/note.txt");
    EXPECT_TRUE(std::filesystem::is_regular_file(tree->GetItemPath(note)));
    const wxTreeItemId inner = ExpandPath({"[alpha]", "[inner]"});
    EXPECT_EQ(tree->GetItemPath(Child(inner, "deep")), Root() + "alpha/inner/deep.txt");
}

TEST_F(FolderTreeTest, NameThatIsNotUtf8KeepsItsBytesInThePathWithTheRealShell) {
    const std::string latin1 = "caf\xe9.txt";
    dir.Write(latin1, "bytes");
    tree->UsePlatform(std::make_shared<platform::GioShell>(),
                      std::make_shared<platform::RealFolderSearch>());
    tree->Initialize(true);
    tree->Expand(tree->GetCurrentDirRoot());

    bool found = false;
    for (const wxTreeItemId& child : Children(tree->GetCurrentDirRoot())) {
        if (tree->GetItemPath(child) == Root() + latin1) {
            found = true;
            EXPECT_FALSE(tree->GetItemText(child).empty());
        }
    }
    EXPECT_TRUE(found);
}

TEST_F(FolderTreeTest, CurrentDirectoryAtTheRootEndsInTwoSlashes) {
    ASSERT_EQ(chdir("/"), 0);
    tree->Initialize(true);
    EXPECT_EQ(tree->GetCurrentDirectory(), "/");
    EXPECT_EQ(tree->GetItemPath(tree->GetCurrentDirRoot()), "//");
}

TEST_F(FolderTreeTest, CurrentDirectoryThatIsGoneHasNoPathRatherThanTheRoot) {
    const std::string gone = dir.MakeDir("gone");
    ASSERT_EQ(chdir(gone.c_str()), 0);
    ASSERT_EQ(rmdir(gone.c_str()), 0);
    tree->Initialize(true);

    const wxTreeItemId root = tree->GetCurrentDirRoot();
    EXPECT_FALSE(tree->GetItemText(root).empty());
    EXPECT_EQ(tree->GetItemPath(root), "");
    tree->Expand(root);
    EXPECT_TRUE(HasOnlyPlaceholder(root));
}

TEST_F(FolderTreeTest, DrivePathsFollowTheDriveListByPosition) {
    shell->volumes = {"/", dir / "alpha/", dir / "empty/"};
    shell->displayName = [](const std::string&) { return std::string("Same name"); };
    const wxTreeItemId drives = tree->GetDrivesRoot();
    tree->Expand(drives);
    auto items = Children(drives);
    ASSERT_EQ(items.size(), 3u);
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(tree->GetItemPath(items[i]), shell->volumes[i]);
    }
    tree->Expand(items[1]);
    const auto inDrive = Children(items[1]);
    ASSERT_EQ(inDrive.size(), 2u);
    EXPECT_EQ(tree->GetItemPath(inDrive[0]), Root() + "alpha/inner/");
    EXPECT_EQ(tree->GetItemPath(inDrive[1]), Root() + "alpha/note.txt");

    // The list changes between expansions: items and strings change together.
    tree->Collapse(drives);
    shell->volumes = {"/", dir / "empty/"};
    tree->Expand(drives);
    items = Children(drives);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(tree->GetItemPath(items[1]), Root() + "empty/");
}

}  // namespace
}  // namespace velmora::testing
