// The '*' key expands the focused item one level, as a click on its button
// does. The generic tree's own "expand everything below" would follow a
// folder link to "." level after level, until the system refuses the path,
// and under "Drives" would read the whole file system.
#include <unistd.h>
#include <wx/app.h>
#include <wx/uiaction.h>

#include <algorithm>

#include "tests/desktop/folder_tree_fixture.h"

namespace velmora::testing {
namespace {

/// One key press as GTK hands it to the focused window: wxEVT_KEY_DOWN with
/// the key's code (the unshifted one: '8' for the '*' above it), then, only
/// when nothing handled that, wxEVT_CHAR with the character typed.
struct KeyPress {
    const char* name;
    int downCode;
    bool shift;
    int charCode;
};

const KeyPress kStarKeys[] = {
    {"'*' on the main keyboard (Shift+8)", '8', true, '*'},
    {"'*' on the keypad", WXK_NUMPAD_MULTIPLY, false, '*'},
    {"'*' on a layout where it has a key of its own", '*', false, '*'},
};

void Press(wxWindow* window, const KeyPress& key) {
    wxKeyEvent down(wxEVT_KEY_DOWN);
    down.m_keyCode = key.downCode;
    down.SetShiftDown(key.shift);
    down.SetEventObject(window);
    if (window->ProcessWindowEvent(down)) {
        return;
    }
    wxKeyEvent typed(wxEVT_CHAR);
    typed.m_keyCode = key.charCode;
    typed.m_uniChar = key.charCode;
    typed.SetShiftDown(key.shift);
    typed.SetEventObject(window);
    window->ProcessWindowEvent(typed);
}

/// The fixture plus loopdir/ holding a link to itself ("loop", as made by
/// `ln -s . loop`), two text files and a note.
class FolderTreeKeyTest : public FolderTreeTest {
  protected:
    void SetUp() override {
        FolderTreeTest::SetUp();
        dir.Write("loopdir/one.txt", "one");
        dir.Write("loopdir/two.txt", "two");
        dir.Write("loopdir/notes.md", "not listed");
        ASSERT_EQ(symlink(".", (dir / "loopdir/loop").c_str()), 0);
    }

    /// Expands the current directory and selects loopdir in it.
    wxTreeItemId SelectLoopDir() {
        const wxTreeItemId loopDir = Child(ExpandPath({}), "loopdir");
        tree->SelectItem(loopDir);
        EXPECT_EQ(tree->GetFocusedItem(), loopDir);
        return loopDir;
    }

    /// loopdir is expanded exactly one level: its folder link and its text
    /// files, the link collapsed with its placeholder, nothing else added.
    void ExpectLoopDirExpandedOneLevel(const wxTreeItemId& loopDir, size_t itemsBefore) {
        EXPECT_TRUE(tree->IsExpanded(loopDir));
        std::vector<std::string> texts = ChildTexts(loopDir);
        ASSERT_EQ(texts.size(), 3u);
        EXPECT_EQ(texts[0], "loop") << "folders come first";
        std::sort(texts.begin() + 1, texts.end());
        EXPECT_EQ(texts, (std::vector<std::string>{"loop", "one.txt", "two.txt"}));
        const wxTreeItemId loop = Child(loopDir, "loop");
        EXPECT_FALSE(tree->IsExpanded(loop));
        EXPECT_TRUE(HasOnlyPlaceholder(loop));
        // The placeholder of loopdir went; three items and the placeholder of
        // "loop" came.
        EXPECT_EQ(AllItems().size(), itemsBefore + 3);
        ExpectImagesExact();
    }
};

TEST_F(FolderTreeKeyTest, StarExpandsTheFocusedFolderOneLevelOnly) {
    for (const KeyPress& key : kStarKeys) {
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
    for (const KeyPress& key : kStarKeys) {
        SCOPED_TRACE(key.name);
        RebuildTree();
        const wxTreeItemId drives = tree->GetDrivesRoot();
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

// Only '*' is taken over: '+' and '-' still expand and collapse.
TEST_F(FolderTreeKeyTest, OtherKeysKeepTheirMeaning) {
    const wxTreeItemId loopDir = SelectLoopDir();
    const size_t before = AllItems().size();

    Press(tree, {"'+' (Shift+=)", '=', true, '+'});
    ExpectLoopDirExpandedOneLevel(loopDir, before);

    Press(tree, {"'-'", '-', false, '-'});
    EXPECT_FALSE(tree->IsExpanded(loopDir));
    EXPECT_TRUE(HasOnlyPlaceholder(loopDir));
    EXPECT_EQ(AllItems().size(), before);
    ExpectImagesExact();
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
        for (int tries = 0; tries < 300 && wxWindow::FindFocus() != tree; ++tries) {
            frame->Raise();
            tree->SetFocus();
            wxYield();
            wxMilliSleep(10);
        }
        ASSERT_EQ(wxWindow::FindFocus(), tree);

        wxUIActionSimulator keyboard;
        if (key.keypad) {
            keyboard.Char(WXK_NUMPAD_MULTIPLY);
        } else {
            keyboard.Text("*");
        }
        for (int tries = 0; tries < 300 && !tree->IsExpanded(loopDir); ++tries) {
            wxYield();
            wxMilliSleep(10);
        }

        ExpectLoopDirExpandedOneLevel(loopDir, before);
    }
}

}  // namespace
}  // namespace velmora::testing
