#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "core/encrypt_target.h"

namespace velmora::cli {

/// Runs velmora-cli on its arguments (the program name first, then the key
/// and the target): checks them, encrypts one file or every "*.txt" file
/// directly inside a folder, and reports on `out`, each message flushed as
/// it is written; a folder that could not be flushed at the end is named on
/// `err`. Returns the exit status: 0, whatever failed.
int RunCommandLine(const std::vector<std::string>& arguments, const TargetServices& services,
                   std::FILE* out, std::FILE* err);

/// Prints the usage text with `programName` in it.
void PrintUsage(const std::string& programName, std::FILE* out);

}  // namespace velmora::cli
