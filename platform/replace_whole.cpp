#include "platform/replace_whole.h"

#include <optional>
#include <set>
#include <vector>

namespace velmora::platform {
namespace {

// Holds back interruptions while it lives, for steps that must not be cut in
// half (a file created but not yet recorded, a name half given).
class InterruptionsHeld {
  public:
    explicit InterruptionsHeld(ReplaceSystem& system) : system(system) {
        system.HoldInterruptions();
    }
    ~InterruptionsHeld() { system.ReleaseInterruptions(); }
    InterruptionsHeld(const InterruptionsHeld&) = delete;
    InterruptionsHeld& operator=(const InterruptionsHeld&) = delete;

  private:
    ReplaceSystem& system;
};

// How putting the temporary file in place ended.
struct Placement {
    ReplaceResult result = ReplaceResult::CannotPutInPlace;
    bool leaveTemporary = false;  // the temporary name holds someone else's file now
    bool refusedForLack = false;  // a rename over the file was refused for lack of permission
};

Placement Done() {
    return {ReplaceResult::Replaced};
}
Placement Failed(ReplaceResult result) {
    return {result};
}

// Writes all of `data` at `offset`, as many calls as the file takes.
std::error_code WriteAll(ReplaceFile& file, std::uint64_t offset, const unsigned char* data,
                         std::size_t length) {
    while (length > 0) {
        std::size_t written = 0;
        if (const std::error_code error = file.WriteSomeAt(offset, data, length, written)) {
            return error;
        }
        if (written == 0) {
            return std::make_error_code(std::errc::no_space_on_device);
        }
        data += written;
        offset += written;
        length -= written;
    }
    return {};
}

// Reads the whole file from its start into `bytes`; file_too_large past
// `limit` bytes.
std::error_code ReadAll(ReplaceFile& file, std::vector<unsigned char>& bytes, std::size_t limit) {
    constexpr std::size_t CHUNK_BYTES = 65536;  // read straight into `bytes`: stacks may be small
    bytes.clear();
    for (;;) {
        const std::size_t used = bytes.size();
        bytes.resize(used + CHUNK_BYTES);
        std::size_t got = 0;
        const std::error_code error = file.ReadSomeAt(used, bytes.data() + used, CHUNK_BYTES, got);
        bytes.resize(used + got);
        if (error || got == 0) {
            return error;
        }
        if (bytes.size() > limit) {
            return std::make_error_code(std::errc::file_too_large);
        }
    }
}

bool SameRegularFile(const EntryInfo& info, const EntryInfo& examined) {
    return info.kind == EntryKind::RegularFile && info.identity == examined.identity;
}

// The steps of one replacement, in the folder of the file replaced.
class Replacement {
  public:
    Replacement(ReplaceFolder& folder, const std::string& name, const FileIdentity& input)
        : folder(folder), name(name), input(input) {}

    // Gives the written temporary file the free name: a rename that never
    // replaces, else a hard link (which never replaces either), else an
    // empty placeholder created exclusively under the name and the temporary
    // file renamed over it.
    Placement PutUnderNewName(const std::string& temporary) {
        std::error_code error = folder.RenameNoReplace(temporary, name);
        if (!error) {
            return Done();
        }
        if (error == std::errc::file_exists) {
            return Failed(ReplaceResult::NameTakenMeanwhile);
        }
        if (!NotOfferedHere(error)) {
            return Failed(ReplaceResult::CannotPutInPlace);
        }
        error = folder.Link(temporary, name);
        if (!error) {
            folder.Remove(temporary);
            return Done();
        }
        if (error == std::errc::file_exists) {
            return Failed(ReplaceResult::NameTakenMeanwhile);
        }
        if (!NotOfferedHere(error)) {
            return Failed(ReplaceResult::CannotPutInPlace);
        }
        return PutOverPlaceholder(temporary);
    }

    // Replaces the examined file with the temporary file: both swapped in one
    // step and the displaced file checked afterwards, else a rename over the
    // name once it is checked again.
    // `ours` is the identity of the temporary file.
    Placement PutOverExisting(const std::string& temporary, const EntryInfo& examined,
                              const FileIdentity& ours) {
        std::error_code error = folder.Exchange(temporary, name);
        if (!error) {
            EntryInfo displaced;
            if (!folder.Inspect(temporary, displaced) && SameRegularFile(displaced, examined) &&
                !(displaced.identity == input)) {
                folder.Remove(temporary);  // the old file; its other names stay
                return Done();
            }
            // Someone put another file under the name after it was examined
            // (the input file, perhaps): put it back. What comes out must be
            // the temporary file; if the name changed hands once more, what
            // came out is someone's file and stays under the temporary name.
            EntryInfo back;
            if (folder.Exchange(temporary, name) || folder.Inspect(temporary, back) ||
                !(back.identity == ours)) {
                return {ReplaceResult::ChangedMeanwhile, true};
            }
            return Failed(ReplaceResult::ChangedMeanwhile);
        }
        if (error == std::errc::no_such_file_or_directory) {
            return NameGoneMeanwhile(temporary);
        }
        if (!NotOfferedHere(error) && !RefusedForLackOfPermission(error)) {
            return Failed(ReplaceResult::CannotPutInPlace);
        }
        EntryInfo current;
        if (folder.Inspect(name, current)) {
            return Failed(ReplaceResult::CannotPutInPlace);
        }
        if (current.kind == EntryKind::Missing) {
            return NameGoneMeanwhile(temporary);
        }
        if (!SameRegularFile(current, examined)) {
            return Failed(ReplaceResult::ChangedMeanwhile);
        }
        error = folder.Rename(temporary, name);
        if (!error) {
            return Done();
        }
        Placement failed = Failed(ReplaceResult::CannotPutInPlace);
        failed.refusedForLack = RefusedForLackOfPermission(error);
        return failed;
    }

  private:
    // The examined file went away before it was replaced: the name is free
    // now, and taking it replaces nothing.
    Placement NameGoneMeanwhile(const std::string& temporary) { return PutUnderNewName(temporary); }

    Placement PutOverPlaceholder(const std::string& temporary) {
        std::unique_ptr<ReplaceFile> placeholder;
        const std::error_code error = folder.CreateExclusive(name, placeholder);
        if (error == std::errc::file_exists) {
            return Failed(ReplaceResult::NameTakenMeanwhile);
        }
        EntryInfo mine;
        const bool known = !error && !placeholder->Inspect(mine);
        if (placeholder) {
            placeholder->Close();
        }
        if (error) {
            return Failed(ReplaceResult::CannotPutInPlace);
        }
        // Renamed over only while the name still holds the placeholder.
        EntryInfo current;
        if (known && !folder.Inspect(name, current) && SameRegularFile(current, mine) &&
            !folder.Rename(temporary, name)) {
            return Done();
        }
        if (known && !folder.Inspect(name, current) && SameRegularFile(current, mine)) {
            folder.Remove(name);
        }
        return Failed(ReplaceResult::CannotPutInPlace);
    }

    ReplaceFolder& folder;
    const std::string& name;
    const FileIdentity& input;
};

// Writes the temporary file whole, gives it the mode (and, where the process
// may, the owner and group) of the file it replaces, and flushes and closes it.
// `written` receives what the temporary file is.
ReplaceResult WriteTemporary(ReplaceFile& out, const unsigned char* data, std::size_t length,
                             const EntryInfo* replaced, EntryInfo& written) {
    if (WriteAll(out, 0, data, length)) {
        return ReplaceResult::CannotWrite;
    }
    EntryInfo& made = written;
    if (out.Inspect(made)) {
        return ReplaceResult::CannotWrite;
    }
    if (replaced) {
        if (made.owner != replaced->owner || made.group != replaced->group) {
            // Refused unless the process may: then at least the group, where
            // it is one of the process's; else the file stays the process's.
            if (out.SetOwner(replaced->owner, replaced->group) && made.group != replaced->group) {
                out.SetOwner(made.owner, replaced->group);
            }
            if (out.Inspect(made)) {  // a new owner can drop set-id bits
                return ReplaceResult::CannotWrite;
            }
        }
        if (made.mode != replaced->mode) {
            if (const std::error_code error = out.SetMode(replaced->mode)) {
                // A file system without modes of its own gives every file the
                // same one: accepted when the refusal changed nothing.
                EntryInfo after;
                if (!NotOfferedHere(error) || out.Inspect(after) || after.mode != made.mode) {
                    return ReplaceResult::CannotWrite;
                }
            }
        }
    }
    if (out.Flush() || out.Close()) {
        return ReplaceResult::CannotWrite;
    }
    return ReplaceResult::Replaced;
}

// Puts `old` back into `file` after a failed write in place.
void PutBack(ReplaceFile& file, const std::vector<unsigned char>& old) {
    if (!WriteAll(file, 0, old.data(), old.size())) {
        file.Truncate(old.size());
        file.Flush();
    }
}

// The last resort where a new file may not take the place of the examined
// one but the file itself may be written: its old content is kept in memory,
// the new bytes are written over it (nothing is truncated before they are
// all there), the rest is cut off, and on any failure the old content is
// written back.
ReplaceResult WriteInPlace(ReplaceSystem& system, ReplaceFolder& folder, const std::string& name,
                           const EntryInfo& examined, const FileIdentity& input,
                           const unsigned char* data, std::size_t length) {
    const InterruptionsHeld held(system);
    std::unique_ptr<ReplaceFile> file;
    if (folder.OpenExisting(name, OpenAccess::ReadWrite, file)) {
        return ReplaceResult::NotWritable;
    }
    EntryInfo info;
    if (file->Inspect(info) || !SameRegularFile(info, examined) || info.identity == input) {
        return ReplaceResult::ChangedMeanwhile;
    }
    std::vector<unsigned char> old;
    if (ReadAll(*file, old, MAX_IN_PLACE_BYTES)) {
        return ReplaceResult::CannotWrite;
    }
    if (!WriteAll(*file, 0, data, length) && !file->Truncate(length) && !file->Flush()) {
        if (!file->Close()) {
            return ReplaceResult::Replaced;
        }
        if (!folder.OpenExisting(name, OpenAccess::ReadWrite, file)) {
            PutBack(*file, old);
        }
        return ReplaceResult::CannotWrite;
    }
    PutBack(*file, old);
    return ReplaceResult::CannotWrite;
}

}  // namespace

bool NotOfferedHere(const std::error_code& error) {
    return error == std::errc::invalid_argument || error == std::errc::function_not_supported ||
           error == std::errc::operation_not_supported || error == std::errc::not_supported ||
           error == std::errc::operation_not_permitted || error == std::errc::io_error;
}

bool RefusedForLackOfPermission(const std::error_code& error) {
    return error == std::errc::permission_denied || error == std::errc::operation_not_permitted;
}

ReplaceResult ReplaceWhole(ReplaceSystem& system, const std::string& path,
                           const unsigned char* data, std::size_t length, const FileIdentity& input,
                           bool mayReplaceExisting, std::optional<std::string>& newNameFolder) {
    newNameFolder.reset();
    std::string folderPath, name;
    bool viaLink = false;
    if (system.Resolve(path, folderPath, name, viaLink) || name.empty()) {
        return ReplaceResult::LeadsNowhere;
    }
    if (viaLink && !mayReplaceExisting) {
        return ReplaceResult::ExistingNotAllowed;
    }
    std::unique_ptr<ReplaceFolder> folder;
    EntryInfo examined;
    if (system.OpenFolder(folderPath, folder) || folder->Inspect(name, examined)) {
        return ReplaceResult::LeadsNowhere;
    }
    const bool exists = examined.kind != EntryKind::Missing;
    if (exists && !mayReplaceExisting) {
        return ReplaceResult::ExistingNotAllowed;
    }
    if ((!exists && viaLink) || examined.kind == EntryKind::SymbolicLink) {
        return ReplaceResult::LeadsNowhere;  // a link that dangles, or changed meanwhile
    }
    if (exists && examined.kind != EntryKind::RegularFile) {
        return ReplaceResult::NotARegularFile;
    }
    if (exists && examined.identity == input) {
        return ReplaceResult::IsTheInput;
    }
    // May it be replaced? Whatever writing it in place would meet decides: a
    // file its owner made read-only stays as it is, though the folder would
    // allow a rename.
    if (exists) {
        std::unique_ptr<ReplaceFile> probe;
        if (folder->OpenExisting(name, OpenAccess::Write, probe)) {
            return ReplaceResult::NotWritable;
        }
        probe->Close();
    }

    // Created and recorded for the interruption handlers in one step: an
    // interruption in between would leave the file behind.
    std::string temporary;
    std::unique_ptr<ReplaceFile> out;
    std::error_code created;
    {
        const InterruptionsHeld held(system);
        for (unsigned attempt = 0; attempt < 100; ++attempt) {
            temporary = system.NewTemporaryName(attempt);
            created = folder->CreateExclusive(temporary, out);
            if (created != std::errc::file_exists) {
                break;
            }
        }
        if (!created) {
            folder->RecordTemporary(temporary);
        }
    }
    if (created) {
        if (exists && RefusedForLackOfPermission(created)) {
            return WriteInPlace(system, *folder, name, examined, input, data, length);
        }
        return ReplaceResult::CannotCreate;
    }

    EntryInfo ours;
    const ReplaceResult written =
        WriteTemporary(*out, data, length, exists ? &examined : nullptr, ours);
    out.reset();
    Placement placement = Failed(written);
    {
        const InterruptionsHeld held(system);
        if (written == ReplaceResult::Replaced) {
            Replacement replacement(*folder, name, input);
            placement = exists ? replacement.PutOverExisting(temporary, examined, ours.identity)
                               : replacement.PutUnderNewName(temporary);
        }
        if (placement.result != ReplaceResult::Replaced && !placement.leaveTemporary) {
            folder->Remove(temporary);
        }
        folder->ForgetTemporary();
    }
    if (placement.refusedForLack) {
        return WriteInPlace(system, *folder, name, examined, input, data, length);
    }
    if (placement.result == ReplaceResult::Replaced) {
        newNameFolder = folderPath;
    }
    return placement.result;
}

const char* ToString(ReplaceResult result) {
    switch (result) {
        case ReplaceResult::Replaced:
            return "replaced";
        case ReplaceResult::LeadsNowhere:
            return "leads nowhere";
        case ReplaceResult::NotARegularFile:
            return "not a regular file";
        case ReplaceResult::ExistingNotAllowed:
            return "existing name not to be replaced";
        case ReplaceResult::IsTheInput:
            return "the input file";
        case ReplaceResult::NotWritable:
            return "not writable";
        case ReplaceResult::CannotCreate:
            return "cannot create";
        case ReplaceResult::CannotWrite:
            return "cannot write";
        case ReplaceResult::NameTakenMeanwhile:
            return "name taken meanwhile";
        case ReplaceResult::ChangedMeanwhile:
            return "changed meanwhile";
        case ReplaceResult::CannotPutInPlace:
            return "cannot put in place";
    }
    return "?";
}

// ---- RealFileSystem: the parts every system shares ----

struct RealFileSystem::State {
    std::unique_ptr<ReplaceSystem> calls;
    std::set<std::string> foldersToFlush;
};

RealFileSystem::RealFileSystem() : RealFileSystem(SystemReplaceCalls()) {}
RealFileSystem::RealFileSystem(std::unique_ptr<ReplaceSystem> calls)
    : state(std::make_unique<State>()) {
    state->calls = std::move(calls);
}
RealFileSystem::~RealFileSystem() = default;

ReplaceResult RealFileSystem::ReplaceWhole(const std::string& path, const unsigned char* data,
                                           std::size_t length, const InputFile& input,
                                           bool mayReplaceExisting) {
    std::optional<std::string> folder;
    const ReplaceResult result = platform::ReplaceWhole(
        *state->calls, path, data, length, input.Identity(), mayReplaceExisting, folder);
    if (folder) {
        state->foldersToFlush.insert(*folder);
    }
    return result;
}

std::vector<FolderNotFlushed> RealFileSystem::FlushFolders() {
    std::vector<FolderNotFlushed> failed;
    for (const std::string& folder : state->foldersToFlush) {
        if (const std::error_code error = state->calls->FlushFolder(folder)) {
            failed.push_back({folder.empty() ? std::string(".") : folder, error});
        }
    }
    state->foldersToFlush.clear();
    return failed;
}

}  // namespace velmora::platform
