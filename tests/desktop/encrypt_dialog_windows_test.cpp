// The main dialog's cases that are particular to Windows: typing into the
// native edit control, key bytes are the characters in the ANSI code page,
// the system menu carries the help item of the program's string resource,
// the dialog's font is "MS Shell Dlg" at 8 points, Tab as the message loop
// gets it, and the program file shows the program's icon.
#include <wx/evtloop.h>
#include <wx/icon.h>
#include <wx/msw/wrapwin.h>
// shellapi.h needs the types of windows.h first.
#include <shellapi.h>

#include "desktop/help_text.h"
#include "platform/wx/system_menu.h"
#include "tests/desktop/colour_bitmap.h"
#include "tests/desktop/encrypt_dialog_fixture.h"
#include "tests/desktop/x_keyboard.h"

namespace velmora::desktop {

// Posted to the focused window, as the system queues a key, and handled by
// a message loop as the program's: its handling of the key moves the focus.
void EncryptDialogTest::PressTab() {
    wxGUIEventLoop loop;
    const wxEventLoopActivator active(&loop);
    const HWND before = ::GetFocus();
    const LPARAM scanCode = static_cast<LPARAM>(::MapVirtualKeyW(VK_TAB, MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageW(before, WM_KEYDOWN, VK_TAB, scanCode | 1);
    ::PostMessageW(before, WM_KEYUP, VK_TAB, scanCode | 1 | (LPARAM{3} << 30));
    testing::YieldUntil([&] { return ::GetFocus() != before; }, 100);
}

namespace {

// "é" is one byte (0xE9) in code page 1252: fifteen characters and "é" make
// a key of sixteen bytes, and those are the bytes the file is encrypted with.
TEST_F(EncryptDialogTest, KeyCharactersAreAnsiCodePageBytes) {
    dir.Write("a.txt", "accented key");
    Select({"a.txt"});
    SetKey("0123456789abcde\xC3\xA9");
    EXPECT_EQ(ClickEncrypt(), std::vector<std::string>{Success(In("a.txt"))});
    EXPECT_EQ(DecryptWithOpenssl(dir / "a.ser", "0123456789abcde\xE9"), Padded("accented key"));
}

// Typed as the system delivers keys to the native edit control (a WM_CHAR
// per character, straight to its window procedure): the seventeenth
// character goes nowhere, and the sixteen make a working key.
TEST_F(EncryptDialogTest, FieldTakesTheFirstSixteenTypedCharactersOnly) {
    dir.Write("a.txt", "typed key");
    Select({"a.txt"});
    wxTextCtrl* field = Dialog().KeyField();
    const HWND edit = static_cast<HWND>(field->GetHandle());
    for (const char c : KEY + "X") {
        ::SendMessageW(edit, WM_CHAR, static_cast<WPARAM>(c), 1);
    }
    wxTheApp->ProcessIdle();

    EXPECT_EQ(field->GetValue().utf8_string(), KEY);
    EXPECT_EQ(Dialog().keyText.utf8_string(), KEY);
    EXPECT_EQ(ClickEncrypt(), std::vector<std::string>{Success(In("a.txt"))});
    EXPECT_EQ(DecryptWithOpenssl(dir / "a.ser", KEY), Padded("typed key"));
}

// The text of a menu item, "" for a separator.
std::wstring MenuItemText(HMENU menu, int position) {
    wchar_t text[256] = {};
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_STRING;
    item.dwTypeData = text;
    item.cch = 255;
    if (!::GetMenuItemInfoW(menu, position, TRUE, &item) || (item.fType & MFT_SEPARATOR) != 0) {
        return std::wstring();
    }
    return text;
}

// The system menu ends in a separator and "&Help.Please press key 'F1'."
// (command 0x10), which does nothing when chosen.
TEST_F(EncryptDialogTest, SystemMenuEndsInTheHelpItemThatDoesNothing) {
    const HWND window = static_cast<HWND>(Dialog().GetHandle());
    const HMENU menu = ::GetSystemMenu(window, FALSE);
    ASSERT_NE(menu, nullptr);
    const int count = ::GetMenuItemCount(menu);
    ASSERT_GE(count, 3);
    EXPECT_EQ(::GetMenuItemID(menu, count - 1), static_cast<UINT>(platform::HELP_MENU_COMMAND));
    EXPECT_EQ(MenuItemText(menu, count - 1), L"&Help.Please press key 'F1'.");
    EXPECT_EQ(::GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR, UINT{MF_SEPARATOR});
    EXPECT_NE(::GetMenuItemID(menu, count - 3), static_cast<UINT>(platform::HELP_MENU_COMMAND))
        << "the item is there once";

    ::SendMessageW(window, WM_SYSCOMMAND, platform::HELP_MENU_COMMAND, 0);
    EXPECT_EQ(recorder.Texts(), std::vector<std::string>{});
    EXPECT_TRUE(Dialog().IsShown());
}

// The program's string 101, for tools that read its resources, is the menu
// item's text.
TEST_F(EncryptDialogTest, StringResource101IsTheHelpMenuItem) {
    const wchar_t* text = nullptr;
    const int length =
        ::LoadStringW(::GetModuleHandleW(nullptr), 101, reinterpret_cast<wchar_t*>(&text), 0);
    ASSERT_GT(length, 0) << "no string 101 in the program's resources";
    EXPECT_EQ(std::wstring(text, static_cast<size_t>(length)), L"&Help.Please press key 'F1'.");
    EXPECT_EQ(std::wstring(text, static_cast<size_t>(length)),
              wxString::FromUTF8(HELP_MENU_ITEM_TEXT).ToStdWstring());
}

BOOL CALLBACK CollectChild(HWND child, LPARAM children) {
    reinterpret_cast<std::vector<HWND>*>(children)->push_back(child);
    return TRUE;
}

// Every control draws in the dialog's font, "MS Shell Dlg" at 8 points,
// which the dialog units follow from. (Wine's own message font, from which
// wxWidgets takes its default, is that font too: velmora_exe_test runs the
// program with another one, as today's Windows has, to tell them apart.)
TEST_F(EncryptDialogTest, ControlsUseTheDialogFont) {
    std::vector<HWND> windows;
    ::EnumChildWindows(static_cast<HWND>(Dialog().GetHandle()), CollectChild,
                       reinterpret_cast<LPARAM>(&windows));
    ASSERT_GE(windows.size(), 10u);
    const HDC screen = ::GetDC(nullptr);
    const LONG height = -::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    for (const HWND window : windows) {
        LOGFONTW font{};
        const auto handle = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
        ASSERT_NE(handle, nullptr);
        ASSERT_NE(::GetObjectW(handle, sizeof font, &font), 0);
        wchar_t windowClass[64] = {};
        ::GetClassNameW(window, windowClass, 64);
        SCOPED_TRACE(::testing::PrintToString(std::wstring(windowClass)));
        EXPECT_EQ(std::wstring(font.lfFaceName), L"MS Shell Dlg");
        EXPECT_EQ(font.lfHeight, height);
        EXPECT_EQ(font.lfWeight, FW_NORMAL);
        EXPECT_FALSE(font.lfItalic);
    }
}

// The program file's icon, the first in it (what Explorer and the Start menu
// show), is the program's own: resource 128, not one of wxWidgets'.
TEST(EncryptDialogResourcesTest, TheFirstIconInTheProgramIsItsOwn) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    HICON first = nullptr;
    ASSERT_EQ(::ExtractIconExW(self, 0, nullptr, &first, 1), 1u);
    const HANDLE own =
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128), IMAGE_ICON,
                     ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0);
    ASSERT_NE(own, nullptr);
    wxIcon firstIcon;
    firstIcon.CreateFromHICON(first);
    wxIcon ownIcon;
    ownIcon.CreateFromHICON(static_cast<HICON>(own));
    wxBitmap firstBitmap;
    firstBitmap.CopyFromIcon(firstIcon);
    wxBitmap ownBitmap;
    ownBitmap.CopyFromIcon(ownIcon);
    EXPECT_TRUE(testing::SamePixels(firstBitmap, ownBitmap));
}

}  // namespace
}  // namespace velmora::desktop
