#include "tests/desktop/fake_shell.h"

#include <filesystem>

#include "tests/desktop/colour_art_provider.h"

namespace velmora::testing {

platform::ShellItemInfo FakeShell::Describe(const std::string& path) const {
    platform::ShellItemInfo info;
    const std::string name = std::filesystem::path(path).filename().string();
    info.displayName = displayName(name.empty() ? path : name);
    std::error_code ignored;
    info.isDirectory = std::filesystem::is_directory(path, ignored);
    const unsigned id = IdOf(path);
    info.iconNames = {ColourArtProvider::NameFor(2 * id)};
    info.openIconNames = {ColourArtProvider::NameFor(2 * id + 1)};
    return info;
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
