#pragma once

#include <functional>
#include <string>

#include "platform/folder_search.h"

namespace velmora::desktop {

/// Receives one message for the user; returns once the user has seen it.
using ShowMessageFn = std::function<void(const std::string& text)>;

/// Encrypts what a tree path names and reports every file through `show`,
/// each report made before the next file is touched.
///
/// A path containing ".txt" or ".TXT" is taken as one file. Any other path
/// is a folder (ending in '/', or empty for the current directory): every
/// entry of path + "*.txt" that is not a folder and whose name ends in
/// exactly ".txt" is encrypted, in the order the search returns them; a
/// failed file never stops the others. A folder without such entries, or
/// one that cannot be searched, reports nothing.
void EncryptSelection(const unsigned char* key, const std::string& path,
                      const platform::FolderSearch& search, const ShowMessageFn& show);

}  // namespace velmora::desktop
