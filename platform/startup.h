#pragma once

namespace velmora::platform {

/// What a program does before anything else: the locale, the cipher
/// library, no system error boxes, and interruptions that leave no
/// temporary file behind (SIGINT, SIGTERM and SIGHUP, or Ctrl+C on Windows,
/// remove the file being written before the program ends as the signal
/// would; a file-size limit, or a reader of the output that went away,
/// makes a write fail instead of ending the program). Returns false when the program cannot work at
/// all.
bool StartUp();

}  // namespace velmora::platform
