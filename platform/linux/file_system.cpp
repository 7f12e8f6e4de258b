// The Linux calls of the POSIX file system (posix/file_system.cpp):
// renameat2's flags, O_PATH and fdatasync.

#include "platform/posix/file_system.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace velmora::platform::posix {

int FlushFileData(int fd) {
    return ::fdatasync(fd);
}

int OpenFolderForNames(const char* folder) {
    return ::open(folder, O_PATH | O_DIRECTORY | O_CLOEXEC);
}

int RenameNoReplace(int folderFd, const char* from, const char* to) {
    return ::renameat2(folderFd, from, folderFd, to, RENAME_NOREPLACE);
}

int ExchangeNames(int folderFd, const char* from, const char* to) {
    return ::renameat2(folderFd, from, folderFd, to, RENAME_EXCHANGE);
}

}  // namespace velmora::platform::posix
