#pragma once

#include <string>
#include <vector>

namespace velmora::platform {

/// The program's arguments, argv[0] included, held as paths are: the bytes
/// the system gives on POSIX systems; UTF-8 converted from the wide command
/// line on Windows, where argc and argv are not used.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace velmora::platform
