#pragma once

// The fixture of the main dialog's tests: the dialog in-process, with real
// widgets; every message box it shows goes to a recording fake of the
// system's message boxes and is checked for text, caption, owner and order.
#include <gtest/gtest.h>
#include <wx/app.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "desktop/encrypt_dialog.h"
#include "platform/file_system.h"
#include "platform/folder_search.h"
#include "platform/path.h"
#include "platform/wx/shell.h"
#include "tests/desktop/message_recorder.h"
#include "tests/desktop/test_program.h"
#include "tests/desktop/tree_items.h"
#include "tests/support/run_process.h"
#include "tests/support/temp_dir.h"

namespace velmora::desktop {

namespace fs = std::filesystem;
using testing::DecryptWithOpenssl;
using testing::MessageRecorder;
using testing::Padded;
using testing::ReadFile;
using testing::ShownMessage;
using testing::TempDir;

inline const std::string KEY = "0123456789abcdef";
inline const std::string KEY_MESSAGE = "Please input encrpty key,Length must be 16!";
inline const std::string NO_ITEM = "No Item Selected...";
inline const std::string TOO_BIG = "File length is too big. Max length is 0x16000";

inline std::string Success(const std::string& path) {
    return "AES-CBC-128 encptry file " + path + " successful!";
}

inline std::set<std::string> FileNames(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(testing::FromUtf8(folder))) {
        names.insert(testing::ToUtf8(entry.path().filename()));
    }
    return names;
}

// Makes a fresh temporary folder the current directory before the dialog
// (and so its tree) is built, and restores the old one afterwards.
class EncryptDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        oldCwd = fs::current_path();
        fs::current_path(dir.Path());
        cwd = testing::ToUtf8(fs::current_path());
    }

    void TearDown() override {
        // The boxes themselves (OK only, no icon, modal) are the system's:
        // see message_box_*_test.cpp.
        for (const auto& message : recorder.messages) {
            EXPECT_EQ(message.caption,
                      testing::ToUtf8(testing::FromUtf8(testing::TestProgramPath()).stem()))
                << "caption = program file name without extension";
            EXPECT_EQ(message.owner, dialog.get()) << message.text;
        }
        EXPECT_EQ(recorder.strayDialogs, std::vector<std::string>{})
            << "every message goes through the message boxes handed in";
        dialog.reset();
        fs::current_path(oldCwd);
    }

    EncryptDialog& Dialog() {
        if (!dialog) {
            dialog = std::make_unique<EncryptDialog>(nullptr, services);
            dialog->Show();
        }
        return *dialog;
    }
    FolderTree& Tree() { return *Dialog().folderTree; }
    /// "Drives" and the current directory, the tree's top-level items.
    wxTreeItemId DrivesItem() { return testing::DrivesItem(Tree()); }
    wxTreeItemId CurrentDirItem() { return testing::CurrentDirItem(Tree()); }

    void SetKey(const std::string& key) { Dialog().KeyField()->SetValue(wxString::FromUTF8(key)); }

    std::vector<std::string> ClickEncrypt() {
        recorder.messages.clear();
        wxWindow* button = Dialog().FindWindow(EncryptDialog::ID_ENCRYPT);
        wxCommandEvent click(wxEVT_BUTTON, EncryptDialog::ID_ENCRYPT);
        click.SetEventObject(button);
        button->ProcessWindowEvent(click);
        return recorder.Texts();
    }

    void ChooseFilter(int index) {
        wxComboBox* box = Dialog().filterBox;
        box->SetSelection(index);
        wxCommandEvent change(wxEVT_COMBOBOX, box->GetId());
        change.SetInt(index);
        change.SetEventObject(box);
        box->ProcessWindowEvent(change);
    }

    wxTreeItemId Child(const wxTreeItemId& parent, const std::string& text) {
        const wxTreeItemId item = testing::ChildWithText(Tree(), parent, text);
        if (!item.IsOk()) {
            ADD_FAILURE() << "no item " << text;
        }
        return item;
    }

    // Expands the current-directory root and the folders in `names` below
    // it, then selects the last one.
    void Select(const std::vector<std::string>& names) {
        wxTreeItemId item = CurrentDirItem();
        for (const auto& name : names) {
            Tree().Expand(item);
            item = Child(item, name);
            ASSERT_TRUE(item.IsOk());
        }
        Tree().SelectItem(item);
    }

    /// Presses Tab as the system delivers it to the control that has the
    /// focus, and waits until the focus has moved (or a while). Defined with
    /// the platform's own cases.
    void PressTab();

    /// The dialog's control that has the keyboard focus (it or a window
    /// inside it, such as the edit field of the filter box); null if none.
    wxWindow* FocusedControl() {
        wxWindow* window = wxWindow::FindFocus();
        while (window != nullptr && window->GetParent() != &Dialog()) {
            window = window->GetParent();
        }
        return window;
    }

    /// The path of `relative` (written with '/') in the current directory,
    /// as the dialog reports it.
    std::string In(const std::string& relative) const {
        return cwd + platform::PATH_SEPARATOR + testing::Native(relative);
    }

    // The real services, as the program makes them.
    const std::unique_ptr<platform::Shell> shell = platform::NewSystemShell();
    const platform::RealFolderSearch search;
    platform::RealFileSystem files;
    MessageRecorder recorder;
    const DesktopServices services{*shell, search, files, recorder};

    TempDir dir;
    std::string cwd;

  private:
    fs::path oldCwd;
    std::unique_ptr<EncryptDialog> dialog;
};

}  // namespace velmora::desktop
