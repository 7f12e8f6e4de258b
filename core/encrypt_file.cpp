#include <fcntl.h>
#include <openssl/crypto.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/encrypt.h"
#include "platform/unique_fd.h"

namespace velmora {
namespace {

using platform::UniqueFd;

// Fills `buffer` from `fd` until end of file or until the buffer is full.
// Returns the byte count, or -1 on a read error.
ssize_t ReadAll(int fd, unsigned char* buffer, size_t capacity) {
    size_t total = 0;
    while (total < capacity) {
        const ssize_t got = ::read(fd, buffer + total, capacity - total);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        total += static_cast<size_t>(got);
    }
    return static_cast<ssize_t>(total);
}

bool WriteAll(int fd, const unsigned char* data, size_t length) {
    while (length > 0) {
        const ssize_t put = ::write(fd, data, length);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        data += put;
        length -= static_cast<size_t>(put);
    }
    return true;
}

// True when `path` exists and is the same file as the open `input`, after
// following symbolic links.
bool IsSameFile(const std::string& path, const struct stat& input) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && info.st_dev == input.st_dev &&
           info.st_ino == input.st_ino;
}

// Creates (or truncates) `outputPath` and writes `data` to it, flushed to
// disk. A failure removes what was created, so no partial file stays behind.
bool WriteOutput(const std::string& outputPath, const unsigned char* data, size_t length) {
    // O_NONBLOCK: an existing FIFO of that name fails at once instead of
    // waiting for a reader.
    UniqueFd out(::open(outputPath.c_str(),
                        O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666));
    if (!out.Valid()) {
        return false;
    }
    struct stat info;
    const bool regular = ::fstat(out.Get(), &info) == 0 && S_ISREG(info.st_mode);
    const bool ok = WriteAll(out.Get(), data, length) &&
                    (!regular || ::fdatasync(out.Get()) == 0) && out.Close();
    if (!ok && regular) {
        ::unlink(outputPath.c_str());
    }
    return ok;
}

// The plaintext buffer, wiped when it goes.
struct PlainBuffer {
    unsigned char bytes[MAX_INPUT_BYTES];
    size_t used = 0;
    ~PlainBuffer() { OPENSSL_cleanse(bytes, used); }
};

size_t PaddedSize(size_t length) {
    return length + BLOCK_BYTES - length % BLOCK_BYTES;
}

void Report(std::FILE* diagnostics, const char* format, const std::string& path) {
    if (diagnostics != nullptr) {
        std::fprintf(diagnostics, format, path.c_str());
    }
}

}  // namespace

std::string SerPathFor(const std::string& inputPath) {
    std::string output = inputPath;
    for (size_t at = output.find(".txt"); at != std::string::npos;
         at = output.find(".txt", at + 4)) {
        output.replace(at, 4, ".ser");
    }
    return output;
}

EncryptResult EncryptTextFile(const unsigned char* key, const std::string& inputPath,
                              std::FILE* diagnostics) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
    UniqueFd in(::open(inputPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat inputInfo;
    if (!in.Valid() || ::fstat(in.Get(), &inputInfo) != 0 || !S_ISREG(inputInfo.st_mode)) {
        Report(diagnostics, "Open file %s error!\n", inputPath);
        return EncryptResult::OpenFailed;
    }

    PlainBuffer plain;
    const ssize_t got = ReadAll(in.Get(), plain.bytes, MAX_INPUT_BYTES);
    plain.used = got > 0 ? static_cast<size_t>(got) : 0;
    if (got == static_cast<ssize_t>(MAX_INPUT_BYTES)) {
        Report(diagnostics, "Read file %s error!\n", inputPath);
        return EncryptResult::TooLarge;
    }
    if (got < 0 || got != inputInfo.st_size) {
        Report(diagnostics, "Read file %s error!\n", inputPath);
        return EncryptResult::ReadFailed;
    }

    const std::string outputPath = SerPathFor(inputPath);
    if (IsSameFile(outputPath, inputInfo)) {
        Report(diagnostics, "Write file %s error!\n", outputPath);
        return EncryptResult::WriteFailed;
    }

    CipherBuffer cipher;
    unsigned cipherLength = 0;
    EncryptBuffer(key, plain.bytes, static_cast<unsigned>(got), cipher, cipherLength);
    plain.used = PaddedSize(plain.used);  // the padding is plaintext too
    if (!cipher || !WriteOutput(outputPath, cipher.get(), cipherLength)) {
        Report(diagnostics, "Write file %s error!\n", outputPath);
        return EncryptResult::WriteFailed;
    }
    return EncryptResult::Done;
}

}  // namespace velmora
