#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/encrypt.h"

namespace velmora {
namespace {

std::vector<unsigned char> Bytes(const std::string& text, size_t room = BLOCK_BYTES) {
    std::vector<unsigned char> bytes(text.begin(), text.end());
    bytes.resize(text.size() + room, 0xAA);  // room for the padding, visibly not spaces
    return bytes;
}

std::string Hex(const unsigned char* data, size_t length) {
    static const char HEX_DIGITS[] = "0123456789abcdef";
    std::string hex;
    for (size_t i = 0; i < length; ++i) {
        hex += HEX_DIGITS[data[i] >> 4];
        hex += HEX_DIGITS[data[i] & 15];
    }
    return hex;
}

const unsigned char* Key(const char* text) {
    return reinterpret_cast<const unsigned char*>(text);
}

struct Ciphertext {
    int result = -1;
    CipherBuffer data;
    unsigned length = 0;
    std::string Hex() const { return velmora::Hex(data.get(), length); }
};

Ciphertext Encrypt(const unsigned char* key, std::vector<unsigned char>& plain, unsigned length) {
    Ciphertext c;
    c.result = EncryptBuffer(key, plain.data(), length, c.data, c.length);
    return c;
}

TEST(PadWithSpaces, AppendsOneToSixteenSpacesUpToWholeBlocks) {
    struct Case {
        unsigned length;
        unsigned expected;
    };
    for (const Case& c : {Case{0, 16}, Case{1, 16}, Case{5, 16}, Case{15, 16}, Case{16, 32},
                          Case{17, 32}, Case{90111, 90112}}) {
        SCOPED_TRACE(c.length);
        std::vector<unsigned char> buffer(c.length + BLOCK_BYTES + 1, 0xAA);
        EXPECT_EQ(PadWithSpaces(buffer.data(), c.length, BLOCK_BYTES), c.expected);
        for (unsigned i = c.length; i < c.expected; ++i) {
            ASSERT_EQ(buffer[i], ' ') << "at " << i;
        }
        EXPECT_EQ(buffer[c.expected], 0xAA) << "wrote past the padding";
    }
}

TEST(PadWithSpaces, PadIsTakenAsAnEightBitValue) {
    // 256 - 0 truncates to a pad of 0: nothing is written.
    std::vector<unsigned char> buffer(4, 0xAA);
    EXPECT_EQ(PadWithSpaces(buffer.data(), 0, 256), 0u);
    EXPECT_EQ(buffer[0], 0xAA);
}

TEST(EncryptBuffer, MatchesTheFips197KnownAnswerInTheFirstBlock) {
    const unsigned char key[16] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,
                                   0x08, 0x09, 0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f};
    std::vector<unsigned char> plain = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                                        0x88, 0x99, 0xaa, 0xbb, 0xcc, 0xdd, 0xee, 0xff};
    plain.resize(32);
    const Ciphertext c = Encrypt(key, plain, 16);
    ASSERT_EQ(c.result, 1);
    ASSERT_EQ(c.length, 32u);
    EXPECT_EQ(c.Hex().substr(0, 32), "69c4e0d86a7b0430d8cdb78070b4c55a");
}

TEST(EncryptBuffer, SecondBlockOfAFullBlockInputIsSixteenChainedSpaces) {
    // CBC: C1 = AES(K, spaces xor C0). The first block of any output is AES(K, P0)
    // under the zero IV, so encrypting C0 xor spaces must reproduce C1.
    const auto* key = Key("0123456789abcdef");
    auto plain = Bytes("exactly16bytes!!");
    const Ciphertext full = Encrypt(key, plain, 16);
    ASSERT_EQ(full.length, 32u);

    std::vector<unsigned char> chained(full.data.get(), full.data.get() + 16);
    for (auto& b : chained) {
        b ^= ' ';
    }
    chained.resize(32);
    EXPECT_EQ(full.Hex().substr(32), Encrypt(key, chained, 16).Hex().substr(0, 32));
}

TEST(EncryptBuffer, OutputSizeIsTheNextWholeBlock) {
    const auto* key = Key("0123456789abcdef");
    for (unsigned length : {0u, 5u, 15u, 16u, 90111u}) {
        SCOPED_TRACE(length);
        std::vector<unsigned char> plain(length + BLOCK_BYTES, 'q');
        const Ciphertext c = Encrypt(key, plain, length);
        EXPECT_EQ(c.result, 1);
        EXPECT_EQ(c.length, length + 16 - length % 16);
    }
}

TEST(EncryptBuffer, IsDeterministicAndPaddingIsNotRecorded) {
    const auto* key = Key("k3y with spaces!");
    auto a = Bytes("same text"), b = Bytes("same text"), spaced = Bytes("same text   ");
    auto longer = Bytes("same text, then something that differs");
    const auto first = Encrypt(key, a, 9).Hex();
    EXPECT_EQ(first, Encrypt(key, b, 9).Hex());
    // Trailing spaces and padding spaces give the same ciphertext.
    EXPECT_EQ(first, Encrypt(key, spaced, 12).Hex());
    // A fixed IV: inputs that share their first block share their first ciphertext block.
    auto sharedA = Bytes("0123456789ABCDEF-tail-a"), sharedB = Bytes("0123456789ABCDEF-tail-bb");
    const auto ha = Encrypt(key, sharedA, 23).Hex(), hb = Encrypt(key, sharedB, 24).Hex();
    EXPECT_EQ(ha.substr(0, 32), hb.substr(0, 32));
    EXPECT_NE(ha.substr(32), hb.substr(32));
    EXPECT_NE(first, Encrypt(key, longer, 38).Hex().substr(0, first.size()));
}

TEST(EncryptBuffer, UsesOnlyTheFirstSixteenKeyBytes) {
    auto a = Bytes("text"), b = Bytes("text");
    EXPECT_EQ(Encrypt(Key("0123456789abcdefEXTRA"), a, 4).Hex(),
              Encrypt(Key("0123456789abcdef"), b, 4).Hex());
}

TEST(EncryptBuffer, MissingKeyFailsButStillPadsAndLeavesOutputsAlone) {
    auto plain = Bytes("abc");
    CipherBuffer untouched(new unsigned char[1]);
    unsigned char* const before = untouched.get();
    unsigned length = 77;
    EXPECT_EQ(EncryptBuffer(nullptr, plain.data(), 3, untouched, length), 0);
    EXPECT_EQ(untouched.get(), before);
    EXPECT_EQ(length, 77u);
    EXPECT_EQ(plain[3], ' ');
    EXPECT_EQ(plain[15], ' ');
    EXPECT_EQ(plain[16], 0xAA);
}

}  // namespace
}  // namespace velmora
