#pragma once

#include <string>
#include <vector>

namespace velmora::testing {

struct ProcessResult {
    std::string out;  ///< everything written to standard output
    std::string err;  ///< everything written to standard error
    int exitStatus = -1;
};

/// Runs `argv` (argv[0] is the program path and its name as invoked) in the
/// folder `workingDir` with standard input closed, and waits for it.
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& workingDir);

/// `text` followed by its 1 to 16 padding spaces: what DecryptWithOpenssl
/// returns for a .ser file made from `text`.
std::string Padded(std::string text);

/// Decrypts `path` with `openssl enc -d -aes-128-cbc -nopad` under `key` and
/// an all-zero IV: an independent reader of .ser files.
std::string DecryptWithOpenssl(const std::string& path, const std::string& key);

}  // namespace velmora::testing
