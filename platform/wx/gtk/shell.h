#pragma once

#include <string>
#include <vector>

#include "platform/wx/gtk/themed_icon_cache.h"
#include "platform/wx/shell.h"

namespace velmora::platform {

/// The icon theme's names for one path, best first, as GIO gives them.
struct ThemedIconNames {
    std::vector<std::string> icon;
    std::vector<std::string> openIcon;
    bool isDirectory = false;
};

/// The shell of a Linux desktop, through GIO: display names and themed icons
/// from g_file_query_info (rendered at 16 px from the icon theme), volumes
/// from the Unix mount table.
class GioShell : public Shell {
  public:
    static constexpr int ICON_SIZE = 16;

    wxSize SmallIconSize() const override { return wxSize(ICON_SIZE, ICON_SIZE); }
    ShellItemInfo Describe(const std::string& path) const override;
    std::vector<std::string> VolumeRoots() const override;
    wxBitmap CurrentDirectoryIcon() const override;
    wxBitmap DrivesIcon() const override;

    /// The themed icon names Describe renders for `path`. A path ending in
    /// '/' is taken as the root of a volume and gets a drive icon.
    static ThemedIconNames IconNamesOf(const std::string& path);

  private:
    mutable ThemedIconCache icons{ICON_SIZE};
};

}  // namespace velmora::platform
