#include "desktop/encrypt_dialog.h"

#include <string>

#include <wx/statbox.h>
#include <wx/stattext.h>

#include "core/encrypt_target.h"
#include "core/key.h"
#include "desktop/app_icon.h"
#include "desktop/file_filter.h"
#include "desktop/help_text.h"
#include "desktop/message_box.h"
#include "desktop/message_box_report.h"
#include "platform/key_text.h"
#include "platform/wx/dialog_style.h"
#include "platform/wx/system_menu.h"

// The message texts below are kept byte for byte, misspelling included
// ("encrpty"); see docs/behaviour.md.

namespace velmora::desktop {
namespace {

// The rectangle x, y, width, height in dialog units, in pixels of `window`.
wxRect DialogUnitRect(wxWindow* window, int x, int y, int width, int height) {
    return wxRect(wxDLG_UNIT(window, wxPoint(x, y)), wxDLG_UNIT(window, wxSize(width, height)));
}

}  // namespace

EncryptDialog::EncryptDialog(wxWindow* parent, const DesktopServices& services)
    : wxDialog(parent, wxID_ANY, "Velmora", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      appIcon(LoadAppIcon()),
      services(services) {
    // Before anything is laid out: the dialog units follow from the font.
    if (const wxFont font = platform::DialogFont(); font.IsOk()) {
        SetFont(font);
    }
    CreateControls();
    InitControls();
}

// Creates the controls in tab order, at the rectangles of the original
// template.
void EncryptDialog::CreateControls() {
    SetClientSize(wxDLG_UNIT(this, wxSize(kWidthInDialogUnits, kHeightInDialogUnits)));

    wxRect r = DialogUnitRect(this, 180, 192, 50, 14);
    auto* encryptButton = new wxButton(this, ID_ENCRYPT, "Encrypt", r.GetPosition(), r.GetSize());

    r = DialogUnitRect(this, 14, 46, 266, 128);
    folderTree =
        new FolderTree(this, ID_FOLDER_TREE, services.shell, services.search, r.GetPosition(),
                       r.GetSize(), FolderTree::kDefaultStyle | wxBORDER_SIMPLE);

    r = DialogUnitRect(this, 7, 181, 277, 28);
    new wxStaticBox(this, wxID_ANY, "Encrypt", r.GetPosition(), r.GetSize());

    r = DialogUnitRect(this, 14, 193, 73, 8);
    new wxStaticText(this, wxID_ANY, "Input Encrypt Key:", r.GetPosition(), r.GetSize(),
                     wxST_NO_AUTORESIZE);

    r = DialogUnitRect(this, 87, 192, 88, 13);
    keyField = new wxTextCtrl(this, ID_KEY_TEXT, wxEmptyString, r.GetPosition(), r.GetSize());

    r = DialogUnitRect(this, 7, 6, 277, 174);
    new wxStaticBox(this, wxID_ANY, "Source Folder", r.GetPosition(), r.GetSize());

    r = DialogUnitRect(this, 234, 192, 46, 14);
    auto* exitButton = new wxButton(this, ID_EXIT, "Exit", r.GetPosition(), r.GetSize());

    r = DialogUnitRect(this, 13, 16, 266, 26);
    new wxStaticBox(this, wxID_ANY, "Filter", r.GetPosition(), r.GetSize());

    // The original height (49) includes the dropped-down list; the control
    // keeps its natural height.
    r = DialogUnitRect(this, 83, 24, 190, 49);
    filterBox = new wxComboBox(this, ID_FILTER_BOX, wxEmptyString, r.GetPosition(),
                               wxSize(r.GetWidth(), -1), 0, nullptr, wxCB_DROPDOWN);

    r = DialogUnitRect(this, 19, 25, 63, 11);
    new wxStaticText(this, wxID_ANY, "Show File Type:", r.GetPosition(), r.GetSize(),
                     wxST_NO_AUTORESIZE);

    // Enter clicks "Encrypt"; both buttons look like default buttons, as far
    // as the platform lets them, until the focus moves on.
    encryptButton->SetDefault();
    platform::AddDefaultPushButtonStyle(exitButton);
    encryptButton->SetFocus();
    // Escape and the close box click "Exit", which ends the dialog.
    SetEscapeId(ID_EXIT);
}

void EncryptDialog::InitControls() {
    keyField->SetMaxLength(KEY_FIELD_MAX_CHARS);
    platform::AppendHelpItemToSystemMenu(GetHandle(), HELP_MENU_ITEM_TEXT);
    SetIcons(appIcon);
    for (const char* name : FileFilter::NAMES) {
        filterBox->Append(name);
    }
    // The tree filled itself when it was made, with filterIndex 0 to match.
    filterBox->SetSelection(FileFilter::TEXT_FILES);

    Bind(wxEVT_BUTTON, &EncryptDialog::OnOK, this, ID_ENCRYPT);
    Bind(wxEVT_TEXT, &EncryptDialog::OnKeyUpdate, this, ID_KEY_TEXT);
    Bind(wxEVT_COMBOBOX, &EncryptDialog::OnFilterChange, this, ID_FILTER_BOX);
    Bind(wxEVT_MENU, &EncryptDialog::OnShowHelp, this, wxID_HELP);
    Bind(wxEVT_CHAR_HOOK, &EncryptDialog::OnCharHook, this);

    Centre(wxBOTH);
}

// The generic tree keeps a current item even when nothing is selected: the
// hidden root right after it is filled, or an item that was unselected.
// Only a visible item that is selected counts.
wxTreeItemId EncryptDialog::SelectedTreeItem() const {
    const wxTreeItemId item = folderTree->GetSelection();
    const bool hiddenRoot =
        folderTree->HasFlag(wxTR_HIDE_ROOT) && item == folderTree->GetRootItem();
    if (!item.IsOk() || hiddenRoot || !folderTree->IsSelected(item)) {
        return {};
    }
    return item;
}

void EncryptDialog::OnOK(wxCommandEvent&) {
    const wxTreeItemId item = SelectedTreeItem();
    const std::optional<Key> key =
        Key::FromBytes(platform::KeyBytesFromText(keyText.utf8_string()));
    if (!key) {
        ShowMessageBox(services.messageBoxes, this, "Please input encrpty key,Length must be 16!");
        return;
    }
    if (!item.IsOk()) {
        ShowMessageBox(services.messageBoxes, this, "No Item Selected...");
        return;
    }
    MessageBoxReport report(services.messageBoxes, this);
    EncryptTarget(*key, folderTree->GetItemPath(item), FolderJoin::TargetEndsInSeparator,
                  services.ForEncryption(), report);
}

void EncryptDialog::OnKeyUpdate(wxCommandEvent&) {
    keyText = keyField->GetValue();
}

void EncryptDialog::OnFilterChange(wxCommandEvent&) {
    folderTree->filterIndex = filterBox->GetSelection();
}

void EncryptDialog::OnShowHelp(wxCommandEvent&) {
    ShowMessageBox(services.messageBoxes, this, HELP_TEXT);
}

// F1 without Shift, Ctrl or Alt asks for help; with any of them it does
// nothing at all. Every other key goes its usual way.
void EncryptDialog::OnCharHook(wxKeyEvent& event) {
    if (event.GetKeyCode() != WXK_F1) {
        event.Skip();
        return;
    }
    if ((event.GetModifiers() & (wxMOD_SHIFT | wxMOD_CONTROL | wxMOD_ALT)) == 0) {
        wxCommandEvent help(wxEVT_MENU, wxID_HELP);
        help.SetEventObject(this);
        ProcessWindowEvent(help);
    }
}

}  // namespace velmora::desktop
