#pragma once

#include <cstdio>

#include "platform/folder_search.h"

namespace velmora::cli {

/// Runs velmora-cli on its argument vector: checks the arguments, encrypts
/// one file or every "*.txt" file directly inside a folder, and reports on
/// `out`. Returns the exit status (0 in every case but a failed start-up).
int RunCommandLine(int argc, const char* const* argv, const platform::FolderSearch& search,
                   std::FILE* out);

/// Prints the usage text with `programName` in it.
void PrintUsage(const char* programName, std::FILE* out);

}  // namespace velmora::cli
