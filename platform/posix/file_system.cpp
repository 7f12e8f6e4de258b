// The file system of POSIX systems (platform/file_system.h and the calls of
// the replace routine). The few calls that differ between them are made
// through platform/posix/file_system.h, which each system's folder implements.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <optional>

#include "platform/file_system.h"
#include "platform/posix/file_system.h"
#include "platform/posix/interrupt_cleanup.h"
#include "platform/posix/unique_fd.h"
#include "platform/replace_whole.h"
#include "platform/temporary_name.h"

namespace velmora::platform {
namespace {

using posix::UniqueFd;

// Symbolic links followed before a name counts as looping, as the kernel does.
constexpr int MAX_LINK_HOPS = 40;

FileIdentity IdentityOf(const struct stat& info) {
    FileIdentity identity;
    identity.volume = static_cast<std::uint64_t>(info.st_dev);
    identity.file = static_cast<std::uint64_t>(info.st_ino);
    return identity;
}

class PosixInputFile : public InputFile {
  public:
    PosixInputFile(UniqueFd fd, const struct stat& info) : fd(std::move(fd)), info(info) {}

    std::uint64_t Size() const override { return static_cast<std::uint64_t>(info.st_size); }
    FileIdentity Identity() const override { return IdentityOf(info); }

    std::int64_t Read(unsigned char* buffer, std::size_t capacity) override {
        std::size_t total = 0;
        while (total < capacity) {
            const ssize_t got = ::read(fd.Get(), buffer + total, capacity - total);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                return -1;
            }
            if (got == 0) {
                break;
            }
            total += static_cast<std::size_t>(got);
        }
        return static_cast<std::int64_t>(total);
    }

  private:
    UniqueFd fd;
    struct stat info;
};

std::error_code LastError() {
    return {errno, std::generic_category()};
}

std::error_code ErrorUnless(bool succeeded) {
    return succeeded ? std::error_code() : LastError();
}

EntryInfo InfoOf(const struct stat& info) {
    EntryInfo entry;
    entry.kind = S_ISREG(info.st_mode)   ? EntryKind::RegularFile
                 : S_ISLNK(info.st_mode) ? EntryKind::SymbolicLink
                                         : EntryKind::Other;
    entry.identity = IdentityOf(info);
    entry.mode = info.st_mode & 07777;
    entry.owner = info.st_uid;
    entry.group = info.st_gid;
    return entry;
}

// The folder part of `path` with its trailing '/', or "" for a bare name.
std::string FolderPart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

class PosixReplaceFile : public ReplaceFile {
  public:
    explicit PosixReplaceFile(UniqueFd fd) : fd(std::move(fd)) {}

    std::error_code Inspect(EntryInfo& info) override {
        struct stat status;
        if (::fstat(fd.Get(), &status) != 0) {
            return LastError();
        }
        info = InfoOf(status);
        return {};
    }

    std::error_code WriteSomeAt(std::uint64_t offset, const unsigned char* data, std::size_t length,
                                std::size_t& written) override {
        ssize_t put = 0;
        do {
            put = ::pwrite(fd.Get(), data, length, static_cast<off_t>(offset));
        } while (put < 0 && errno == EINTR);
        written = put > 0 ? static_cast<std::size_t>(put) : 0;
        return ErrorUnless(put >= 0);
    }

    std::error_code ReadSomeAt(std::uint64_t offset, unsigned char* data, std::size_t length,
                               std::size_t& got) override {
        ssize_t read = 0;
        do {
            read = ::pread(fd.Get(), data, length, static_cast<off_t>(offset));
        } while (read < 0 && errno == EINTR);
        got = read > 0 ? static_cast<std::size_t>(read) : 0;
        return ErrorUnless(read >= 0);
    }

    std::error_code SetMode(std::uint32_t mode) override {
        return ErrorUnless(::fchmod(fd.Get(), static_cast<mode_t>(mode)) == 0);
    }
    std::error_code SetOwner(std::uint32_t owner, std::uint32_t group) override {
        return ErrorUnless(::fchown(fd.Get(), owner, group) == 0);
    }
    std::error_code Truncate(std::uint64_t length) override {
        return ErrorUnless(::ftruncate(fd.Get(), static_cast<off_t>(length)) == 0);
    }
    std::error_code Flush() override { return ErrorUnless(posix::FlushFileData(fd.Get()) == 0); }
    // A failed close can mean lost data on some file systems.
    std::error_code Close() override { return ErrorUnless(fd.Close()); }

  private:
    UniqueFd fd;
};

class PosixReplaceFolder : public ReplaceFolder {
  public:
    explicit PosixReplaceFolder(UniqueFd folder) : folder(std::move(folder)) {}

    std::error_code Inspect(const std::string& name, EntryInfo& info) override {
        struct stat status;
        if (::fstatat(folder.Get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT) {
                info = EntryInfo();
                return {};
            }
            return LastError();
        }
        info = InfoOf(status);
        return {};
    }

    std::error_code CreateExclusive(const std::string& name,
                                    std::unique_ptr<ReplaceFile>& file) override {
        return Open(name, O_WRONLY | O_CREAT | O_EXCL, file);
    }

    std::error_code OpenExisting(const std::string& name, OpenAccess access,
                                 std::unique_ptr<ReplaceFile>& file) override {
        // O_NONBLOCK: a FIFO put there meanwhile must not make the open wait.
        return Open(name, (access == OpenAccess::Write ? O_WRONLY : O_RDWR) | O_NONBLOCK, file);
    }

    std::error_code RenameNoReplace(const std::string& from, const std::string& to) override {
        return ErrorUnless(posix::RenameNoReplace(Fd(), from.c_str(), to.c_str()) == 0);
    }
    std::error_code Link(const std::string& from, const std::string& to) override {
        return ErrorUnless(::linkat(Fd(), from.c_str(), Fd(), to.c_str(), 0) == 0);
    }
    std::error_code Exchange(const std::string& from, const std::string& to) override {
        return ErrorUnless(posix::ExchangeNames(Fd(), from.c_str(), to.c_str()) == 0);
    }
    std::error_code Rename(const std::string& from, const std::string& to) override {
        return ErrorUnless(::renameat(Fd(), from.c_str(), Fd(), to.c_str()) == 0);
    }
    std::error_code Remove(const std::string& name) override {
        return ErrorUnless(::unlinkat(Fd(), name.c_str(), 0) == 0);
    }

    void RecordTemporary(const std::string& name) override {
        posix::SetTemporaryInProgress(Fd(), name.c_str());
    }
    void ForgetTemporary() override { posix::ClearTemporaryInProgress(); }

  private:
    int Fd() const { return folder.Get(); }

    std::error_code Open(const std::string& name, int flags, std::unique_ptr<ReplaceFile>& file) {
        UniqueFd fd(::openat(Fd(), name.c_str(), flags | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666));
        if (!fd.Valid()) {
            return LastError();
        }
        // Writes in place block as usual (a file only opened to see whether
        // it may be written is closed at once).
        if ((flags & O_NONBLOCK) != 0 && (flags & O_ACCMODE) == O_RDWR) {
            ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
        }
        file = std::make_unique<PosixReplaceFile>(std::move(fd));
        return {};
    }

    UniqueFd folder;
};

pid_t ProcessId() {
    static const pid_t id = ::getpid();
    return id;
}

class PosixReplaceSystem : public ReplaceSystem {
  public:
    std::error_code Resolve(const std::string& path, std::string& folder, std::string& name,
                            bool& viaLink) override {
        std::string current = path;
        viaLink = false;
        for (int hops = 0;; ++hops) {
            struct stat info;
            if (::lstat(current.c_str(), &info) != 0) {
                if (errno != ENOENT) {
                    return LastError();
                }
                break;  // a free name, or one a link leads to
            }
            if (!S_ISLNK(info.st_mode)) {
                break;
            }
            if (hops >= MAX_LINK_HOPS) {
                return std::make_error_code(std::errc::too_many_symbolic_link_levels);
            }
            std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1,
                               '\0');
            const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
            if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) {
                return std::make_error_code(std::errc::resource_unavailable_try_again);
            }
            target.resize(static_cast<std::size_t>(length));
            current = target.front() == '/' ? target : FolderPart(current) + target;
            viaLink = true;
        }
        folder = FolderPart(current);
        name = current.substr(folder.size());
        return {};
    }

    std::error_code OpenFolder(const std::string& folder,
                               std::unique_ptr<ReplaceFolder>& opened) override {
        UniqueFd fd(posix::OpenFolderForNames(folder.empty() ? "." : folder.c_str()));
        if (!fd.Valid()) {
            return LastError();
        }
        opened = std::make_unique<PosixReplaceFolder>(std::move(fd));
        return {};
    }

    std::string NewTemporaryName(unsigned attempt) override {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return TemporaryName(static_cast<std::uint64_t>(now.tv_nsec),
                             static_cast<std::uint64_t>(ProcessId()), attempt);
    }

    void HoldInterruptions() override { held.emplace(); }
    void ReleaseInterruptions() override { held.reset(); }

    std::error_code FlushFolder(const std::string& folder) override {
        UniqueFd fd(
            ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!fd.Valid()) {
            return LastError();
        }
        if (::fsync(fd.Get()) == 0) {
            return {};
        }
        // Some file systems do not flush a folder on its own: nothing to do.
        const std::error_code error = LastError();
        if (error == std::errc::invalid_argument || error == std::errc::function_not_supported ||
            error == std::errc::operation_not_supported) {
            return {};
        }
        return error;
    }

  private:
    std::optional<posix::InterruptionsHeld> held;
};

}  // namespace

std::unique_ptr<ReplaceSystem> SystemReplaceCalls() {
    return std::make_unique<PosixReplaceSystem>();
}

std::unique_ptr<InputFile> RealFileSystem::OpenForReading(const std::string& path) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat info;
    if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return nullptr;
    }
    return std::make_unique<PosixInputFile>(std::move(fd), info);
}

}  // namespace velmora::platform
