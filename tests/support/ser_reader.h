#pragma once

#include <string>

namespace velmora::testing {

/// `text` followed by its 1 to 16 padding spaces: what DecryptSerFile
/// returns for a .ser file made from `text`.
std::string Padded(std::string text);

/// Decrypts the .ser file at `path` (AES-128-CBC, all-zero IV, no padding
/// removed) under `key`, with a reader independent of the code under test:
/// `openssl enc -d` on POSIX systems, the system's CNG decryption on Windows.
/// A text in angle brackets when it cannot.
std::string DecryptSerFile(const std::string& path, const std::string& key);

/// The name the desktop tests know it by.
inline std::string DecryptWithOpenssl(const std::string& path, const std::string& key) {
    return DecryptSerFile(path, key);
}

}  // namespace velmora::testing
