// What is particular to the generic tree (GTK) and to POSIX systems: the
// keys the generic tree handles itself, typing through the X server, names
// that are not UTF-8, the root directory and a current directory that was
// removed.
#include <unistd.h>
#include <wx/app.h>
#include <wx/uiaction.h>

#include "tests/desktop/folder_tree_key_fixture.h"
#include "tests/desktop/x_keyboard.h"

namespace velmora::testing {

void PressPlusOrMinus(wxWindow* tree, char key) {
    if (key == '+') {
        Press(tree, {"'+' (Shift+=)", '=', true, '+'});
    } else {
        Press(tree, {"'-'", '-', false, '-'});
    }
}

namespace {

// A name that is not UTF-8 keeps its bytes in the path and is shown byte for
// byte as Latin-1 (as the message boxes show it), whatever the shell calls
// it: the fake shell hands back the raw bytes, GIO a name of its own.
TEST_F(FolderTreeTest, NameThatIsNotUtf8KeepsItsBytesAndShowsAsLatin1) {
    const std::string latin1 = "latin\xe9.txt";
    dir.Write(latin1, "bytes");
    ForFakeAndSystemShell([&](const platform::Shell&) {
        const wxTreeItemId item = Child(CurrentDirItem(), "latin\u00e9.txt");
        ASSERT_TRUE(item.IsOk());
        EXPECT_EQ(tree->GetItemPath(item), Root() + latin1);
    });
}

TEST_F(FolderTreeTest, CurrentDirectoryAtTheRootEndsInTwoSlashes) {
    ASSERT_EQ(chdir("/"), 0);
    RebuildTree();
    EXPECT_EQ(tree->GetItemText(CurrentDirItem()), "/");
    EXPECT_EQ(tree->GetItemPath(CurrentDirItem()), "//");
}

TEST_F(FolderTreeTest, CurrentDirectoryThatIsGoneHasNoPathRatherThanTheRoot) {
    const std::string gone = dir.MakeDir("gone");
    ASSERT_EQ(chdir(gone.c_str()), 0);
    ASSERT_EQ(rmdir(gone.c_str()), 0);
    RebuildTree();

    const wxTreeItemId root = CurrentDirItem();
    EXPECT_FALSE(tree->GetItemText(root).empty());
    EXPECT_EQ(tree->GetItemPath(root), "");
    tree->Expand(root);
    EXPECT_TRUE(HasOnlyPlaceholder(root));
}

// The same through the X server: real key presses on the shown, focused
// tree (there is no window manager under Xvfb, so focus is given directly).
TEST_F(FolderTreeKeyTest, StarTypedOnTheKeyboardExpandsOneLevelOnly) {
    const struct {
        const char* name;
        bool keypad;
    } keys[] = {{"'*' (Shift+8)", false}, {"keypad '*'", true}};
    frame->Show();
    for (const auto& key : keys) {
        SCOPED_TRACE(key.name);
        RebuildTree();
        tree->SetSize(frame->GetClientSize());
        const wxTreeItemId loopDir = SelectLoopDir();
        const size_t before = AllItems().size();
        ASSERT_TRUE(GiveKeyboardFocus(tree));

        wxUIActionSimulator keyboard;
        if (key.keypad) {
            keyboard.Char(WXK_NUMPAD_MULTIPLY);
        } else {
            keyboard.Text("*");
        }
        YieldUntil([&] { return tree->IsExpanded(loopDir); }, 300);

        ExpectLoopDirExpandedOneLevel(loopDir, before);
    }
}

}  // namespace
}  // namespace velmora::testing
