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

/// Client size of the dialog, in dialog units.
constexpr int WIDTH_IN_DIALOG_UNITS = 295;
constexpr int HEIGHT_IN_DIALOG_UNITS = 221;

enum class ControlKind { PushButton, FolderTree, GroupBox, Label, TextField, ComboBox };

/// One control of the dialog: its kind, id and text, and its rectangle in
/// dialog units.
struct ControlLayout {
    ControlKind kind;
    int id;
    const char* text;
    int x;
    int y;
    int width;
    int height;
};

/// The dialog's controls, in tab order. The filter box's height includes its
/// dropped-down list; the box itself keeps its natural height.
constexpr ControlLayout CONTROLS[] = {
    {ControlKind::PushButton, EncryptDialog::ID_ENCRYPT, "Encrypt", 180, 192, 50, 14},
    {ControlKind::FolderTree, EncryptDialog::ID_FOLDER_TREE, "", 14, 46, 266, 128},
    {ControlKind::GroupBox, wxID_ANY, "Encrypt", 7, 181, 277, 28},
    {ControlKind::Label, wxID_ANY, "Input Encrypt Key:", 14, 193, 73, 8},
    {ControlKind::TextField, EncryptDialog::ID_KEY_TEXT, "", 87, 192, 88, 13},
    {ControlKind::GroupBox, wxID_ANY, "Source Folder", 7, 6, 277, 174},
    {ControlKind::PushButton, EncryptDialog::ID_EXIT, "Exit", 234, 192, 46, 14},
    {ControlKind::GroupBox, wxID_ANY, "Filter", 13, 16, 266, 26},
    {ControlKind::ComboBox, EncryptDialog::ID_FILTER_BOX, "", 83, 24, 190, 49},
    {ControlKind::Label, wxID_ANY, "Show File Type:", 19, 25, 63, 11},
};

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

void EncryptDialog::CreateControls() {
    SetClientSize(wxDLG_UNIT(this, wxSize(WIDTH_IN_DIALOG_UNITS, HEIGHT_IN_DIALOG_UNITS)));
    for (const ControlLayout& control : CONTROLS) {
        const wxPoint position = wxDLG_UNIT(this, wxPoint(control.x, control.y));
        const wxSize size = wxDLG_UNIT(this, wxSize(control.width, control.height));
        switch (control.kind) {
            case ControlKind::PushButton:
                new wxButton(this, control.id, control.text, position, size);
                break;
            case ControlKind::FolderTree:
                folderTree =
                    new FolderTree(this, control.id, services.shell, services.search, position,
                                   size, FolderTree::DEFAULT_STYLE | wxBORDER_SIMPLE);
                break;
            case ControlKind::GroupBox:
                new wxStaticBox(this, control.id, control.text, position, size);
                break;
            case ControlKind::Label:
                new wxStaticText(this, control.id, control.text, position, size,
                                 wxST_NO_AUTORESIZE);
                break;
            case ControlKind::TextField:
                keyField = new wxTextCtrl(this, control.id, control.text, position, size);
                break;
            case ControlKind::ComboBox:
                filterBox = new wxComboBox(this, control.id, control.text, position,
                                           wxSize(size.GetWidth(), -1), 0, nullptr, wxCB_DROPDOWN);
                break;
        }
    }

    // Enter clicks "Encrypt"; both buttons look like default buttons, as far
    // as the platform lets them, until the focus moves on.
    auto* encryptButton = static_cast<wxButton*>(FindWindow(ID_ENCRYPT));
    encryptButton->SetDefault();
    platform::AddDefaultPushButtonStyle(static_cast<wxButton*>(FindWindow(ID_EXIT)));
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
