#include "desktop/result_message.h"

// These texts are the program's own and are kept byte for byte, misspelling
// included ("encptry"); see docs/behaviour.md.

namespace velmora::desktop {

std::string ResultMessage(EncryptResult result, const std::string& path) {
    switch (result) {
        case EncryptResult::Done:
            return "AES-CBC-128 encptry file " + path + " successful!";
        case EncryptResult::OpenFailed:
            return "OpenFile " + path + " error!";
        case EncryptResult::TooLarge:
            return "File length is too big. Max length is 0x16000";
        case EncryptResult::WriteFailed:
            return "WriteFile " + path + " error!";
        case EncryptResult::ReadFailed:
            return "ReadFile " + path + " error!";
    }
    return "Encrypt file " + path + " error!";
}

}  // namespace velmora::desktop
