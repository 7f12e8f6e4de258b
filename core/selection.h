#pragma once

#include <string_view>

namespace velmora {

/// True when `text` ends in exactly `suffix`, compared byte for byte.
inline bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

/// True when a target path names one text file rather than a folder: it holds
/// ".txt" or ".TXT" anywhere (mixed case such as ".Txt" does not count).
inline bool NamesSingleTextFile(std::string_view path) {
    return path.find(".txt") != std::string_view::npos ||
           path.find(".TXT") != std::string_view::npos;
}

/// True when a folder entry's path is a text file to encrypt: it ends in
/// exactly ".txt" (the folder search itself ignores letter case).
inline bool IsTextFileEntry(std::string_view entryPath) {
    return EndsWith(entryPath, ".txt");
}

}  // namespace velmora
