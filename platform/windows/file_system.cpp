#include <windows.h>

#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/replace_whole.h"
#include "platform/temporary_name.h"
#include "platform/windows/interrupt_cleanup.h"
#include "platform/windows/wide_text.h"

namespace velmora::platform {
namespace {

// Largest amount handed to one ReadFile or WriteFile call.
constexpr DWORD MAX_CHUNK_BYTES = 1u << 30;

// The part of `length` bytes handed to one ReadFile or WriteFile call.
DWORD Chunk(std::size_t length) {
    return length < MAX_CHUNK_BYTES ? static_cast<DWORD>(length) : MAX_CHUNK_BYTES;
}

// The attributes a replaced file passes on to the file that replaces it: its
// "mode" here. (ReplaceFileW passes them on too, where it is complete.)
constexpr DWORD KEPT_ATTRIBUTES =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

/// Owns one file handle and closes it when it goes.
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept
        : handle(std::exchange(other.handle, INVALID_HANDLE_VALUE)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Close();
            handle = std::exchange(other.handle, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Close(); }

    HANDLE Get() const { return handle; }
    bool Valid() const { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }

    /// Closes now and reports whether the close succeeded.
    bool Close() {
        const HANDLE closing = std::exchange(handle, INVALID_HANDLE_VALUE);
        return closing == INVALID_HANDLE_VALUE || closing == nullptr || ::CloseHandle(closing) != 0;
    }

  private:
    HANDLE handle = INVALID_HANDLE_VALUE;
};

// The path of the file open as `handle`, with every link and junction on the
// way resolved ("\\?\C:\folder\name"); "" when the system cannot tell.
std::wstring FinalPathOf(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            return std::wstring();
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length);  // the size needed, terminating null included
    }
}

// The identity of the file open as `handle`: the volume serial number and the
// 128-bit file id where the system offers them (file indexes of 64 bits are
// not unique on every file system), else the 64-bit file index from `info`.
// A volume without a serial number (0) cannot be told from another one by
// number: there the full path decides.
FileIdentity IdentityOf(HANDLE handle, const BY_HANDLE_FILE_INFORMATION& info) {
    FileIdentity identity;
    FILE_ID_INFO id{};
    if (::GetFileInformationByHandleEx(handle, FileIdInfo, &id, sizeof id) != 0) {
        identity.volume = id.VolumeSerialNumber;
        std::memcpy(&identity.file, id.FileId.Identifier, sizeof identity.file);
        std::memcpy(&identity.fileHigh, id.FileId.Identifier + sizeof identity.file,
                    sizeof identity.fileHigh);
    } else {
        identity.volume = info.dwVolumeSerialNumber;
        identity.file =
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    }
    if (identity.volume == 0) {
        identity.path = windows::WideToUtf8(FinalPathOf(handle));
    }
    return identity;
}

// What an open handle leads to, when it is a regular file on a disk: not a
// device (NUL, CON, COM1, ...), pipe or folder.
bool DescribeRegularFile(HANDLE handle, BY_HANDLE_FILE_INFORMATION& info) {
    return ::GetFileType(handle) == FILE_TYPE_DISK &&
           ::GetFileInformationByHandle(handle, &info) != 0 &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

class WindowsInputFile : public InputFile {
  public:
    WindowsInputFile(UniqueHandle file, const BY_HANDLE_FILE_INFORMATION& info)
        : handle(std::move(file)),
          size((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow),
          identity(IdentityOf(handle.Get(), info)) {}

    std::uint64_t Size() const override { return size; }
    FileIdentity Identity() const override { return identity; }

    std::int64_t Read(unsigned char* buffer, std::size_t capacity) override {
        std::size_t total = 0;
        while (total < capacity) {
            DWORD got = 0;
            if (!::ReadFile(handle.Get(), buffer + total, Chunk(capacity - total), &got, nullptr)) {
                return -1;
            }
            if (got == 0) {
                break;
            }
            total += got;
        }
        return static_cast<std::int64_t>(total);
    }

  private:
    UniqueHandle handle;
    std::uint64_t size;
    FileIdentity identity;
};

// The reason a call failed, in the terms every system shares.
std::error_code FromWin32(DWORD error) {
    switch (error) {
        case ERROR_SUCCESS:
            return {};
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return std::make_error_code(std::errc::no_such_file_or_directory);
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return std::make_error_code(std::errc::file_exists);
        case ERROR_ACCESS_DENIED:
            return std::make_error_code(std::errc::permission_denied);
        case ERROR_PRIVILEGE_NOT_HELD:
            return std::make_error_code(std::errc::operation_not_permitted);
        case ERROR_WRITE_PROTECT:
            return std::make_error_code(std::errc::read_only_file_system);
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return std::make_error_code(std::errc::device_or_resource_busy);
        case ERROR_NOT_SUPPORTED:
        case ERROR_INVALID_FUNCTION:
        case ERROR_CALL_NOT_IMPLEMENTED:
            return std::make_error_code(std::errc::operation_not_supported);
        case ERROR_INVALID_PARAMETER:
        case ERROR_INVALID_NAME:
            return std::make_error_code(std::errc::invalid_argument);
        case ERROR_NOT_SAME_DEVICE:
            return std::make_error_code(std::errc::cross_device_link);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return std::make_error_code(std::errc::no_space_on_device);
        case ERROR_CANT_RESOLVE_FILENAME:
            return std::make_error_code(std::errc::too_many_symbolic_link_levels);
        default:
            return std::make_error_code(std::errc::io_error);
    }
}

std::error_code LastError() {
    return FromWin32(::GetLastError());
}

std::error_code ErrorUnless(bool succeeded) {
    return succeeded ? std::error_code() : LastError();
}

// The folder part of `path` with its trailing separator, "X:" for a path
// relative to a drive's current directory, or "" for a bare name.
std::wstring FolderPart(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator != std::wstring::npos) {
        return path.substr(0, separator + 1);
    }
    if (path.size() >= 2 && path[1] == L':') {
        return path.substr(0, 2);
    }
    return std::wstring();
}

// Whether the open name is a link to somewhere else (a symbolic link or a
// junction), rather than a file that merely has a reparse point (a file
// kept by a cloud service, say).
bool IsLink(HANDLE handle) {
    FILE_ATTRIBUTE_TAG_INFO tag{};
    return ::GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag) != 0 &&
           (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           (tag.ReparseTag == IO_REPARSE_TAG_SYMLINK ||
            tag.ReparseTag == IO_REPARSE_TAG_MOUNT_POINT);
}

class WindowsReplaceFile : public ReplaceFile {
  public:
    explicit WindowsReplaceFile(UniqueHandle handle) : handle(std::move(handle)) {}

    std::error_code Inspect(EntryInfo& info) override {
        BY_HANDLE_FILE_INFORMATION details;
        if (!::GetFileInformationByHandle(handle.Get(), &details)) {
            return LastError();
        }
        info = EntryInfo();
        info.kind = (details.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                        ? EntryKind::Other
                        : EntryKind::RegularFile;
        info.identity = IdentityOf(handle.Get(), details);
        info.mode = details.dwFileAttributes & KEPT_ATTRIBUTES;
        return {};
    }

    std::error_code WriteSomeAt(std::uint64_t offset, const unsigned char* data, std::size_t length,
                                std::size_t& written) override {
        if (const std::error_code error = Seek(offset)) {
            return error;
        }
        DWORD put = 0;
        const bool done = ::WriteFile(handle.Get(), data, Chunk(length), &put, nullptr) != 0;
        written = put;
        return ErrorUnless(done);
    }

    std::error_code ReadSomeAt(std::uint64_t offset, unsigned char* data, std::size_t length,
                               std::size_t& got) override {
        if (const std::error_code error = Seek(offset)) {
            return error;
        }
        DWORD read = 0;
        const bool done = ::ReadFile(handle.Get(), data, Chunk(length), &read, nullptr) != 0;
        got = read;
        return ErrorUnless(done);
    }

    // The attributes kept, marked for backup as every new file is.
    std::error_code SetMode(std::uint32_t mode) override {
        FILE_BASIC_INFO basic{};  // zero times: left as they are
        basic.FileAttributes = (mode & KEPT_ATTRIBUTES) | FILE_ATTRIBUTE_ARCHIVE;
        return ErrorUnless(
            ::SetFileInformationByHandle(handle.Get(), FileBasicInfo, &basic, sizeof basic) != 0);
    }
    // Windows files carry no owner of this kind: ReplaceFileW passes the old
    // file's security and owner on to the new one.
    std::error_code SetOwner(std::uint32_t, std::uint32_t) override {
        return std::make_error_code(std::errc::operation_not_supported);
    }

    std::error_code Truncate(std::uint64_t length) override {
        if (const std::error_code error = Seek(length)) {
            return error;
        }
        return ErrorUnless(::SetEndOfFile(handle.Get()) != 0);
    }
    std::error_code Flush() override { return ErrorUnless(::FlushFileBuffers(handle.Get()) != 0); }
    std::error_code Close() override { return ErrorUnless(handle.Close()); }

  private:
    std::error_code Seek(std::uint64_t offset) {
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(offset);
        return ErrorUnless(::SetFilePointerEx(handle.Get(), at, nullptr, FILE_BEGIN) != 0);
    }

    UniqueHandle handle;
};

class WindowsReplaceFolder : public ReplaceFolder {
  public:
    explicit WindowsReplaceFolder(std::wstring folder) : folder(std::move(folder)) {}

    std::error_code Inspect(const std::string& name, EntryInfo& info) override {
        // No access asked for, only what the name is: this open is not kept
        // out by another opener's share mode, and it stops at a link.
        const UniqueHandle handle(::CreateFileW(
            Path(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        info = EntryInfo();
        if (!handle.Valid()) {
            const DWORD error = ::GetLastError();
            return error == ERROR_FILE_NOT_FOUND ? std::error_code() : FromWin32(error);
        }
        BY_HANDLE_FILE_INFORMATION details;
        if (::GetFileType(handle.Get()) != FILE_TYPE_DISK) {
            info.kind = EntryKind::Other;  // a device: NUL, CON, COM1, ...
            return {};
        }
        if (!::GetFileInformationByHandle(handle.Get(), &details)) {
            return LastError();
        }
        info.kind = IsLink(handle.Get()) ? EntryKind::SymbolicLink
                    : (details.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                        ? EntryKind::Other
                        : EntryKind::RegularFile;
        info.identity = IdentityOf(handle.Get(), details);
        info.mode = details.dwFileAttributes & KEPT_ATTRIBUTES;
        return {};
    }

    std::error_code CreateExclusive(const std::string& name,
                                    std::unique_ptr<ReplaceFile>& file) override {
        // Shares delete access only, so that the interruption handler can
        // remove the file while it is being written.
        return Open(name, GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_DELETE, CREATE_NEW,
                    file);
    }

    std::error_code OpenExisting(const std::string& name, OpenAccess access,
                                 std::unique_ptr<ReplaceFile>& file) override {
        if (access == OpenAccess::Write) {
            return Open(name, GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                        file);
        }
        return Open(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING, file);
    }

    std::error_code RenameNoReplace(const std::string& from, const std::string& to) override {
        // Without MOVEFILE_REPLACE_EXISTING a name taken meanwhile is left
        // alone and the move fails; it returns once the name is on disk.
        return ErrorUnless(
            ::MoveFileExW(Path(from).c_str(), Path(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0);
    }
    std::error_code Link(const std::string& from, const std::string& to) override {
        return ErrorUnless(::CreateHardLinkW(Path(to).c_str(), Path(from).c_str(), nullptr) != 0);
    }
    std::error_code Exchange(const std::string&, const std::string&) override {
        return std::make_error_code(std::errc::operation_not_supported);
    }
    std::error_code Rename(const std::string& from, const std::string& to) override {
        // The new file takes the old one's attributes, security, owner and
        // alternate streams. File systems without security descriptors
        // still get the new content.
        return ErrorUnless(
            ::ReplaceFileW(Path(to).c_str(), Path(from).c_str(), nullptr,
                           REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                           nullptr) != 0);
    }
    std::error_code Remove(const std::string& name) override {
        return ErrorUnless(::DeleteFileW(Path(name).c_str()) != 0);
    }

    void RecordTemporary(const std::string& name) override {
        windows::SetTemporaryInProgress(Path(name).c_str());
    }
    void ForgetTemporary() override { windows::ClearTemporaryInProgress(); }

  private:
    std::wstring Path(const std::string& name) const { return folder + windows::Utf8ToWide(name); }

    std::error_code Open(const std::string& name, DWORD access, DWORD share, DWORD disposition,
                         std::unique_ptr<ReplaceFile>& file) {
        UniqueHandle handle(::CreateFileW(Path(name).c_str(), access, share, nullptr, disposition,
                                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                          nullptr));
        if (!handle.Valid()) {
            return LastError();
        }
        if (::GetFileType(handle.Get()) != FILE_TYPE_DISK) {
            return std::make_error_code(std::errc::invalid_argument);
        }
        // Windows refuses to write a read-only file to anyone; a process
        // that the system lets through anyway (Wine run by root) still must
        // not write it.
        BY_HANDLE_FILE_INFORMATION details;
        if ((access & GENERIC_WRITE) != 0 && disposition == OPEN_EXISTING &&
            ::GetFileInformationByHandle(handle.Get(), &details) != 0 &&
            (details.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
            return std::make_error_code(std::errc::permission_denied);
        }
        file = std::make_unique<WindowsReplaceFile>(std::move(handle));
        return {};
    }

    std::wstring folder;
};

class WindowsReplaceSystem : public ReplaceSystem {
  public:
    std::error_code Resolve(const std::string& path, std::string& folder, std::string& name,
                            bool& viaLink) override {
        const std::wstring wide = windows::Utf8ToWide(path);
        if (wide.empty()) {
            return std::make_error_code(std::errc::invalid_argument);
        }
        // Follows links to the file they lead to; asks for no access, so
        // another opener's share mode does not keep it out.
        const UniqueHandle probe(
            ::CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        const DWORD own = ::GetFileAttributesW(wide.c_str());  // of the name itself
        viaLink = own != INVALID_FILE_ATTRIBUTES && (own & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        std::wstring final = wide;
        if (probe.Valid()) {
            if (::GetFileType(probe.Get()) == FILE_TYPE_DISK) {
                final = FinalPathOf(probe.Get());
                if (final.empty()) {
                    // Without the final path only a name that is no link
                    // itself can be replaced.
                    if (viaLink) {
                        return std::make_error_code(std::errc::io_error);
                    }
                    final = wide;
                }
            }
        } else if (const DWORD error = ::GetLastError(); error != ERROR_FILE_NOT_FOUND) {
            return FromWin32(error);  // the folder is missing, a link loops, ...
        }
        const std::wstring folderPart = FolderPart(final);
        folder = windows::WideToUtf8(folderPart);
        name = windows::WideToUtf8(final.substr(folderPart.size()));
        return {};
    }

    std::error_code OpenFolder(const std::string& folder,
                               std::unique_ptr<ReplaceFolder>& opened) override {
        opened = std::make_unique<WindowsReplaceFolder>(windows::Utf8ToWide(folder));
        return {};
    }

    std::string NewTemporaryName(unsigned attempt) override {
        LARGE_INTEGER now{};
        ::QueryPerformanceCounter(&now);
        return TemporaryName(static_cast<std::uint64_t>(now.QuadPart), ::GetCurrentProcessId(),
                             attempt);
    }

    void HoldInterruptions() override { held.emplace(); }
    void ReleaseInterruptions() override { held.reset(); }

    std::error_code FlushFolder(const std::string&) override {
        // A new name is made with MOVEFILE_WRITE_THROUGH, which returns only
        // once the name is on disk, and NTFS logs a replaced name in its
        // journal; a folder cannot be flushed on its own here.
        return {};
    }

  private:
    std::optional<windows::InterruptionsHeld> held;
};

}  // namespace

std::unique_ptr<ReplaceSystem> SystemReplaceCalls() {
    return std::make_unique<WindowsReplaceSystem>();
}

std::unique_ptr<InputFile> RealFileSystem::OpenForReading(const std::string& path) {
    // Share mode 0: while the input is open nobody else can write, rename or
    // delete it. A device name opens the device, which is refused below
    // without ever being read.
    const std::wstring widePath = windows::Utf8ToWide(path);
    if (widePath.empty()) {
        return nullptr;
    }
    UniqueHandle handle(::CreateFileW(widePath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!handle.Valid() || !DescribeRegularFile(handle.Get(), info)) {
        return nullptr;
    }
    return std::make_unique<WindowsInputFile>(std::move(handle), info);
}

}  // namespace velmora::platform
