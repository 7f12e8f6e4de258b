// The main dialog in-process, with real widgets: every message box it shows
// is recorded and checked for text, caption, owner and order.
// The cases that are the same on every platform.
#include <wx/button.h>
#include <wx/display.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include <cstdlib>
#include <functional>
#include <iterator>
#include <vector>

#include "desktop/result_message.h"
#include "tests/desktop/encrypt_dialog_fixture.h"
#include "tests/desktop/x_keyboard.h"

// Readable failure messages for wx geometry (found by gtest through ADL).
void PrintTo(const wxRect& rect, std::ostream* out) {
    *out << "(" << rect.x << ", " << rect.y << ") " << rect.width << "x" << rect.height;
}
void PrintTo(const wxSize& size, std::ostream* out) {
    *out << size.x << "x" << size.y;
}

namespace velmora::desktop {
namespace {

/// The dialog as its users know it: its size and its controls, each with its
/// text, the id other programs find it by (none for those never addressed)
/// and its rectangle, in dialog units. The filter box's height includes its
/// dropped-down list.
constexpr int DIALOG_WIDTH = 295;
constexpr int DIALOG_HEIGHT = 221;

struct ExpectedControl {
    const char* what;
    wxClassInfo* kind;
    const char* label;
    int id;
    int x;
    int y;
    int width;
    int height;
};

const ExpectedControl EXPECTED_CONTROLS[] = {
    {"Encrypt button", wxCLASSINFO(wxButton), "Encrypt", 1, 180, 192, 50, 14},  // IDOK
    {"folder tree", wxCLASSINFO(FolderTree), "", 1000, 14, 46, 266, 128},
    {"group Encrypt", wxCLASSINFO(wxStaticBox), "Encrypt", wxID_ANY, 7, 181, 277, 28},
    {"key label", wxCLASSINFO(wxStaticText), "Input Encrypt Key:", wxID_ANY, 14, 193, 73, 8},
    {"key field", wxCLASSINFO(wxTextCtrl), "", 1003, 87, 192, 88, 13},
    {"group Source Folder", wxCLASSINFO(wxStaticBox), "Source Folder", wxID_ANY, 7, 6, 277, 174},
    {"Exit button", wxCLASSINFO(wxButton), "Exit", 2, 234, 192, 46, 14},  // IDCANCEL
    {"group Filter", wxCLASSINFO(wxStaticBox), "Filter", wxID_ANY, 13, 16, 266, 26},
    {"filter box", wxCLASSINFO(wxComboBox), "", 1007, 83, 24, 190, 49},
    {"filter label", wxCLASSINFO(wxStaticText), "Show File Type:", wxID_ANY, 19, 25, 63, 11},
};

/// The dialog's control that `expected` describes: the one with its id, or
/// the one of its kind with its label; null when there is not exactly one.
wxWindow* FindControl(const wxWindow& dialog, const ExpectedControl& expected) {
    wxWindow* found = nullptr;
    for (wxWindow* child : dialog.GetChildren()) {
        const bool matches = expected.id != wxID_ANY ? child->GetId() == expected.id
                                                     : child->IsKindOf(expected.kind) &&
                                                           child->GetLabel() == expected.label;
        if (matches) {
            if (found != nullptr) {
                return nullptr;
            }
            found = child;
        }
    }
    return found;
}

TEST_F(EncryptDialogTest, EveryControlIsThereWithItsTextAndId) {
    EXPECT_EQ(Dialog().GetTitle(), "Velmora");
    const wxWindowList& children = Dialog().GetChildren();
    EXPECT_EQ(children.size(), std::size(EXPECTED_CONTROLS)) << "no other controls";
    // In this order among the dialog's windows, which is the order the
    // system and screen readers go through them (a label before its field).
    int previous = -1;
    for (const ExpectedControl& expected : EXPECTED_CONTROLS) {
        SCOPED_TRACE(expected.what);
        wxWindow* control = FindControl(Dialog(), expected);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(control->IsKindOf(expected.kind));
        if (*expected.label != '\0') {
            EXPECT_EQ(control->GetLabel(), expected.label);
        }
        const int place = children.IndexOf(control);
        EXPECT_GT(place, previous);
        previous = place;
    }
    EXPECT_EQ(Dialog().GetDefaultItem(), Dialog().FindWindow(1));
    EXPECT_TRUE(Dialog().GetIcons().GetIcon(32).IsOk());
    EXPECT_TRUE(Dialog().GetIcons().GetIcon(16).IsOk());

    wxComboBox* filter = Dialog().filterBox;
    ASSERT_EQ(filter->GetCount(), 3u);
    EXPECT_EQ(filter->GetString(0), "Text file(*.txt)");
    EXPECT_EQ(filter->GetString(1), "Text file(*.ser)");
    EXPECT_EQ(filter->GetString(2), "All file(*.*)");
    EXPECT_EQ(filter->GetSelection(), 0);
    EXPECT_EQ(Tree().filterIndex, 0);
}

// Each control at its rectangle in dialog units, which follow from the
// dialog's font; the filter box at its natural height.
TEST_F(EncryptDialogTest, ControlsSitAtTheirRectanglesInDialogUnits) {
    EncryptDialog& dialog = Dialog();
    EncryptDialog* const window = &dialog;
    EXPECT_EQ(dialog.GetClientSize(), wxDLG_UNIT(window, wxSize(DIALOG_WIDTH, DIALOG_HEIGHT)));
    for (const ExpectedControl& expected : EXPECTED_CONTROLS) {
        SCOPED_TRACE(expected.what);
        wxWindow* control = FindControl(dialog, expected);
        ASSERT_NE(control, nullptr);
        wxRect rect = control->GetRect();
        wxRect want(wxDLG_UNIT(window, wxPoint(expected.x, expected.y)),
                    wxDLG_UNIT(window, wxSize(expected.width, expected.height)));
        if (control == dialog.filterBox) {
            EXPECT_EQ(rect.height, control->GetBestSize().y) << "natural height";
            rect.height = want.height = 0;
        }
        EXPECT_EQ(rect, want);
    }
}

// What a user sees of the layout, whatever the font: nothing is cut off by
// the dialog's edge, and no control covers another, but for the group boxes
// around the controls they hold. Positions and sizes become pixels each
// rounded on its own, as the system makes a dialog's controls: neighbours
// that meet in dialog units may share a row or column of pixels.
TEST_F(EncryptDialogTest, EveryControlIsInsideTheDialogAndOverlapsOnlyTheGroupBoxesAroundIt) {
    const wxRect client(Dialog().GetClientSize());
    std::vector<wxWindow*> controls(Dialog().GetChildren().begin(), Dialog().GetChildren().end());
    for (wxWindow* control : controls) {
        EXPECT_TRUE(client.Contains(control->GetRect()))
            << control->GetLabel() << " at " << ::testing::PrintToString(control->GetRect());
    }
    const auto holds = [](wxWindow* box, wxWindow* control) {
        return box->IsKindOf(wxCLASSINFO(wxStaticBox)) &&
               box->GetRect().Contains(control->GetRect());
    };
    for (size_t i = 0; i < controls.size(); ++i) {
        for (size_t j = i + 1; j < controls.size(); ++j) {
            wxWindow* a = controls[i];
            wxWindow* b = controls[j];
            const wxRect shared = a->GetRect().Intersect(b->GetRect());
            if (shared.width > 1 && shared.height > 1) {
                EXPECT_TRUE(holds(a, b) || holds(b, a))
                    << "\"" << a->GetLabel() << "\" " << ::testing::PrintToString(a->GetRect())
                    << " and \"" << b->GetLabel() << "\" "
                    << ::testing::PrintToString(b->GetRect());
            }
        }
    }
}

// Tab goes from "Encrypt", which has the focus when the dialog opens, to the
// tree, the key field, "Exit", the filter box and back to "Encrypt". A stop
// inside a control that is none of the dialog's own (GTK's filter box has
// its drop-down button as a stop of its own) is passed over.
TEST_F(EncryptDialogTest, TabMovesTheFocusThroughTheControlsInOrder) {
    ASSERT_TRUE(testing::GiveKeyboardFocus(Dialog().FindWindow(1)));
    const int order[] = {1000, 1003, 2, 1007, 1};
    for (const int id : order) {
        SCOPED_TRACE(id);
        PressTab();
        if (FocusedControl() == nullptr) {
            PressTab();
        }
        const wxWindow* focused = FocusedControl();
        ASSERT_NE(focused, nullptr);
        EXPECT_EQ(focused->GetId(), id);
    }
}

TEST_F(EncryptDialogTest, DialogIsCentredAndItsControlsHaveTheirStyles) {
    EncryptDialog& dialog = Dialog();
    const wxRect screen = wxDisplay(&dialog).GetClientArea();
    const wxRect rect = dialog.GetRect();
    EXPECT_LE(std::abs(rect.x - (screen.x + (screen.width - rect.width) / 2)), 1) << rect.x;
    EXPECT_LE(std::abs(rect.y - (screen.y + (screen.height - rect.height) / 2)), 1) << rect.y;

    EXPECT_FALSE(dialog.HasFlag(wxMINIMIZE_BOX));
    EXPECT_FALSE(dialog.HasFlag(wxMAXIMIZE_BOX));
    EXPECT_FALSE(dialog.HasFlag(wxRESIZE_BORDER));
    EXPECT_TRUE(dialog.HasFlag(wxCLOSE_BOX));
    EXPECT_TRUE(dialog.HasFlag(wxSYSTEM_MENU));

    wxComboBox* filter = dialog.filterBox;
    EXPECT_FALSE(filter->HasFlag(wxCB_READONLY));
    EXPECT_FALSE(filter->HasFlag(wxCB_SORT));
    EXPECT_TRUE(filter->IsEditable());
    EXPECT_FALSE(dialog.KeyField()->HasFlag(wxTE_PASSWORD));
    EXPECT_TRUE(dialog.KeyField()->IsEditable());
}

// The key is checked before anything else, by its length in bytes (see the
// platform files for a character that is not ASCII).
TEST_F(EncryptDialogTest, KeyMustBeSixteenBytes) {
    dir.Write("a.txt", "text");
    const struct {
        const char* name;
        std::string key;
        bool selectFile;
        std::vector<std::string> expected;
    } cases[] = {
        {"empty, nothing selected", "", false, {KEY_MESSAGE}},
        {"15 characters, nothing selected", "0123456789abcde", false, {KEY_MESSAGE}},
        {"15 characters, file selected", "0123456789abcde", true, {KEY_MESSAGE}},
        {"16 spaces, nothing selected", std::string(16, ' '), false, {NO_ITEM}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.selectFile) {
            Select({"a.txt"});
        } else {
            Tree().UnselectAll();
        }
        SetKey(c.key);
        EXPECT_EQ(Dialog().keyText.utf8_str().data(), c.key) << "keyText follows the field";
        EXPECT_EQ(ClickEncrypt(), c.expected);
        EXPECT_FALSE(fs::exists(dir / "a.ser")) << "no file may be touched";
    }
}

// Nothing selected: right after start, and after the selection is removed.
TEST_F(EncryptDialogTest, NothingSelectedIsReported) {
    dir.Write("a.txt", "text");
    SetKey(KEY);
    EXPECT_EQ(ClickEncrypt(), std::vector<std::string>{NO_ITEM}) << "at start";
    Select({"a.txt"});
    Tree().UnselectAll();
    EXPECT_EQ(ClickEncrypt(), std::vector<std::string>{NO_ITEM}) << "after unselecting";
    EXPECT_FALSE(fs::exists(dir / "a.ser"));
}

TEST_F(EncryptDialogTest, SelectedFileIsEncryptedAndDialogStaysAsItWas) {
    const std::string path = dir.Write("a.txt", "Hello, Velmora.\n");
    Select({"a.txt"});
    SetKey(KEY);
    const wxTreeItemId selected = Tree().GetSelection();

    EXPECT_EQ(ClickEncrypt(), std::vector<std::string>{Success(In("a.txt"))});
    EXPECT_EQ(DecryptWithOpenssl(dir / "a.ser", KEY), Padded("Hello, Velmora.\n"));
    EXPECT_EQ(ReadFile(path), "Hello, Velmora.\n");

    EXPECT_TRUE(Dialog().IsShown());
    EXPECT_EQ(Dialog().KeyField()->GetValue(), KEY);
    EXPECT_EQ(Tree().GetSelection(), selected);

    fs::remove(dir / "a.ser");
    EXPECT_EQ(ClickEncrypt(), std::vector<std::string>{Success(In("a.txt"))}) << "run again";
    EXPECT_TRUE(fs::exists(dir / "a.ser"));
}

TEST_F(EncryptDialogTest, FolderEncryptsOnlyItsOwnLowerCaseTxtFiles) {
    dir.Write("docs/a.txt", "alpha");
    dir.Write("docs/B.TXT", "bravo");
    dir.Write("docs/c.txt.bak", "charlie");
    dir.Write("docs/notes.ser", "not text");
    dir.Write("docs/sub.txt/inner.txt", "inner");
    const std::set<std::string> before = FileNames(dir / "docs");
    Select({"docs"});
    SetKey(KEY);

    EXPECT_EQ(ClickEncrypt(), std::vector<std::string>{Success(In("docs/a.txt"))});

    std::set<std::string> after = before;
    after.insert("a.ser");
    EXPECT_EQ(FileNames(dir / "docs"), after);
    EXPECT_EQ(FileNames(dir / "docs/sub.txt"), std::set<std::string>{"inner.txt"});
    EXPECT_EQ(DecryptWithOpenssl(dir / "docs/a.ser", KEY), Padded("alpha"));
}

// Each box is shown after its own file and before the next one is touched;
// a failed file does not stop the batch.
TEST_F(EncryptDialogTest, FolderBatchReportsEachFileBeforeTheNextAndGoesOnAfterFailure) {
    dir.Write("batch/first.txt", "first");
    dir.WriteSized("batch/big.txt", 0x16000);
    dir.Write("batch/last.txt", "last");
    Select({"batch"});
    SetKey(KEY);
    int successes = 0;
    recorder.onShow = [&](const ShownMessage& message) {
        if (message.text.rfind("AES-CBC-128", 0) == 0) {
            ++successes;
        }
        int serFiles = 0;
        for (const auto& name : FileNames(dir / "batch")) {
            serFiles += fs::path(name).extension() == ".ser";
        }
        EXPECT_EQ(serFiles, successes) << "while showing: " << message.text;
    };

    const auto shown = ClickEncrypt();

    EXPECT_EQ(std::multiset<std::string>(shown.begin(), shown.end()),
              (std::multiset<std::string>{Success(In("batch/first.txt")), TOO_BIG,
                                          Success(In("batch/last.txt"))}));
    EXPECT_TRUE(fs::exists(dir / "batch/first.ser"));
    EXPECT_TRUE(fs::exists(dir / "batch/last.ser"));
    EXPECT_FALSE(fs::exists(dir / "batch/big.ser"));
}

// The folder's children are gone from the tree (so it shows no button), but
// it is still a folder: Encrypt searches inside it, not beside it.
TEST_F(EncryptDialogTest, FolderWithoutChildItemsIsStillSearchedInside) {
    dir.Write("docs/a.txt", "inside");
    dir.Write("docs-beside.txt", "beside");
    Select({"docs"});
    const wxTreeItemId docs = Tree().GetSelection();
    Tree().DeleteChildren(docs);
    ASSERT_FALSE(Tree().ItemHasChildren(docs));
    SetKey(KEY);

    EXPECT_EQ(ClickEncrypt(), std::vector<std::string>{Success(In("docs/a.txt"))});
    EXPECT_TRUE(fs::exists(dir / "docs/a.ser"));
    EXPECT_FALSE(fs::exists(dir / "docs-beside.ser"));
}

TEST_F(EncryptDialogTest, FolderWithoutTextFilesShowsNothing) {
    dir.Write("empty/readme.md", "no text here");
    Select({"empty"});
    SetKey(KEY);
    EXPECT_EQ(ClickEncrypt(), std::vector<std::string>{});
}

// "Drives" has the empty path: the current directory is searched and the
// messages carry bare names.
TEST_F(EncryptDialogTest, DrivesRootSearchesTheCurrentDirectory) {
    dir.Write("a.txt", "in the current directory");
    Tree().SelectItem(DrivesItem());
    SetKey(KEY);
    EXPECT_EQ(ClickEncrypt(), std::vector<std::string>{Success("a.txt")});
    EXPECT_EQ(DecryptWithOpenssl(dir / "a.ser", KEY), Padded("in the current directory"));
}

// B.TXT has no lower-case ".txt" to rewrite, so its output would be the input
// itself: refused, and the input stays as it was.
TEST_F(EncryptDialogTest, UpperCaseTxtFileIsRefusedAndKeptIntact) {
    dir.Write("docs/B.TXT", "bravo");
    ChooseFilter(2);
    Select({"docs", "B.TXT"});
    SetKey(KEY);
    EXPECT_EQ(ClickEncrypt(),
              std::vector<std::string>{"WriteFile " + In("docs/B.TXT") + " error!"});
    EXPECT_EQ(ReadFile(dir / "docs/B.TXT"), "bravo");
    EXPECT_EQ(FileNames(dir / "docs"), std::set<std::string>{"B.TXT"});
}

TEST_F(EncryptDialogTest, MissingFileReportsOpenError) {
    dir.Write("gone.txt", "soon gone");
    Select({"gone.txt"});
    fs::remove(dir / "gone.txt");
    SetKey(KEY);
    EXPECT_EQ(ClickEncrypt(), std::vector<std::string>{"OpenFile " + In("gone.txt") + " error!"});
}

// The mode follows the text of the path, not what the item is.
TEST_F(EncryptDialogTest, ModeFollowsThePathText) {
    dir.Write("old.txt/inside.txt", "a folder whose name has .txt");
    dir.Write("b.ser", "encrypted before");
    const struct {
        const char* name;
        int filter;
        std::vector<std::string> select;
        std::vector<std::string> expected;
    } cases[] = {
        {"folder named old.txt is taken for a file",
         0,
         {"old.txt"},
         {"OpenFile " + In("old.txt/") + " error!"}},
        {".ser file searches b.ser*.txt beside it: nothing", 1, {"b.ser"}, {}},
    };
    SetKey(KEY);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ChooseFilter(c.filter);
        Tree().Collapse(CurrentDirItem());
        Select(c.select);
        EXPECT_EQ(ClickEncrypt(), c.expected);
    }
    EXPECT_EQ(FileNames(dir / "old.txt"), std::set<std::string>{"inside.txt"});
}

TEST_F(EncryptDialogTest, FilterWritesFilterIndexWithoutRefreshingTheTree) {
    dir.Write("a.txt", "a");
    dir.Write("b.ser", "b");
    Select({});
    Tree().Expand(CurrentDirItem());
    const size_t listed = Tree().GetChildrenCount(CurrentDirItem());
    for (int index : {1, 2, -1, 0}) {
        ChooseFilter(index);
        EXPECT_EQ(Tree().filterIndex, index);
        EXPECT_EQ(Tree().GetChildrenCount(CurrentDirItem()), listed);
    }
}

TEST_F(EncryptDialogTest, F1ShowsHelpOnlyWithoutModifiers) {
    const std::string help =
        "Help:\n1.If you select one file like 'xxx.txt',only one file like 'xxx.ser', will be "
        "generated.\n\tIf you select a directory, which include several files like "
        "'xxxxx.txt',\n\tall of those files in this layer will be encrypted,\n\tand the files "
        "name type will be replaced by 'xxxxx.ser'\n2.The length of encrypt key must be "
        "16!\n3.File type filter will allow some sepcial file type show!";
    const struct {
        const char* name;
        bool shift, control, alt;
        std::vector<std::string> expected;
    } cases[] = {
        {"F1", false, false, false, {help}},
        {"Shift+F1", true, false, false, {}},
        {"Ctrl+F1", false, true, false, {}},
        {"Alt+F1", false, false, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.messages.clear();
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = WXK_F1;
        key.SetShiftDown(c.shift);
        key.SetControlDown(c.control);
        key.SetAltDown(c.alt);
        key.SetEventObject(&Dialog());
        Dialog().ProcessWindowEvent(key);
        EXPECT_EQ(recorder.Texts(), c.expected);
    }
}

// "Exit", Escape and the close box end the modal dialog with no message.
TEST_F(EncryptDialogTest, ExitEscapeAndCloseEndTheDialogSilently) {
    const struct {
        const char* name;
        std::function<void(EncryptDialog&)> act;
    } cases[] = {
        {"Exit",
         [](EncryptDialog& d) {
             wxWindow* exit = d.FindWindow(EncryptDialog::ID_EXIT);
             wxCommandEvent click(wxEVT_BUTTON, EncryptDialog::ID_EXIT);
             click.SetEventObject(exit);
             exit->ProcessWindowEvent(click);
         }},
        {"Escape",
         [](EncryptDialog& d) {
             wxKeyEvent key(wxEVT_CHAR_HOOK);
             key.m_keyCode = WXK_ESCAPE;
             key.SetEventObject(&d);
             d.ProcessWindowEvent(key);
         }},
        {"close box", [](EncryptDialog& d) { d.Close(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EncryptDialog modal(nullptr, services);
        modal.CallAfter([&] {
            c.act(modal);
            // Still shown (wxMSW leaves the dialog modal until its loop has
            // ended): fail instead of hanging.
            if (modal.IsShown()) {
                modal.EndModal(wxID_ABORT);
            }
        });
        EXPECT_EQ(modal.ShowModal(), wxID_CANCEL);
        EXPECT_EQ(recorder.Texts(), std::vector<std::string>{});
    }
}

// Every result has its own text.
TEST(ResultMessageTest, EveryResultHasItsText) {
    const struct {
        EncryptResult result;
        std::string expected;
    } cases[] = {
        {EncryptResult::Done, "AES-CBC-128 encptry file d/a.txt successful!"},
        {EncryptResult::OpenFailed, "OpenFile d/a.txt error!"},
        {EncryptResult::TooLarge, "File length is too big. Max length is 0x16000"},
        {EncryptResult::WriteFailed, "WriteFile d/a.txt error!"},
        {EncryptResult::ReadFailed, "ReadFile d/a.txt error!"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResultMessage(c.result, "d/a.txt"), c.expected);
    }
}

}  // namespace
}  // namespace velmora::desktop
