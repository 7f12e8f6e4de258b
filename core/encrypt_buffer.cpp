#include <cstring>
#include <new>

#include "core/encrypt.h"
#include "platform/cipher.h"

namespace velmora {

unsigned PadWithSpaces(unsigned char* buffer, unsigned length, unsigned blockSize) {
    const auto pad = static_cast<unsigned char>(blockSize - length % blockSize);
    if (pad != 0) {
        std::memset(buffer + length, ' ', pad);
    }
    return length + pad;
}

int EncryptBuffer(const unsigned char* key, unsigned char* plaintext, unsigned length,
                  CipherBuffer& outData, unsigned& outLength) {
    const unsigned paddedLength = PadWithSpaces(plaintext, length, BLOCK_BYTES);
    if (key == nullptr) {
        return 0;
    }
    CipherBuffer cipher(new (std::nothrow) unsigned char[paddedLength + 4]);
    if (cipher) {
        std::memset(cipher.get(), 0, paddedLength);
    }
    if (!cipher || !platform::EncryptAes128CbcZeroIv(key, plaintext, paddedLength, cipher.get())) {
        outData.reset();
        outLength = 0;
        return 0;
    }
    outData = std::move(cipher);
    outLength = paddedLength;
    return 1;
}

}  // namespace velmora
