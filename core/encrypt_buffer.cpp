#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <cstring>
#include <new>

#include "core/encrypt.h"

namespace velmora {
namespace {

struct CipherContextFree {
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }  // also wipes it
};

}  // namespace

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
    const unsigned char iv[BLOCK_BYTES] = {};

    CipherBuffer cipher(new (std::nothrow) unsigned char[paddedLength + 4]);
    std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree> ctx(EVP_CIPHER_CTX_new());
    if (!cipher || !ctx) {
        outData.reset();
        outLength = 0;
        return 0;
    }
    std::memset(cipher.get(), 0, paddedLength);

    int written = 0;
    int finalWritten = 0;
    const bool ok = EVP_EncryptInit_ex(ctx.get(), EVP_aes_128_cbc(), nullptr, key, iv) == 1 &&
                    EVP_CIPHER_CTX_set_padding(ctx.get(), 0) == 1 &&
                    EVP_EncryptUpdate(ctx.get(), cipher.get(), &written, plaintext,
                                      static_cast<int>(paddedLength)) == 1 &&
                    EVP_EncryptFinal_ex(ctx.get(), cipher.get() + written, &finalWritten) == 1 &&
                    static_cast<unsigned>(written + finalWritten) == paddedLength;
    if (!ok) {
        outData.reset();
        outLength = 0;
        return 0;
    }
    outData = std::move(cipher);
    outLength = paddedLength;
    return 1;
}

}  // namespace velmora
