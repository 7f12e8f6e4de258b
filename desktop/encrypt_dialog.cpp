#include "desktop/encrypt_dialog.h"

#include <string>

#include <wx/statbox.h>
#include <wx/stattext.h>

#include "core/encrypt.h"
#include "desktop/app_icon.h"
#include "desktop/display_text.h"
#include "desktop/encrypt_selection.h"
#include "desktop/help_text.h"
#include "desktop/message_box.h"

namespace velmora::desktop {
namespace {

// Client size of the dialog, in dialog units.
constexpr int kDialogWidth = 295;
constexpr int kDialogHeight = 221;

const char* const kFilterNames[] = {"Text file(*.txt)", "Text file(*.ser)", "All file(*.*)"};

// The rectangle x, y, width, height in dialog units, in pixels of `window`.
wxRect DialogUnitRect(wxWindow* window, int x, int y, int width, int height) {
    return wxRect(wxDLG_UNIT(window, wxPoint(x, y)), wxDLG_UNIT(window, wxSize(width, height)));
}

}  // namespace

EncryptDialog::EncryptDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, "Velmora", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      appIcon(LoadAppIcon()) {
    CreateControls();
    InitControls();
}

// Creates the controls in tab order, at the rectangles of the original
// template.
void EncryptDialog::CreateControls() {
    SetClientSize(wxDLG_UNIT(this, wxSize(kDialogWidth, kDialogHeight)));

    wxRect r = DialogUnitRect(this, 180, 192, 50, 14);
    auto* encryptButton = new wxButton(this, wxID_OK, "Encrypt", r.GetPosition(), r.GetSize());

    r = DialogUnitRect(this, 14, 46, 266, 128);
    folderTree = new FolderTree(this, ID_FOLDER_TREE, r.GetPosition(), r.GetSize(),
                                FolderTree::kDefaultStyle | wxBORDER_SIMPLE);

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
    new wxButton(this, wxID_CANCEL, "Exit", r.GetPosition(), r.GetSize());

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

    encryptButton->SetDefault();
    encryptButton->SetFocus();
}

void EncryptDialog::InitControls() {
    keyField->SetMaxLength(KEY_FIELD_MAX_CHARS);
    SetIcons(appIcon);
    for (const char* name : kFilterNames) {
        filterBox->Append(name);
    }
    filterBox->SetSelection(0);
    folderTree->Initialize(true);

    Bind(wxEVT_BUTTON, &EncryptDialog::OnOK, this, wxID_OK);
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
    const wxScopedCharBuffer key = keyText.utf8_str();
    if (key.length() != KEY_BYTES) {
        ShowMessageBox(this, "Please input encrpty key,Length must be 16!");
        return;
    }
    if (!item.IsOk()) {
        ShowMessageBox(this, "No Item Selected...");
        return;
    }
    EncryptSelection(reinterpret_cast<const unsigned char*>(key.data()),
                     folderTree->GetItemPath(item), folderSearch, [this](const std::string& text) {
                         ShowMessageBox(this, ToDisplayText(text));
                     });
}

void EncryptDialog::OnKeyUpdate(wxCommandEvent&) {
    keyText = keyField->GetValue();
}

void EncryptDialog::OnFilterChange(wxCommandEvent&) {
    folderTree->filterIndex = filterBox->GetSelection();
}

void EncryptDialog::OnShowHelp(wxCommandEvent&) {
    ShowMessageBox(this, HELP_TEXT);
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
