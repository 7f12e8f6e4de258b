// What is particular to the native Windows tree view and to Windows paths:
// a drive root as the current directory, names outside the ANSI code page,
// and keys as the system sends them to the control itself.
#include <wx/app.h>
#include <wx/msw/wrapwin.h>

#include <filesystem>

#include "tests/desktop/folder_tree_key_fixture.h"

namespace velmora::testing {
namespace {

/// The messages the system sends a window for one key press, sent straight
/// to the control's window procedure as the message loop would dispatch
/// them: WM_KEYDOWN (with Shift down, when `shift`), then the WM_CHAR that
/// TranslateMessage makes of it, if any, then WM_KEYUP.
struct NativeKeyPress {
    const char* name;
    UINT virtualKey;
    bool shift;
    wchar_t character;  // 0: none
};

void SendKeyPress(wxWindow* window, const NativeKeyPress& key) {
    const HWND control = static_cast<HWND>(window->GetHandle());
    const LPARAM scanCode = static_cast<LPARAM>(::MapVirtualKeyW(key.virtualKey, MAPVK_VK_TO_VSC))
                            << 16;
    BYTE keyboard[256] = {};
    if (key.shift) {
        keyboard[VK_SHIFT] = 0x80;
    }
    ::SetKeyboardState(keyboard);
    ::SendMessageW(control, WM_KEYDOWN, key.virtualKey, scanCode | 1);
    if (key.character != 0) {
        ::SendMessageW(control, WM_CHAR, key.character, scanCode | 1);
    }
    ::SendMessageW(control, WM_KEYUP, key.virtualKey, scanCode | 1 | (LPARAM{3} << 30));
    keyboard[VK_SHIFT] = 0;
    ::SetKeyboardState(keyboard);
    wxTheApp->ProcessIdle();
}

}  // namespace

void PressPlusOrMinus(wxWindow* tree, char key) {
    if (key == '+') {
        SendKeyPress(tree, {"keypad '+'", VK_ADD, false, L'+'});
    } else {
        SendKeyPress(tree, {"keypad '-'", VK_SUBTRACT, false, L'-'});
    }
}

namespace {

// "C:\" as the current directory: the item's path is the directory and one
// more separator, as for any other current directory.
TEST_F(FolderTreeTest, CurrentDirectoryAtADriveRootEndsInTwoBackslashes) {
    std::filesystem::current_path("C:\\");
    RebuildTree();
    EXPECT_EQ(tree->GetItemText(CurrentDirItem()), "C:\\");
    EXPECT_EQ(tree->GetItemPath(CurrentDirItem()), "C:\\\\");
}

// Names are UTF-16 on disk: one outside the ANSI code page keeps every
// character in the tree and in the path, with the real shell too.
TEST_F(FolderTreeTest, NameOutsideTheAnsiCodePageKeepsItsCharacters) {
    const std::string name = "\xe6\x97\xa5\xe6\x9c\xac \xce\xb1.txt";  // "日本 α.txt"
    dir.Write(name, "text");
    ForFakeAndSystemShell([&](const platform::Shell& treeShell) {
        const std::string text = treeShell.Describe(Under(name)).displayName;
        EXPECT_NE(text.find("\xe6\x97\xa5\xe6\x9c\xac \xce\xb1"), std::string::npos) << text;
        const wxTreeItemId item = Child(CurrentDirItem(), text);
        ASSERT_TRUE(item.IsOk());
        EXPECT_EQ(tree->GetItemPath(item), Under(name));
        EXPECT_TRUE(std::filesystem::is_regular_file(FromUtf8(tree->GetItemPath(item))));
    });
}

// The keypad '*' reaches the native tree view's window procedure unless
// it is stopped before: the control would then expand everything below the
// item by itself. The '*' above the 8 comes as WM_CHAR, which the control
// would take for incremental search.
TEST_F(FolderTreeKeyTest, StarSentToTheNativeControlExpandsOneLevelOnly) {
    const NativeKeyPress keys[] = {
        {"keypad '*'", VK_MULTIPLY, false, L'*'},
        {"'*' (Shift+8)", '8', true, L'*'},
    };
    for (const NativeKeyPress& key : keys) {
        SCOPED_TRACE(key.name);
        RebuildTree();
        const wxTreeItemId loopDir = SelectLoopDir();
        const size_t before = AllItems().size();

        SendKeyPress(tree, key);

        ExpectLoopDirExpandedOneLevel(loopDir, before);
    }
}

}  // namespace
}  // namespace velmora::testing
