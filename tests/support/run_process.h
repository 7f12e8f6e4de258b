#pragma once

#include <string>
#include <vector>

#include "tests/support/ser_reader.h"

namespace velmora::testing {

struct ProcessResult {
    std::string out;  ///< everything written to standard output
    std::string err;  ///< everything written to standard error
    int exitStatus = -1;
};

/// Runs `argv` (argv[0] is the program path and its name as invoked; all in
/// UTF-8) in the folder `workingDir` with standard input closed, and waits
/// for it.
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& workingDir);

}  // namespace velmora::testing
