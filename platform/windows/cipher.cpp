// AES-128-CBC through the system's own cipher library, CNG (bcrypt.dll).
#include <windows.h>
// bcrypt.h needs the types of windows.h first.
#include <bcrypt.h>

#include <climits>
#include <memory>
#include <new>

#include "platform/cipher.h"
#include "platform/windows/cipher.h"

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
        BCRYPT_ALG_HANDLE opened = nullptr;
        if (!Succeeded(::BCryptOpenAlgorithmProvider(&opened, BCRYPT_AES_ALGORITHM, nullptr, 0))) {
            return;
        }
        auto* const mode = reinterpret_cast<PUCHAR>(const_cast<wchar_t*>(BCRYPT_CHAIN_MODE_CBC));
        DWORD objectLength = 0;
        ULONG got = 0;
        if (!Succeeded(::BCryptSetProperty(opened, BCRYPT_CHAINING_MODE, mode,
                                           sizeof BCRYPT_CHAIN_MODE_CBC, 0)) ||
            !Succeeded(::BCryptGetProperty(opened, BCRYPT_OBJECT_LENGTH,
                                           reinterpret_cast<PUCHAR>(&objectLength),
                                           sizeof objectLength, &got, 0)) ||
            got != sizeof objectLength) {
            ::BCryptCloseAlgorithmProvider(opened, 0);
            return;
        }
        handle = opened;
        keyObjectLength = objectLength;
    }
    ~AesProvider() {
        if (handle != nullptr) {
            ::BCryptCloseAlgorithmProvider(handle, 0);
        }
    }
    AesProvider(const AesProvider&) = delete;
    AesProvider& operator=(const AesProvider&) = delete;

    BCRYPT_ALG_HANDLE Handle() const { return handle; }
    /// Bytes the caller provides for one key object (its key schedule).
    DWORD KeyObjectLength() const { return keyObjectLength; }

  private:
    BCRYPT_ALG_HANDLE handle = nullptr;
    DWORD keyObjectLength = 0;
};

const AesProvider& Aes() {
    static const AesProvider provider;
    return provider;
}

// One key object in a buffer of ours, destroyed and wiped when it goes.
class KeyObject {
  public:
    KeyObject(const AesProvider& provider, const unsigned char* key)
        : length(provider.KeyObjectLength()),
          buffer(new (std::nothrow) unsigned char[length > 0 ? length : 1]) {
        if (buffer &&
            !Succeeded(::BCryptGenerateSymmetricKey(provider.Handle(), &handle, buffer.get(),
                                                    length, const_cast<PUCHAR>(key), 16, 0))) {
            handle = nullptr;
        }
    }
    ~KeyObject() {
        if (handle != nullptr) {
            ::BCryptDestroyKey(handle);
        }
        if (buffer) {
            ::SecureZeroMemory(buffer.get(), length);
        }
    }
    KeyObject(const KeyObject&) = delete;
    KeyObject& operator=(const KeyObject&) = delete;

    BCRYPT_KEY_HANDLE Handle() const { return handle; }

  private:
    DWORD length;
    std::unique_ptr<unsigned char[]> buffer;
    BCRYPT_KEY_HANDLE handle = nullptr;
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
