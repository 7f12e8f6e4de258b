#include "core/key.h"

#include <cstring>

#include "platform/cipher.h"

namespace velmora {

std::optional<Key> Key::FromBytes(std::string_view bytes) {
    if (bytes.size() != kBytes) {
        return std::nullopt;
    }
    Key key;
    std::memcpy(key.bytes_.data(), bytes.data(), kBytes);
    return key;
}

Key::Key(Key&& other) noexcept : bytes_(other.bytes_) {
    other.Wipe();
}

Key& Key::operator=(Key&& other) noexcept {
    if (this != &other) {
        bytes_ = other.bytes_;
        other.Wipe();
    }
    return *this;
}

Key::~Key() {
    Wipe();
}

void Key::Wipe() {
    platform::SecureWipe(bytes_.data(), bytes_.size());
}

}  // namespace velmora
