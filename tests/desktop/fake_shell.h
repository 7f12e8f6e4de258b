#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/wx/shell.h"

namespace velmora::testing {

/// A shell with chosen display names and volumes. Every path gets icons of
/// its own, filled with one colour each (see ColourBitmap): normal code
/// 2 * id, open code 2 * id + 1; the two stock icons have fixed codes.
class FakeShell : public platform::Shell {
  public:
    static constexpr unsigned CURRENT_DIRECTORY_CODE = 0xFFFF00;
    static constexpr unsigned DRIVES_CODE = 0xFFFF01;
    /// The root of the system's first volume: "/", or "C:\" on Windows.
    static const std::string ROOT_VOLUME;

    wxSize SmallIconSize() const override { return wxSize(16, 16); }
    platform::ShellItemInfo Describe(const std::string& path) const override;
    std::vector<std::string> VolumeRoots() const override { return volumes; }
    wxBitmap CurrentDirectoryIcon() const override;
    wxBitmap DrivesIcon() const override;

    /// The number the shell gave a path ("a/" and "a" are the same path, as
    /// are "a\" and "a" on Windows).
    unsigned IdOf(const std::string& path) const;

    /// Display name for a name on disk; by default the name itself.
    std::function<std::string(const std::string&)> displayName = [](const std::string& name) {
        return name;
    };
    std::vector<std::string> volumes{ROOT_VOLUME};

  private:
    mutable std::map<std::string, unsigned> ids;
};

}  // namespace velmora::testing
