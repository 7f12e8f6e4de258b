#pragma once

#include <wx/app.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/desktop/folder_tree_fixture.h"

namespace velmora::testing {

/// One key press as the toolkit hands it to the focused window:
/// wxEVT_KEY_DOWN with the key's code (the unshifted one: '8' for the '*'
/// above it), then, only when nothing handled that, wxEVT_CHAR with the
/// character typed.
struct KeyPress {
    const char* name;
    int downCode;
    bool shift;
    int charCode;
};

inline const KeyPress STAR_KEYS[] = {
    {"'*' on the main keyboard (Shift+8)", '8', true, '*'},
    {"'*' on the keypad", WXK_NUMPAD_MULTIPLY, false, '*'},
    {"'*' on a layout where it has a key of its own", '*', false, '*'},
};

inline void Press(wxWindow* window, const KeyPress& key) {
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

/// Presses '+' (`key` '+') or '-' (`key` '-') as the keyboard sends them to
/// this platform's tree: the characters on the generic tree, the keypad's
/// keys on the native tree view, which handles only those. Defined with the
/// platform's own cases.
void PressPlusOrMinus(wxWindow* tree, char key);

/// The fixture plus loopdir/ holding a folder loop ("loop", see
/// MakeFolderLoop), two text files and a note.
class FolderTreeKeyTest : public FolderTreeTest {
  protected:
    void SetUp() override {
        FolderTreeTest::SetUp();
        dir.Write("loopdir/one.txt", "one");
        dir.Write("loopdir/two.txt", "two");
        dir.Write("loopdir/notes.md", "not listed");
        MakeFolderLoop(dir / "loopdir/loop");
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

}  // namespace velmora::testing
