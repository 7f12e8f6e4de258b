#include "platform/key_text.h"

namespace velmora::platform {

std::string KeyBytesFromText(const std::string& text) {
    return text;
}

}  // namespace velmora::platform
