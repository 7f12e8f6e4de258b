#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <set>

#include "platform/file_system.h"
#include "platform/posix/interrupt_cleanup.h"
#include "platform/posix/unique_fd.h"
#include "platform/temporary_name.h"

namespace velmora::platform {
namespace {

using posix::UniqueFd;

// Symbolic links followed before a name counts as looping, as the kernel does.
constexpr int kMaxLinkHops = 40;

FileIdentity IdentityOf(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

class PosixInputFile : public InputFile {
  public:
    PosixInputFile(UniqueFd fd, const struct stat& info) : fd_(std::move(fd)), info_(info) {}

    std::uint64_t Size() const override { return static_cast<std::uint64_t>(info_.st_size); }
    FileIdentity Identity() const override { return IdentityOf(info_); }

    std::int64_t Read(unsigned char* buffer, std::size_t capacity) override {
        std::size_t total = 0;
        while (total < capacity) {
            const ssize_t got = ::read(fd_.Get(), buffer + total, capacity - total);
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
    UniqueFd fd_;
    struct stat info_;
};

bool WriteAll(int fd, const unsigned char* data, std::size_t length) {
    while (length > 0) {
        const ssize_t put = ::write(fd, data, length);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        data += put;
        length -= static_cast<std::size_t>(put);
    }
    return true;
}

// The folder part of `path` with its trailing '/', or "" for a bare name.
std::string FolderPart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// What a name to be replaced leads to: the file that actually gets replaced.
struct Destination {
    std::string folder;  // ends in '/', or "" for the current directory
    std::string name;    // the last part, never empty
    bool exists = false;
    mode_t permissions = 0;
    FileIdentity identity;
};

// Follows symbolic links from `path` to the regular file (or the free name)
// they lead to. False for a dangling or looping link, for anything but a
// regular file, for a file this process may not write, for a folder part
// that cannot be reached, and for anything under `path` at all (a dangling
// link too) when `mayReplaceExisting` is false.
bool Resolve(const std::string& path, bool mayReplaceExisting, Destination& destination) {
    std::string current = path;
    for (int hops = 0;; ++hops) {
        struct stat info;
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno != ENOENT || hops > 0) {
                return false;  // unreachable, or a link that dangles
            }
            destination.exists = false;
            break;
        }
        if (!mayReplaceExisting) {
            return false;
        }
        if (S_ISLNK(info.st_mode)) {
            if (hops >= kMaxLinkHops) {
                return false;
            }
            std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1,
                               '\0');
            const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
            if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) {
                return false;  // gone, or changed while it was read
            }
            target.resize(static_cast<std::size_t>(length));
            current = target.front() == '/' ? target : FolderPart(current) + target;
            continue;
        }
        // A file its owner made read-only stays as it is, as writing it in
        // place would: the rename alone would not ask.
        if (!S_ISREG(info.st_mode) ||
            ::faccessat(AT_FDCWD, current.c_str(), W_OK, AT_EACCESS) != 0) {
            return false;
        }
        destination.exists = true;
        destination.permissions = info.st_mode & 0777;
        destination.identity = IdentityOf(info);
        break;
    }
    destination.folder = FolderPart(current);
    destination.name = current.substr(destination.folder.size());
    return !destination.name.empty();
}

pid_t ProcessId() {
    static const pid_t id = ::getpid();
    return id;
}

// The permission bits a new file gets: 0666 without the umask's bits.
mode_t DefaultPermissions() {
    const mode_t mask = ::umask(0);  // the only way to read it; put back at once
    ::umask(mask);
    return 0666 & ~mask;
}

std::string NewTemporaryName(unsigned attempt) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return TemporaryName(static_cast<std::uint64_t>(now.tv_nsec),
                         static_cast<std::uint64_t>(ProcessId()), attempt);
}

enum class Placement {
    Done,                 // the new file has the name; the old one is gone
    Failed,               // nothing changed; the temporary file is still ours
    FailedKeepTemporary,  // the temporary name holds `keep`: leave it alone
};

// Gives the temporary file `temporary` the name `name`, both in `folder`.
// Where the system can, the two are exchanged in one step and what was
// displaced is checked afterwards, so that a rename by someone else between
// any earlier check and this step cannot make `keep` the file replaced.
Placement PutInPlace(int folder, const std::string& temporary, const std::string& name, bool exists,
                     const FileIdentity& keep) {
    const char* from = temporary.c_str();
    const char* to = name.c_str();
    if (exists) {
        if (::renameat2(folder, from, folder, to, RENAME_EXCHANGE) == 0) {
            struct stat displaced;
            if (::fstatat(folder, from, &displaced, AT_SYMLINK_NOFOLLOW) == 0 &&
                IdentityOf(displaced) == keep) {
                // `keep` was renamed here after the check: put it back.
                return ::renameat2(folder, from, folder, to, RENAME_EXCHANGE) == 0
                           ? Placement::Failed
                           : Placement::FailedKeepTemporary;
            }
            ::unlinkat(folder, from, 0);  // the old name; other links to it stay
            return Placement::Done;
        }
        if (errno == ENOENT) {
            exists = false;  // it went away meanwhile: create the name instead
        } else if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) {
            // No exchange on this file system: check once more, then rename.
            struct stat current;
            if (::fstatat(folder, to, &current, AT_SYMLINK_NOFOLLOW) == 0 &&
                IdentityOf(current) == keep) {
                return Placement::Failed;
            }
            return ::renameat(folder, from, folder, to) == 0 ? Placement::Done : Placement::Failed;
        } else {
            return Placement::Failed;
        }
    }
    if (::renameat2(folder, from, folder, to, RENAME_NOREPLACE) == 0) {
        return Placement::Done;
    }
    if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) {
        // A hard link never replaces anything either.
        if (::linkat(folder, from, folder, to, 0) == 0) {
            ::unlinkat(folder, from, 0);
            return Placement::Done;
        }
    }
    return Placement::Failed;  // EEXIST: the name was taken meanwhile
}

}  // namespace

struct RealFileSystem::State {
    mode_t newFilePermissions = DefaultPermissions();
    std::set<std::string> foldersToFlush;
};

RealFileSystem::RealFileSystem() : state_(std::make_unique<State>()) {}
RealFileSystem::~RealFileSystem() = default;

std::unique_ptr<InputFile> RealFileSystem::OpenForReading(const std::string& path) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat info;
    if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return nullptr;
    }
    return std::make_unique<PosixInputFile>(std::move(fd), info);
}

bool RealFileSystem::ReplaceWhole(const std::string& path, const unsigned char* data,
                                  std::size_t length, const InputFile& keep,
                                  bool mayReplaceExisting) {
    Destination destination;
    if (!Resolve(path, mayReplaceExisting, destination) ||
        (destination.exists && destination.identity == keep.Identity())) {
        return false;
    }
    const std::string folderPath = destination.folder.empty() ? "." : destination.folder;
    UniqueFd folder(::open(folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folder.Valid()) {
        return false;
    }

    // Created and named for the interruption handlers in one step: a signal
    // in between would leave the file behind.
    std::string temporary;
    UniqueFd out;
    {
        const posix::InterruptionsHeld held;
        for (unsigned attempt = 0; attempt < 100 && !out.Valid(); ++attempt) {
            temporary = NewTemporaryName(attempt);
            out = UniqueFd(::openat(folder.Get(), temporary.c_str(),
                                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY,
                                    0666));
            if (!out.Valid() && errno != EEXIST) {
                break;
            }
        }
        if (!out.Valid()) {
            return false;
        }
        posix::SetTemporaryInProgress(folder.Get(), temporary.c_str());
    }

    const bool written =
        WriteAll(out.Get(), data, length) &&
        (!destination.exists || destination.permissions == state_->newFilePermissions ||
         ::fchmod(out.Get(), destination.permissions) == 0) &&
        ::fdatasync(out.Get()) == 0 && out.Close();
    Placement placement = Placement::Failed;
    {
        const posix::InterruptionsHeld held;
        if (written) {
            placement = PutInPlace(folder.Get(), temporary, destination.name, destination.exists,
                                   keep.Identity());
        }
        if (placement == Placement::Failed) {
            ::unlinkat(folder.Get(), temporary.c_str(), 0);
        }
        posix::ClearTemporaryInProgress();
    }
    if (placement != Placement::Done) {
        return false;
    }
    state_->foldersToFlush.insert(folderPath);
    return true;
}

bool RealFileSystem::FlushFolders() {
    bool flushed = true;
    for (const std::string& folderPath : state_->foldersToFlush) {
        UniqueFd folder(::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        flushed = folder.Valid() && ::fsync(folder.Get()) == 0 && flushed;
    }
    state_->foldersToFlush.clear();
    return flushed;
}

}  // namespace velmora::platform
