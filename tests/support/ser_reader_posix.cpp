#include <cstdio>

#include "tests/support/run_process.h"
#include "tests/support/ser_reader.h"

namespace velmora::testing {

std::string Padded(std::string text) {
    text.append(16 - text.size() % 16, ' ');
    return text;
}

std::string DecryptSerFile(const std::string& path, const std::string& key) {
    std::string hexKey;
    for (unsigned char c : key) {
        char byte[3];
        std::snprintf(byte, sizeof byte, "%02x", c);
        hexKey += byte;
    }
    const auto result = RunProcess({"/usr/bin/openssl", "enc", "-d", "-aes-128-cbc", "-nopad", "-K",
                                    hexKey, "-iv", std::string(32, '0'), "-in", path},
                                   "/");
    return result.exitStatus == 0 ? result.out : "<openssl failed: " + result.err + ">";
}

}  // namespace velmora::testing
