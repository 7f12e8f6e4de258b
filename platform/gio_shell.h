#pragma once

#include "platform/shell.h"

namespace velmora::platform {

/// The shell of a Linux desktop, through GIO: display names and themed icons
/// from g_file_query_info, volumes from the Unix mount table.
class GioShell : public Shell {
  public:
    ShellItemInfo Describe(const std::string& path) const override;
    std::vector<std::string> VolumeRoots() const override;
};

}  // namespace velmora::platform
