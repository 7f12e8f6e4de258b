#pragma once

#include <string>
#include <vector>

namespace velmora::platform {

/// What the desktop shell says about one path.
struct ShellItemInfo {
    /// Name to show (UTF-8); empty when the shell knows none.
    std::string displayName;
    /// Themed icon names for the item, best first.
    std::vector<std::string> iconNames;
    /// Themed icon names for the item in its open state, best first.
    std::vector<std::string> openIconNames;
    bool isDirectory = false;
};

/// The desktop's own view of the file system: display names, icons and the
/// volumes a user should see.
class Shell {
  public:
    virtual ~Shell() = default;

    /// Display name and icons of a path; a path the shell cannot read yields
    /// an info without display name and icons.
    virtual ShellItemInfo Describe(const std::string& path) const = 0;

    /// Root paths of the volumes to list: "/" first, then the mount points a
    /// user should see, each ending in '/'.
    virtual std::vector<std::string> VolumeRoots() const = 0;
};

}  // namespace velmora::platform
