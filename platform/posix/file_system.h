#pragma once

// The few file calls that differ between Unix systems, which posix/file_system.cpp
// (the file system of every POSIX system) makes through these functions. Each
// Unix folder implements them in its own file_system.cpp (linux/file_system.cpp).
// Each returns what the system call does: 0 (or a descriptor) on success, -1
// with errno set on failure. A system that lacks one of the optional calls
// fails it with EINVAL or ENOSYS, which the replace routine takes as "not
// offered here" and works around.

namespace velmora::platform::posix {

/// Makes the data written to `fd` durable (its metadata only as far as
/// needed to read the data back).
int FlushFileData(int fd);

/// Opens `folder` only to name files in it (for the *at calls), without
/// needing the right to read it; close-on-exec.
int OpenFolderForNames(const char* folder);

/// Renames `from` to `to` in the folder `folderFd`, failing with EEXIST
/// when `to` is taken.
int RenameNoReplace(int folderFd, const char* from, const char* to);

/// Swaps `from` and `to` in the folder `folderFd` in one step.
int ExchangeNames(int folderFd, const char* from, const char* to);

}  // namespace velmora::platform::posix
