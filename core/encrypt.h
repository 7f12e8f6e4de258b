#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "core/key.h"
#include "platform/file_system.h"

namespace velmora {

/// Size of the input buffer of EncryptTextFile. A read that fills it is
/// refused, so the largest accepted input is MAX_INPUT_BYTES - 1 bytes.
inline constexpr std::size_t MAX_INPUT_BYTES = 0x16000;

/// AES block size, in bytes.
inline constexpr std::size_t BLOCK_BYTES = 16;

/// Outcome of EncryptTextFile. The values are part of the interface: the
/// front ends map each of them to a message of their own.
enum class EncryptResult : int {
    Done = 0,          ///< the .ser file was written
    OpenFailed = -1,   ///< the input cannot be opened or is not a regular file
    TooLarge = -2,     ///< the input holds MAX_INPUT_BYTES bytes or more
    WriteFailed = -3,  ///< the output cannot be written whole, or it is the input itself
    ReadFailed = -4,   ///< the input could not be read whole
};

/// Heap buffer holding ciphertext, as returned by EncryptBuffer.
using CipherBuffer = std::unique_ptr<unsigned char[]>;

/// Appends pad = blockSize - (length mod blockSize) bytes of 0x20 (pad taken
/// as an unsigned 8-bit value) at buffer[length] and returns length + pad.
/// With blockSize 16 the pad is always 1 to 16 bytes; the caller provides the
/// room for it.
unsigned PadWithSpaces(unsigned char* buffer, unsigned length, unsigned blockSize);

/// Pads `plaintext` in place with PadWithSpaces (the caller's buffer must have
/// room for up to 16 more bytes) and encrypts it with AES-128-CBC under the 16
/// bytes at `key` and an all-zero IV.
///
/// Returns 1 and sets outData to a new buffer of paddedLength + 4 bytes whose
/// first outLength = paddedLength bytes are the ciphertext. Returns 0 when
/// `key` is null (outputs untouched) or when memory or the cipher fails
/// (outData null, outLength 0).
int EncryptBuffer(const unsigned char* key, unsigned char* plaintext, unsigned length,
                  CipherBuffer& outData, unsigned& outLength);

/// The output path for an input path: every ".txt" (lower case, anywhere in
/// the path, left to right, without overlaps) replaced by ".ser".
std::string SerPathFor(const std::string& inputPath);

/// Encrypts the file at `inputPath` into the file named SerPathFor(inputPath),
/// through `files`. Prints nothing; the result says what happened.
///
/// The input is never modified. The output is replaced whole or not at all:
/// on any failure an existing output keeps its old content. An output name
/// that does not end in ".ser" is only ever created, never replaced, and an
/// output that is the input itself under another name is refused
/// (WriteFailed).
EncryptResult EncryptTextFile(const Key& key, const std::string& inputPath,
                              platform::FileSystem& files);

}  // namespace velmora
