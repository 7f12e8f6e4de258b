#include "core/key.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace velmora {
namespace {

TEST(Key, TakesExactlySixteenBytes) {
    const std::string sixteen = "0123456789abcdef";
    const auto key = Key::FromBytes(sixteen);
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(std::memcmp(key->Bytes(), sixteen.data(), Key::BYTES), 0);
    EXPECT_TRUE(Key::FromBytes(std::string(16, '\0')).has_value()) << "any bytes will do";

    for (const std::string& text :
         {std::string(), std::string("0123456789abcde"), std::string("0123456789abcdefg"),
          std::string("\xC3\xA9"
                      "23456789abcdef")}) {
        EXPECT_EQ(Key::FromBytes(text).has_value(), text.size() == 16) << text;
    }
}

TEST(Key, AMovedFromKeyHoldsNoKeyBytes) {
    auto key = Key::FromBytes("0123456789abcdef");
    ASSERT_TRUE(key.has_value());
    const Key moved = std::move(*key);
    EXPECT_EQ(std::memcmp(moved.Bytes(), "0123456789abcdef", Key::BYTES), 0);
    const unsigned char zeros[Key::BYTES] = {};
    EXPECT_EQ(std::memcmp(key->Bytes(), zeros, Key::BYTES), 0);
}

}  // namespace
}  // namespace velmora
