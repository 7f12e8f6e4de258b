#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <climits>
#include <memory>

#include "platform/cipher.h"

namespace velmora::platform {
namespace {

struct CipherContextFree {
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }  // also wipes it
};

}  // namespace

bool EncryptAes128CbcZeroIv(const unsigned char* key, const unsigned char* in, std::size_t length,
                            unsigned char* out) {
    if (length > static_cast<std::size_t>(INT_MAX)) {
        return false;
    }
    const unsigned char iv[16] = {};
    std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree> ctx(EVP_CIPHER_CTX_new());
    int written = 0;
    int finalWritten = 0;
    return ctx && EVP_EncryptInit_ex(ctx.get(), EVP_aes_128_cbc(), nullptr, key, iv) == 1 &&
           EVP_CIPHER_CTX_set_padding(ctx.get(), 0) == 1 &&
           EVP_EncryptUpdate(ctx.get(), out, &written, in, static_cast<int>(length)) == 1 &&
           EVP_EncryptFinal_ex(ctx.get(), out + written, &finalWritten) == 1 &&
           static_cast<std::size_t>(written) + static_cast<std::size_t>(finalWritten) == length;
}

void SecureWipe(void* data, std::size_t length) {
    OPENSSL_cleanse(data, length);
}

}  // namespace velmora::platform
