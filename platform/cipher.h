#pragma once

#include <cstddef>

namespace velmora::platform {

/// Encrypts `length` bytes (a whole number of 16-byte blocks) from `in` into
/// `out` with AES-128 in CBC mode under the 16 bytes at `key` and an all-zero
/// initialisation vector, without any padding of its own. `out` has room for
/// `length` bytes and may not overlap `in`. Returns false when the cipher
/// cannot be used; `out` then holds nothing of value.
///
/// Every key schedule and cipher state is wiped before the call returns.
bool EncryptAes128CbcZeroIv(const unsigned char* key, const unsigned char* in, std::size_t length,
                            unsigned char* out);

/// Overwrites `length` bytes at `data` with zeros in a way the compiler may
/// not leave out, for key and plaintext bytes that are about to be released.
void SecureWipe(void* data, std::size_t length);

}  // namespace velmora::platform
