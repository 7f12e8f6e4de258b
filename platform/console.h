#pragma once

#include <cstdio>
#include <string_view>

namespace velmora::platform {

/// Writes `text` (held as paths are) to `stream` in the encoding its reader
/// expects (the console's code page on Windows, the bytes as they are
/// elsewhere) and flushes it, so that it is out before anything else
/// happens.
void WriteText(std::FILE* stream, std::string_view text);

}  // namespace velmora::platform
