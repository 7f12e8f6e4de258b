#include "core/key.h"

#include <cstring>

#include "platform/cipher.h"

namespace velmora {

std::optional<Key> Key::FromBytes(std::string_view bytes) {
    if (bytes.size() != BYTES) {
        return std::nullopt;
    }
    Key key;
    std::memcpy(key.bytes.data(), bytes.data(), BYTES);
    return key;
}

Key::Key(Key&& other) noexcept : bytes(other.bytes) {
    other.Wipe();
}

Key& Key::operator=(Key&& other) noexcept {
    if (this != &other) {
        bytes = other.bytes;
        other.Wipe();
    }
    return *this;
}

Key::~Key() {
    Wipe();
}

void Key::Wipe() {
    platform::SecureWipe(bytes.data(), bytes.size());
}

}  // namespace velmora
