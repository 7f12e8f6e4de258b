#pragma once

#include <string>
#include <vector>

#include "platform/linux/themed_icon_cache.h"
#include "platform/shell.h"

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
    static constexpr int kIconSize = 16;

    wxSize SmallIconSize() const override { return wxSize(kIconSize, kIconSize); }
    ShellItemInfo Describe(const std::string& path) const override;
    std::vector<std::string> VolumeRoots() const override;
    wxBitmap CurrentDirectoryIcon() const override;
    wxBitmap DrivesIcon() const override;

    /// The themed icon names Describe renders for `path`. A path ending in
    /// '/' is taken as the root of a volume and gets a drive icon.
    static ThemedIconNames IconNamesOf(const std::string& path);

  private:
    mutable ThemedIconCache icons_{kIconSize};
};

}  // namespace velmora::platform
