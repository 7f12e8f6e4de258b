#pragma once

#include <wx/msw/wrapwin.h>
// shellapi.h needs the types of windows.h first.
#include <shellapi.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/wx/shell.h"

namespace velmora::platform {

/// The Windows shell: display names and small icons (normal, and open for
/// folders) from SHGetFileInfoW,
/// drives from GetLogicalDriveStringsW, the two stock icons from shell32.dll.
/// Icons are the system's small icon size (SM_CXSMICON x SM_CYSMICON); each
/// picture of the system image list is copied once and then shared.
class WindowsShell : public Shell {
  public:
    /// Index of the stock icons in shell32.dll (ExtractIconExW counts icon
    /// groups from 0): the current-directory root's and that of "Drives".
    static constexpr int CURRENT_DIRECTORY_ICON_INDEX = 264;
    static constexpr int DRIVES_ICON_INDEX = 15;

    WindowsShell();

    wxSize SmallIconSize() const override { return iconSize; }
    ShellItemInfo Describe(const std::string& path) const override;
    std::vector<std::string> VolumeRoots() const override;
    wxBitmap CurrentDirectoryIcon() const override;
    wxBitmap DrivesIcon() const override;

  private:
    /// The small icon of `path` whose index in the system image list
    /// SHGetFileInfoW gave in `info` (with SHGFI_OPENICON as `openFlag`, or
    /// 0): copied from the icon handle the first time, when the handle is
    /// destroyed, and shared afterwards.
    /// With `typeAttributes` (see TypeAttributes), the icon of the path's
    /// kind.
    wxBitmap IconOf(const std::wstring& path, const SHFILEINFOW& info, UINT openFlag,
                    DWORD typeAttributes) const;
    /// The attributes that describe `path` (whose attributes on disk are
    /// `attributes`) as well as the path itself, for SHGFI_USEFILEATTRIBUTES:
    /// FILE_ATTRIBUTE_DIRECTORY for a folder that cannot have a name or icon
    /// of its own, FILE_ATTRIBUTE_NORMAL for a file whose icon comes from its
    /// type; 0 when the shell has to look at the path itself.
    DWORD TypeAttributes(const std::string& path, DWORD attributes) const;
    /// Whether every file with this extension (".txt") has the icon of its
    /// type, by the registry's file types.
    bool IconComesFromType(const std::wstring& extension) const;

    wxSize iconSize;
    mutable std::map<std::pair<int, bool>, wxBitmap> icons;
    mutable std::map<std::wstring, bool> iconFromType;
    /// The system image list's index of the icon of every path described by
    /// its kind, by extension and type attributes.
    mutable std::map<std::pair<std::wstring, DWORD>, int> typeIconIndexes;
    mutable wxBitmap plainFolderOpenIcon;
};

}  // namespace velmora::platform
