#include <windows.h>
// After windows.h, which it needs.
#include <bcrypt.h>

#include <vector>

#include "tests/support/ser_reader.h"
#include "tests/support/temp_dir.h"

namespace velmora::testing {

std::string Padded(std::string text) {
    text.append(16 - text.size() % 16, ' ');
    return text;
}

// Decryption through CNG: the code under test only ever encrypts.
std::string DecryptSerFile(const std::string& path, const std::string& key) {
    std::string cipher = ReadFile(path);
    if (cipher == "<missing>") {
        return cipher;
    }
    if (key.size() != 16 || cipher.size() % 16 != 0) {
        return "<not a .ser file or key>";
    }
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_KEY_HANDLE keyHandle = nullptr;
    std::string plain(cipher.size(), '\0');
    ULONG got = 0;
    unsigned char iv[16] = {};
    const bool ok =
        BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_AES_ALGORITHM, nullptr, 0)) &&
        BCRYPT_SUCCESS(
            BCryptSetProperty(algorithm, BCRYPT_CHAINING_MODE,
                              reinterpret_cast<PUCHAR>(const_cast<wchar_t*>(BCRYPT_CHAIN_MODE_CBC)),
                              sizeof(BCRYPT_CHAIN_MODE_CBC), 0)) &&
        BCRYPT_SUCCESS(BCryptGenerateSymmetricKey(
            algorithm, &keyHandle, nullptr, 0,
            reinterpret_cast<PUCHAR>(const_cast<char*>(key.data())), 16, 0)) &&
        BCRYPT_SUCCESS(BCryptDecrypt(keyHandle, reinterpret_cast<PUCHAR>(cipher.data()),
                                     static_cast<ULONG>(cipher.size()), nullptr, iv, sizeof iv,
                                     reinterpret_cast<PUCHAR>(plain.data()),
                                     static_cast<ULONG>(plain.size()), &got, 0));
    if (keyHandle != nullptr) {
        BCryptDestroyKey(keyHandle);
    }
    if (algorithm != nullptr) {
        BCryptCloseAlgorithmProvider(algorithm, 0);
    }
    return ok && got == plain.size() ? plain : "<CNG decryption failed>";
}

}  // namespace velmora::testing
