#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace velmora {

/// An AES-128 key: exactly 16 bytes, used as they are (no hashing or
/// derivation). Made once per run from what the user typed; its bytes are
/// wiped when it goes. It can be moved but not copied, so that the bytes
/// live in one place only.
class Key {
  public:
    static constexpr std::size_t BYTES = 16;

    /// The key whose bytes are `bytes`; nothing unless there are exactly 16.
    static std::optional<Key> FromBytes(std::string_view bytes);

    Key(Key&& other) noexcept;
    Key& operator=(Key&& other) noexcept;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key();

    /// The 16 key bytes.
    const unsigned char* Bytes() const { return bytes.data(); }

  private:
    Key() = default;
    void Wipe();

    std::array<unsigned char, BYTES> bytes{};
};

}  // namespace velmora
