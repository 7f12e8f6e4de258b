#include "tests/desktop/fake_shell.h"

#include <filesystem>

#include "platform/path.h"
#include "tests/desktop/colour_bitmap.h"
#include "tests/support/temp_dir.h"

namespace velmora::testing {

#ifdef _WIN32
const std::string FakeShell::ROOT_VOLUME = "C:\\";
#else
const std::string FakeShell::ROOT_VOLUME = "/";
#endif

platform::ShellItemInfo FakeShell::Describe(const std::string& path) const {
    platform::ShellItemInfo info;
    const std::string name = ToUtf8(FromUtf8(path).filename());
    info.displayName = displayName(name.empty() ? path : name);
    const unsigned id = IdOf(path);
    info.icon = ColourBitmap(2 * id, SmallIconSize());
    info.openIcon = ColourBitmap(2 * id + 1, SmallIconSize());
    return info;
}

wxBitmap FakeShell::CurrentDirectoryIcon() const {
    return ColourBitmap(CURRENT_DIRECTORY_CODE, SmallIconSize());
}

wxBitmap FakeShell::DrivesIcon() const {
    return ColourBitmap(DRIVES_CODE, SmallIconSize());
}

unsigned FakeShell::IdOf(const std::string& path) const {
    std::string key = path;
    while (key.size() > 1 && (key.back() == '/' || key.back() == platform::PATH_SEPARATOR)) {
        key.pop_back();
    }
    // Ids start at 1, so that no item's icon is the black of an empty bitmap.
    return ids.try_emplace(key, static_cast<unsigned>(ids.size() + 1)).first->second;
}

}  // namespace velmora::testing
