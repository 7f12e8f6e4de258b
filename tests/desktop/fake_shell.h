#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace velmora::testing {

/// A shell with chosen display names and volumes. Every path gets icons of
/// its own (see ColourArtProvider): normal code 2 * id, open code 2 * id + 1.
class FakeShell : public platform::Shell {
  public:
    platform::ShellItemInfo Describe(const std::string& path) const override;
    std::vector<std::string> VolumeRoots() const override { return volumes; }

    /// The number the shell gave a path ("a/" and "a" are the same path).
    unsigned IdOf(const std::string& path) const;

    /// Display name for a name on disk; by default the name itself.
    std::function<std::string(const std::string&)> displayName = [](const std::string& name) {
        return name;
    };
    std::vector<std::string> volumes{"/"};

  private:
    mutable std::map<std::string, unsigned> ids_;
};

}  // namespace velmora::testing
