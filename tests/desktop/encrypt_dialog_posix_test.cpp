// The main dialog's cases that are particular to POSIX systems: typing
// through the X server, key bytes are the text's own (UTF-8), names need not
// be UTF-8, and /proc holds files that cannot be read whole.
#include <unistd.h>
#include <wx/uiaction.h>

#include "tests/desktop/encrypt_dialog_fixture.h"
#include "tests/desktop/x_keyboard.h"

namespace velmora::desktop {

// Through the X server, to the window that has the focus.
void EncryptDialogTest::PressTab() {
    const wxWindow* before = wxWindow::FindFocus();
    wxUIActionSimulator().Char(WXK_TAB);
    testing::YieldUntil([&] { return wxWindow::FindFocus() != before; }, 100);
}

namespace {

// Typed on the keyboard through the X server, with the focus given to the
// field directly (there is no window manager under Xvfb): the seventeenth
// character goes nowhere, and the sixteen make a working key.
TEST_F(EncryptDialogTest, FieldTakesTheFirstSixteenTypedCharactersOnly) {
    dir.Write("a.txt", "typed key");
    Select({"a.txt"});
    wxTextCtrl* field = Dialog().KeyField();
    ASSERT_TRUE(testing::GiveKeyboardFocus(field));
    // The release of the last key comes after its press has been handled.
    bool lastKeyReleased = false;
    field->Bind(wxEVT_KEY_UP, [&](wxKeyEvent& event) {
        lastKeyReleased = lastKeyReleased || event.GetKeyCode() == 'X';
        event.Skip();
    });

    wxUIActionSimulator keyboard;
    keyboard.Text((KEY + "X").c_str());
    ASSERT_TRUE(testing::YieldUntil([&] { return lastKeyReleased; }, 500))
        << "the typed keys did not arrive";
    EXPECT_EQ(field->GetValue().utf8_string(), KEY);
    EXPECT_EQ(Dialog().keyText.utf8_string(), KEY);
    EXPECT_EQ(ClickEncrypt(), std::vector<std::string>{Success(In("a.txt"))});
    EXPECT_EQ(DecryptWithOpenssl(dir / "a.ser", KEY), Padded("typed key"));
}

// "é" is two bytes: sixteen characters with one of them make seventeen.
TEST_F(EncryptDialogTest, KeyOfSixteenCharactersWithOneOfTwoBytesIsRefused) {
    dir.Write("a.txt", "text");
    Select({"a.txt"});
    SetKey(std::string(15, ' ') + "\xC3\xA9");
    EXPECT_EQ(ClickEncrypt(), std::vector<std::string>{KEY_MESSAGE});
    EXPECT_FALSE(fs::exists(dir / "a.ser")) << "no file may be touched";
}

// A file that says it is empty but yields bytes when read (as files under
// /proc do) cannot be read whole.
TEST_F(EncryptDialogTest, FolderFileThatCannotBeReadWholeReportsReadError) {
    dir.MakeDir("proc");
    ASSERT_EQ(symlink("/proc/self/status", (dir / "proc/x.txt").c_str()), 0);
    Select({"proc"});
    SetKey(KEY);

    EXPECT_EQ(ClickEncrypt(), std::vector<std::string>{"ReadFile " + In("proc/x.txt") + " error!"});
    EXPECT_EQ(FileNames(dir / "proc"), std::set<std::string>{"x.txt"});
}

// A name that is not UTF-8 reads the same in the tree and in the message:
// its bytes as Latin-1. The file on disk keeps its bytes.
TEST_F(EncryptDialogTest, NameThatIsNotUtf8ShowsTheSameInTreeAndMessage) {
    dir.Write("latin\xe9.txt", "bytes");
    const std::string shown = "latin\u00e9.txt";
    Select({shown});
    ASSERT_EQ(Tree().GetItemText(Tree().GetSelection()).utf8_string(), shown);
    SetKey(KEY);

    EXPECT_EQ(ClickEncrypt(), std::vector<std::string>{Success(In(shown))});
    EXPECT_EQ(DecryptWithOpenssl(dir / "latin\xe9.ser", KEY), Padded("bytes"));
}

}  // namespace
}  // namespace velmora::desktop
