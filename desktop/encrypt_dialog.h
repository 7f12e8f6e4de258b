#pragma once

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/iconbndl.h>
#include <wx/string.h>
#include <wx/textctrl.h>

#include "desktop/desktop_services.h"
#include "desktop/folder_tree.h"

namespace velmora::desktop {

/// The program's main dialog: the folder tree with its file-type filter, the
/// key field, "Encrypt" and "Exit". Encrypt reports every file in a message
/// box of its own and leaves the dialog open; "Exit", Escape and the close
/// box end it with wxID_CANCEL. F1 shows the help text. It is laid out in the
/// platform's dialog font (platform::DialogFont), in dialog units.
class EncryptDialog : public wxDialog {
  public:
    /// Control identifiers, which other programs see on Windows: "Encrypt"
    /// and "Exit" are the system's IDOK and IDCANCEL.
    enum ControlId : int {
        ID_ENCRYPT = 1,
        ID_EXIT = 2,
        ID_FOLDER_TREE = 1000,
        ID_KEY_TEXT = 1003,
        ID_FILTER_BOX = 1007
    };

    /// Exactly this many characters can be typed into the key field.
    static constexpr int KEY_FIELD_MAX_CHARS = 16;

    /// The services must outlive the dialog.
    EncryptDialog(wxWindow* parent, const DesktopServices& services);

    FolderTree* folderTree = nullptr;
    /// The key field's current text, updated on every change of the field.
    wxString keyText;
    wxComboBox* filterBox = nullptr;
    wxIconBundle appIcon;

    wxTextCtrl* KeyField() const { return keyField; }

    /// The Encrypt flow ("Encrypt", or Enter in the key field).
    void OnOK(wxCommandEvent& event);
    void OnKeyUpdate(wxCommandEvent& event);
    void OnFilterChange(wxCommandEvent& event);
    void OnShowHelp(wxCommandEvent& event);

  private:
    void CreateControls();
    void InitControls();
    void OnCharHook(wxKeyEvent& event);
    wxTreeItemId SelectedTreeItem() const;

    DesktopServices services;
    wxTextCtrl* keyField = nullptr;
};

}  // namespace velmora::desktop
