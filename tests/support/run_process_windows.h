#pragma once

#include <string>
#include <vector>

namespace velmora::testing {

/// Runs `argv` as RunProcess does, but with standard output and standard
/// error both going to the file `outputPath` (made anew), as a redirection
/// on Windows gives a program a file rather than a pipe. Returns the exit
/// code, -1 when the file or the process could not be made.
int RunProcessIntoFile(const std::vector<std::string>& argv, const std::string& workingDir,
                       const std::string& outputPath);

}  // namespace velmora::testing
