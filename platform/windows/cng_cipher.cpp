// AES-128-CBC through the system's own cipher library, CNG (bcrypt.dll).
#include <windows.h>
// bcrypt.h needs the types of windows.h first.
#include <bcrypt.h>

#include <climits>
#include <memory>
#include <new>

#include "platform/cipher.h"
#include "platform/windows/cng_cipher.h"

namespace velmora::platform {
namespace {

bool Succeeded(NTSTATUS status) {
    return status >= 0;
}

// The AES provider, set to CBC, opened once for the whole run and shared by
// every call: a provider handle may be used from several threads at once,
// key objects may not, so each call makes its own.
class AesProvider {
  public:
    AesProvider() {
        BCRYPT_ALG_HANDLE handle = nullptr;
        if (!Succeeded(::BCryptOpenAlgorithmProvider(&handle, BCRYPT_AES_ALGORITHM, nullptr, 0))) {
            return;
        }
        auto* const mode = reinterpret_cast<PUCHAR>(const_cast<wchar_t*>(BCRYPT_CHAIN_MODE_CBC));
        DWORD objectLength = 0;
        ULONG got = 0;
        if (!Succeeded(::BCryptSetProperty(handle, BCRYPT_CHAINING_MODE, mode,
                                           sizeof BCRYPT_CHAIN_MODE_CBC, 0)) ||
            !Succeeded(::BCryptGetProperty(handle, BCRYPT_OBJECT_LENGTH,
                                           reinterpret_cast<PUCHAR>(&objectLength),
                                           sizeof objectLength, &got, 0)) ||
            got != sizeof objectLength) {
            ::BCryptCloseAlgorithmProvider(handle, 0);
            return;
        }
        handle_ = handle;
        keyObjectLength_ = objectLength;
    }
    ~AesProvider() {
        if (handle_ != nullptr) {
            ::BCryptCloseAlgorithmProvider(handle_, 0);
        }
    }
    AesProvider(const AesProvider&) = delete;
    AesProvider& operator=(const AesProvider&) = delete;

    BCRYPT_ALG_HANDLE Handle() const { return handle_; }
    /// Bytes the caller provides for one key object (its key schedule).
    DWORD KeyObjectLength() const { return keyObjectLength_; }

  private:
    BCRYPT_ALG_HANDLE handle_ = nullptr;
    DWORD keyObjectLength_ = 0;
};

const AesProvider& Aes() {
    static const AesProvider provider;
    return provider;
}

// One key object in a buffer of ours, destroyed and wiped when it goes.
class KeyObject {
  public:
    KeyObject(const AesProvider& provider, const unsigned char* key)
        : length_(provider.KeyObjectLength()),
          buffer_(new (std::nothrow) unsigned char[length_ > 0 ? length_ : 1]) {
        if (buffer_ &&
            !Succeeded(::BCryptGenerateSymmetricKey(provider.Handle(), &handle_, buffer_.get(),
                                                    length_, const_cast<PUCHAR>(key), 16, 0))) {
            handle_ = nullptr;
        }
    }
    ~KeyObject() {
        if (handle_ != nullptr) {
            ::BCryptDestroyKey(handle_);
        }
        if (buffer_) {
            ::SecureZeroMemory(buffer_.get(), length_);
        }
    }
    KeyObject(const KeyObject&) = delete;
    KeyObject& operator=(const KeyObject&) = delete;

    BCRYPT_KEY_HANDLE Handle() const { return handle_; }

  private:
    DWORD length_;
    std::unique_ptr<unsigned char[]> buffer_;
    BCRYPT_KEY_HANDLE handle_ = nullptr;
};

}  // namespace

namespace windows {

bool AesProviderReady() {
    return Aes().Handle() != nullptr;
}

}  // namespace windows

bool EncryptAes128CbcZeroIv(const unsigned char* key, const unsigned char* in, std::size_t length,
                            unsigned char* out) {
    const AesProvider& provider = Aes();
    if (provider.Handle() == nullptr || length > ULONG_MAX) {
        return false;
    }
    if (length == 0) {
        return true;
    }
    const KeyObject keyObject(provider, key);
    if (keyObject.Handle() == nullptr) {
        return false;
    }
    // CNG leaves the last ciphertext block in the IV buffer: a copy of ours.
    unsigned char iv[16] = {};
    ULONG written = 0;
    const NTSTATUS status =
        ::BCryptEncrypt(keyObject.Handle(), const_cast<PUCHAR>(in), static_cast<ULONG>(length),
                        nullptr, iv, sizeof iv, out, static_cast<ULONG>(length), &written, 0);
    return Succeeded(status) && written == length;
}

void SecureWipe(void* data, std::size_t length) {
    ::SecureZeroMemory(data, length);
}

}  // namespace velmora::platform
