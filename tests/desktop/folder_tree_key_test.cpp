// The '*' key expands the focused item one level, as a click on its button
// does. The tree's own "expand everything below" (the generic tree's, and
// the native Windows tree view's on the keypad '*') would follow a folder
// link to "." level after level, until the system refuses the path, and
// under "Drives" would read the whole file system.
#include "tests/desktop/folder_tree_key_fixture.h"

namespace velmora::testing {
namespace {

TEST_F(FolderTreeKeyTest, StarExpandsTheFocusedFolderOneLevelOnly) {
    for (const KeyPress& key : STAR_KEYS) {
        SCOPED_TRACE(key.name);
        RebuildTree();
        const wxTreeItemId loopDir = SelectLoopDir();
        const size_t before = AllItems().size();

        Press(tree, key);

        ExpectLoopDirExpandedOneLevel(loopDir, before);
    }
}

TEST_F(FolderTreeKeyTest, StarOnDrivesListsTheDrivesOnly) {
    shell.volumes = {dir / "loopdir/", dir / "alpha/"};
    for (const KeyPress& key : STAR_KEYS) {
        SCOPED_TRACE(key.name);
        RebuildTree();
        const wxTreeItemId drives = DrivesItem();
        tree->SelectItem(drives);
        const size_t before = AllItems().size();

        Press(tree, key);

        EXPECT_TRUE(tree->IsExpanded(drives));
        const auto items = Children(drives);
        ASSERT_EQ(items.size(), 2u);
        for (const wxTreeItemId& drive : items) {
            EXPECT_FALSE(tree->IsExpanded(drive));
            EXPECT_TRUE(HasOnlyPlaceholder(drive));
        }
        EXPECT_EQ(AllItems().size(), before + 3);
        ExpectImagesExact();
    }
}

// Only '*' is taken over: '+' and '-' still expand and collapse, as the
// control handles them.
TEST_F(FolderTreeKeyTest, PlusAndMinusKeepTheirMeaning) {
    const wxTreeItemId loopDir = SelectLoopDir();
    const size_t before = AllItems().size();

    PressPlusOrMinus(tree, '+');
    ExpectLoopDirExpandedOneLevel(loopDir, before);

    PressPlusOrMinus(tree, '-');
    EXPECT_FALSE(tree->IsExpanded(loopDir));
    EXPECT_TRUE(HasOnlyPlaceholder(loopDir));
    EXPECT_EQ(AllItems().size(), before);
    ExpectImagesExact();
}

}  // namespace
}  // namespace velmora::testing
