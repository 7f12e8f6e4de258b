#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace velmora::platform {

/// What makes a file the same file under any of its names: the volume and
/// the file's number on it (device and inode; volume serial number and the
/// 128-bit file id, or the 64-bit file index where no such id is offered).
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;      ///< the inode, or the low half of a 128-bit file id
    std::uint64_t fileHigh = 0;  ///< the high half of a 128-bit file id; 0 elsewhere
    /// Only where the volume has no serial number to tell it from others (0):
    /// the file's full path with every link resolved, which then decides.
    std::string path;

    friend bool operator==(const FileIdentity& a, const FileIdentity& b) {
        if (!a.path.empty() || !b.path.empty()) {
            return a.path == b.path;
        }
        return a.volume == b.volume && a.file == b.file && a.fileHigh == b.fileHigh;
    }
};

/// Why ReplaceWhole did or did not replace a file. Every value but Replaced
/// leaves what was there as it was.
enum class ReplaceResult {
    Replaced,            ///< the new content is in place
    LeadsNowhere,        ///< a link dangles or loops, or the folder cannot be reached
    NotARegularFile,     ///< the name leads to a folder, device, FIFO, ...
    ExistingNotAllowed,  ///< something exists there and may not be replaced
    IsTheInput,          ///< what would be replaced is the input file, which must survive
    NotWritable,         ///< the existing file does not open for writing
    CannotCreate,        ///< no temporary file (nor the name itself) can be created
    CannotWrite,         ///< writing, keeping the mode, flushing or closing failed
    NameTakenMeanwhile,  ///< a new name was taken by someone else meanwhile
    ChangedMeanwhile,    ///< another file was put under the name meanwhile
    CannotPutInPlace,    ///< no way of giving the new file its name worked
};

/// A short English name of `result`, for messages and test failures.
const char* ToString(ReplaceResult result);

/// A folder whose new names could not be made durable, and why.
struct FolderNotFlushed {
    std::string folder;
    std::error_code error;
};

/// A regular file open for reading. It stays open, and other writers stay
/// out where the system allows, as long as the object lives.
class InputFile {
  public:
    virtual ~InputFile() = default;

    /// The size the file system reported when the file was opened.
    virtual std::uint64_t Size() const = 0;

    /// The file's identity, for telling whether another name leads to it.
    virtual FileIdentity Identity() const = 0;

    /// Reads from the current position until the end of the file or until
    /// `capacity` bytes are read, whichever comes first; returns the number
    /// of bytes read, or -1 on a read error.
    virtual std::int64_t Read(unsigned char* buffer, std::size_t capacity) = 0;
};

/// The file operations the encryption core needs: reading an input whole and
/// replacing an output whole or not at all.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    /// Opens the regular file at `path` for reading, without ever waiting
    /// (a FIFO or a device is refused, not opened). Null when the file cannot
    /// be opened or is not a regular file.
    virtual std::unique_ptr<InputFile> OpenForReading(const std::string& path) = 0;

    /// Replaces what `path` names with exactly `length` bytes from `data`, whole
    /// or not at all: the bytes go to a new hidden temporary file in the same
    /// folder, which is flushed to disk and then takes the place of the old
    /// file in one step. On any failure the temporary file is removed and
    /// everything is left as it was.
    ///
    /// `path` may name nothing yet (the file is created with the default
    /// permissions), a regular file (replaced, keeping its permission bits),
    /// or a symbolic link that leads to one (the link stays and the file it
    /// leads to is replaced). It fails without writing anything when:
    /// - the link dangles or loops, or what `path` leads to is not a regular
    ///   file (a folder, device or FIFO), or is one this process may not
    ///   write (read-only);
    /// - something exists under `path` and `mayReplaceExisting` is false;
    /// - what would be replaced is the file `input` (checked on what is
    ///   actually replaced, so no rename in the folder in the meantime can
    ///   turn the output into `input`);
    /// - anything cannot be created, written, flushed or renamed.
    /// The result says which; Replaced is the only success.
    virtual ReplaceResult ReplaceWhole(const std::string& path, const unsigned char* data,
                                       std::size_t length, const InputFile& input,
                                       bool mayReplaceExisting) = 0;

    /// Makes the new names of every file replaced so far durable (flushes
    /// their folders), once for a whole batch. Returns the folders that could
    /// not be flushed.
    virtual std::vector<FolderNotFlushed> FlushFolders() = 0;
};

class ReplaceSystem;

/// The file system of the machine the program runs on.
class RealFileSystem : public FileSystem {
  public:
    /// Works through the system's own calls (SystemReplaceCalls()).
    RealFileSystem();
    /// Works through `calls`, for tests that make some of them fail.
    explicit RealFileSystem(std::unique_ptr<ReplaceSystem> calls);
    ~RealFileSystem() override;
    RealFileSystem(const RealFileSystem&) = delete;
    RealFileSystem& operator=(const RealFileSystem&) = delete;

    std::unique_ptr<InputFile> OpenForReading(const std::string& path) override;
    ReplaceResult ReplaceWhole(const std::string& path, const unsigned char* data,
                               std::size_t length, const InputFile& input,
                               bool mayReplaceExisting) override;
    std::vector<FolderNotFlushed> FlushFolders() override;

  private:
    struct State;
    std::unique_ptr<State> state;
};

}  // namespace velmora::platform
