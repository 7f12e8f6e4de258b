// Out of memory in EncryptBuffer: array allocations of one chosen size fail
// in this test binary, so the ciphertext buffer cannot be had while
// everything else works.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <new>

#include "core/encrypt.h"
#include "tests/support/temp_dir.h"

namespace {

std::size_t failingArraySize = 0;  // 0: every allocation succeeds

void* AllocateArray(std::size_t size) noexcept {
    if (failingArraySize != 0 && size == failingArraySize) {
        return nullptr;
    }
    return std::malloc(size == 0 ? 1 : size);
}

// Array allocations of `size` bytes fail while it lives.
class ArraysOfSizeFail {
  public:
    explicit ArraysOfSizeFail(std::size_t size) { failingArraySize = size; }
    ~ArraysOfSizeFail() { failingArraySize = 0; }
};

}  // namespace

void* operator new[](std::size_t size) {
    if (void* memory = AllocateArray(size)) {
        return memory;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateArray(size);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}

namespace velmora {
namespace {

namespace fs = std::filesystem;

TEST(OutOfMemory, EncryptBufferFailsWithNullAndZeroButStillPads) {
    unsigned char plain[32] = "abc";
    CipherBuffer data(new unsigned char[1]);
    unsigned length = 77;
    const ArraysOfSizeFail noCiphertext(16 + 4);
    EXPECT_EQ(EncryptBuffer(Key::FromBytes("0123456789abcdef")->Bytes(), plain, 3, data, length),
              0);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(plain[3], ' ');
    EXPECT_EQ(plain[15], ' ');
}

TEST(OutOfMemory, EncryptTextFileFailsToWriteAndLeavesNoOutput) {
    testing::TempDir dir;
    const auto input = dir.Write("a.txt", "twenty bytes of text");  // 32 bytes padded
    platform::RealFileSystem files;
    {
        const ArraysOfSizeFail noCiphertext(32 + 4);
        EXPECT_EQ(EncryptTextFile(*Key::FromBytes("0123456789abcdef"), input, files),
                  EncryptResult::WriteFailed);
    }
    EXPECT_FALSE(fs::exists(dir / "a.ser"));
    EXPECT_EQ(EncryptTextFile(*Key::FromBytes("0123456789abcdef"), input, files),
              EncryptResult::Done)
        << "the same call works with memory";
}

}  // namespace
}  // namespace velmora
