#include "tests/desktop/fake_shell.h"

#include <filesystem>

#include "tests/desktop/colour_bitmap.h"

namespace velmora::testing {

platform::ShellItemInfo FakeShell::Describe(const std::string& path) const {
    platform::ShellItemInfo info;
    const std::string name = std::filesystem::path(path).filename().string();
    info.displayName = displayName(name.empty() ? path : name);
    const unsigned id = IdOf(path);
    info.icon = ColourBitmap(2 * id, SmallIconSize());
    info.openIcon = ColourBitmap(2 * id + 1, SmallIconSize());
    return info;
}

wxBitmap FakeShell::CurrentDirectoryIcon() const {
    return ColourBitmap(kCurrentDirectoryCode, SmallIconSize());
}

wxBitmap FakeShell::DrivesIcon() const {
    return ColourBitmap(kDrivesCode, SmallIconSize());
}

unsigned FakeShell::IdOf(const std::string& path) const {
    std::string key = path;
    while (key.size() > 1 && key.back() == '/') {
        key.pop_back();
    }
    // Ids start at 1, so that no item's icon is the black of an empty bitmap.
    return ids_.try_emplace(key, static_cast<unsigned>(ids_.size() + 1)).first->second;
}

}  // namespace velmora::testing
