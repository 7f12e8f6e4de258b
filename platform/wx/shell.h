#pragma once

#include <wx/bitmap.h>
#include <wx/gdicmn.h>

#include <memory>
#include <string>
#include <vector>

namespace velmora::platform {

/// What the desktop shell says about one path.
struct ShellItemInfo {
    /// Name to show (UTF-8); empty when the shell knows none.
    std::string displayName;
    /// Small icon, and small icon in the open state (a folder's open icon);
    /// both exactly SmallIconSize().
    wxBitmap icon;
    wxBitmap openIcon;
};

/// The desktop's own view of the file system: display names, icons and the
/// volumes ("drives") a user should see.
class Shell {
  public:
    virtual ~Shell() = default;

    /// The size of every icon this shell hands out.
    virtual wxSize SmallIconSize() const = 0;

    /// Display name and icons of a path. A path the shell cannot read still
    /// gets icons (generic ones) and, where it can, a name.
    virtual ShellItemInfo Describe(const std::string& path) const = 0;

    /// Root paths of the volumes to list, in the system's order, each ending
    /// in the path separator ("/" first on Linux; "C:\" and so on on Windows).
    virtual std::vector<std::string> VolumeRoots() const = 0;

    /// The stock icon of the current-directory root, and that of "Drives".
    virtual wxBitmap CurrentDirectoryIcon() const = 0;
    virtual wxBitmap DrivesIcon() const = 0;
};

/// The shell of the desktop the program runs on.
std::unique_ptr<Shell> NewSystemShell();

}  // namespace velmora::platform
