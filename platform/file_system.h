#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace velmora::platform {

/// What makes a file the same file under any of its names: the volume and
/// the file's number on it (device and inode; volume serial and file index).
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
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
    /// - what would be replaced is the file `keep` (checked on what is
    ///   actually replaced, so no rename in the folder in the meantime can
    ///   turn the output into `keep`);
    /// - anything cannot be created, written, flushed or renamed.
    virtual bool ReplaceWhole(const std::string& path, const unsigned char* data,
                              std::size_t length, const InputFile& keep,
                              bool mayReplaceExisting) = 0;

    /// Makes the new names of every file replaced so far durable (flushes
    /// their folders), once for a whole batch. Returns false when a folder
    /// could not be flushed.
    virtual bool FlushFolders() = 0;
};

/// The file system of the machine the program runs on.
class RealFileSystem : public FileSystem {
  public:
    RealFileSystem();
    ~RealFileSystem() override;
    RealFileSystem(const RealFileSystem&) = delete;
    RealFileSystem& operator=(const RealFileSystem&) = delete;

    std::unique_ptr<InputFile> OpenForReading(const std::string& path) override;
    bool ReplaceWhole(const std::string& path, const unsigned char* data, std::size_t length,
                      const InputFile& keep, bool mayReplaceExisting) override;
    bool FlushFolders() override;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace velmora::platform
