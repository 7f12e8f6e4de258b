#pragma once

// Replacing a file whole or not at all, written once for every system, above
// the few calls each system makes in its own way (ReplaceSystem and the
// folder and file objects it hands out). The calls report why they failed as
// std::error_code values of the generic category (std::errc), whatever the
// system's own error numbers are.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/file_system.h"

namespace velmora::platform {

/// What a name is, looked at without following it.
enum class EntryKind { Missing, RegularFile, SymbolicLink, Other };

/// What the system tells about a file or a name.
struct EntryInfo {
    EntryKind kind = EntryKind::Missing;
    FileIdentity identity;
    std::uint32_t mode = 0;   ///< permission bits where the system has them; 0 elsewhere
    std::uint32_t owner = 0;  ///< owner and group where the system has them; 0 elsewhere
    std::uint32_t group = 0;
};

/// One open file: the temporary file being written, a placeholder, or an
/// existing file written in place.
class ReplaceFile {
  public:
    virtual ~ReplaceFile() = default;

    /// What the open file is (fstat).
    virtual std::error_code Inspect(EntryInfo& info) = 0;
    /// Writes the start of `data` (at least one byte when `length` is not 0)
    /// at `offset`; `written` says how many bytes.
    virtual std::error_code WriteSomeAt(std::uint64_t offset, const unsigned char* data,
                                        std::size_t length, std::size_t& written) = 0;
    /// Reads up to `length` bytes at `offset` into `data`; `got` says how
    /// many, 0 at the end of the file.
    virtual std::error_code ReadSomeAt(std::uint64_t offset, unsigned char* data,
                                       std::size_t length, std::size_t& got) = 0;
    virtual std::error_code SetMode(std::uint32_t mode) = 0;
    virtual std::error_code SetOwner(std::uint32_t owner, std::uint32_t group) = 0;
    virtual std::error_code Truncate(std::uint64_t length) = 0;
    /// Makes what was written durable.
    virtual std::error_code Flush() = 0;
    /// Closes now; later calls fail.
    virtual std::error_code Close() = 0;
};

/// How an existing file is opened: never truncated, never through a link,
/// never waiting for a reader or writer.
enum class OpenAccess { Write, ReadWrite };

/// One folder, open for the calls made in it. Names are single parts of a
/// path, without separators.
class ReplaceFolder {
  public:
    virtual ~ReplaceFolder() = default;

    /// What `name` is, without following a link; kind Missing (and no
    /// error) when there is nothing under that name.
    virtual std::error_code Inspect(const std::string& name, EntryInfo& info) = 0;
    /// Creates `name`, failing with file_exists when anything is there (a
    /// link that dangles too).
    virtual std::error_code CreateExclusive(const std::string& name,
                                            std::unique_ptr<ReplaceFile>& file) = 0;
    /// Opens the existing regular file `name`.
    virtual std::error_code OpenExisting(const std::string& name, OpenAccess access,
                                         std::unique_ptr<ReplaceFile>& file) = 0;

    // Putting a file in place. Each call fails rather than do something else:
    // where a system does not offer one, it says so with one of the errors
    // NotOfferedHere() accepts.

    /// Renames `from` to `to`, failing with file_exists when `to` is taken.
    virtual std::error_code RenameNoReplace(const std::string& from, const std::string& to) = 0;
    /// Makes `to` a second name of `from`, failing with file_exists when taken.
    virtual std::error_code Link(const std::string& from, const std::string& to) = 0;
    /// Swaps `from` and `to` in one step; both must exist.
    virtual std::error_code Exchange(const std::string& from, const std::string& to) = 0;
    /// Renames `from` over the existing file `to`, which goes.
    virtual std::error_code Rename(const std::string& from, const std::string& to) = 0;
    virtual std::error_code Remove(const std::string& name) = 0;

    /// Names the temporary file now being written, for the interruption
    /// handlers to remove; only called while interruptions are held.
    virtual void RecordTemporary(const std::string& name) = 0;
    /// The temporary file is gone or has its final name.
    virtual void ForgetTemporary() = 0;
};

/// The calls a system makes in its own way, handed to ReplaceWhole.
class ReplaceSystem {
  public:
    virtual ~ReplaceSystem() = default;

    /// Follows symbolic links from `path` to the name they lead to and splits
    /// it into `folder` (ending in a separator, or empty for the current
    /// folder) and `name`. `viaLink` tells whether a link was followed. Fails
    /// for a loop of links and for a folder part that cannot be looked at;
    /// succeeds when the last name is free (or a link leads to nothing).
    virtual std::error_code Resolve(const std::string& path, std::string& folder, std::string& name,
                                    bool& viaLink) = 0;
    virtual std::error_code OpenFolder(const std::string& folder,
                                       std::unique_ptr<ReplaceFolder>& opened) = 0;
    /// A fresh name for a temporary file (see TemporaryName).
    virtual std::string NewTemporaryName(unsigned attempt) = 0;
    /// Holds back interruptions until ReleaseInterruptions; never nested.
    virtual void HoldInterruptions() = 0;
    virtual void ReleaseInterruptions() = 0;
    /// Makes the names made in `folder` durable. A file system that does not
    /// flush folders on their own is no failure.
    virtual std::error_code FlushFolder(const std::string& folder) = 0;
};

/// The calls of the system the program runs on.
std::unique_ptr<ReplaceSystem> SystemReplaceCalls();

/// Whether an optional call's error means "not offered here" rather than a
/// failure: EINVAL, ENOSYS, EOPNOTSUPP, EPERM and EIO, as file systems that
/// lack a call answer it.
bool NotOfferedHere(const std::error_code& error);

/// Whether an error is a refusal for lack of permission (EACCES, EPERM); a
/// read-only file system is not one.
bool RefusedForLackOfPermission(const std::error_code& error);

/// Largest existing file kept in memory to be written in place.
inline constexpr std::size_t MAX_IN_PLACE_BYTES = 16u << 20;

/// Replaces what `path` leads to with `length` bytes from `data`, whole or
/// not at all, through `system` (see FileSystem::ReplaceWhole for what is
/// refused). `input` is the identity of the file that must never be replaced. When a new name
/// was made, `newNameFolder` is set to the folder it was made in (to be
/// flushed); a file written in place leaves it unset.
ReplaceResult ReplaceWhole(ReplaceSystem& system, const std::string& path,
                           const unsigned char* data, std::size_t length, const FileIdentity& input,
                           bool mayReplaceExisting, std::optional<std::string>& newNameFolder);

}  // namespace velmora::platform
