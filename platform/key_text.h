#pragma once

#include <string>

namespace velmora::platform {

/// The bytes of a key the user typed as `text`, on the command line or in
/// the dialog's key field (`text` held as paths are: the system's bytes on
/// POSIX systems, UTF-8 on Windows): the text's own bytes on POSIX systems;
/// on Windows its characters in the active ANSI code page, where an "é" is
/// one byte.
std::string KeyBytesFromText(const std::string& text);

}  // namespace velmora::platform
