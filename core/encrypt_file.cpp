#include <new>

#include "core/encrypt.h"
#include "core/selection.h"
#include "platform/cipher.h"

namespace velmora {
namespace {

// The plaintext buffer: on the heap, so that a small stack is enough, and
// wiped, padding included, when it goes.
class PlainBuffer {
  public:
    PlainBuffer() : bytes(new (std::nothrow) unsigned char[MAX_INPUT_BYTES]) {}
    ~PlainBuffer() {
        if (bytes) {
            platform::SecureWipe(bytes.get(), used);
        }
    }
    PlainBuffer(const PlainBuffer&) = delete;
    PlainBuffer& operator=(const PlainBuffer&) = delete;

    bool Valid() const { return bytes != nullptr; }
    unsigned char* Bytes() { return bytes.get(); }
    /// How much of the buffer holds plaintext, padding included.
    void SetUsed(std::size_t count) { used = count < MAX_INPUT_BYTES ? count : MAX_INPUT_BYTES; }

  private:
    std::unique_ptr<unsigned char[]> bytes;
    std::size_t used = 0;
};

}  // namespace

std::string SerPathFor(const std::string& inputPath) {
    std::string output = inputPath;
    for (size_t at = output.find(".txt"); at != std::string::npos;
         at = output.find(".txt", at + 4)) {
        output.replace(at, 4, ".ser");
    }
    return output;
}

EncryptResult EncryptTextFile(const Key& key, const std::string& inputPath,
                              platform::FileSystem& files) {
    const std::unique_ptr<platform::InputFile> input = files.OpenForReading(inputPath);
    if (!input) {
        return EncryptResult::OpenFailed;
    }
    PlainBuffer plain;
    if (!plain.Valid()) {
        return EncryptResult::ReadFailed;
    }
    const std::int64_t got = input->Read(plain.Bytes(), MAX_INPUT_BYTES);
    plain.SetUsed(got > 0 ? static_cast<std::size_t>(got) : 0);
    if (got == static_cast<std::int64_t>(MAX_INPUT_BYTES)) {
        return EncryptResult::TooLarge;
    }
    if (got < 0 || static_cast<std::uint64_t>(got) != input->Size()) {
        return EncryptResult::ReadFailed;
    }

    CipherBuffer cipher;
    unsigned cipherLength = 0;
    EncryptBuffer(key.Bytes(), plain.Bytes(), static_cast<unsigned>(got), cipher, cipherLength);
    plain.SetUsed(static_cast<std::size_t>(got) + BLOCK_BYTES -
                  static_cast<std::size_t>(got) % BLOCK_BYTES);  // the padding is plaintext too
    const std::string outputPath = SerPathFor(inputPath);
    // Every reason a replace is refused for is a write failure to the user.
    if (!cipher ||
        files.ReplaceWhole(outputPath, cipher.get(), cipherLength, *input,
                           EndsWith(outputPath, ".ser")) != platform::ReplaceResult::Replaced) {
        return EncryptResult::WriteFailed;
    }
    return EncryptResult::Done;
}

}  // namespace velmora
