#pragma once

#include <array>
#include <string_view>

// The entries' texts are kept byte for byte; see docs/behaviour.md.

namespace velmora::desktop {

/// The dialog's file-type filter: its entries in list order, whose index is
/// the tree's filterIndex, and which files each entry lets the tree list.
struct FileFilter {
    static constexpr int TEXT_FILES = 0;
    static constexpr int SER_FILES = 1;
    static constexpr int ALL_FILES = 2;

    /// The entries of the filter list, by index.
    static constexpr std::array<const char*, 3> NAMES = {"Text file(*.txt)", "Text file(*.ser)",
                                                         "All file(*.*)"};

    /// Whether a file with this name on disk is listed under filter `index`:
    /// TEXT_FILES, names ending in ".txt"; SER_FILES, names ending in ".ser"
    /// (byte for byte, so "B.TXT" is not listed); any other index (-1 when
    /// the list has no selection) lists every file.
    static bool Shows(int index, std::string_view fileName);
};

}  // namespace velmora::desktop
