#pragma once

#include <string>

namespace velmora::platform {

/// The process's current directory as the system reports it: no trailing
/// separator except at the root ("/", "C:\"); "" when it cannot be told
/// (it was removed, or it is longer than the system's limit).
std::string CurrentDirectory();

}  // namespace velmora::platform
