#pragma once

#include <string>

#include "core/encrypt.h"
#include "core/key.h"
#include "platform/file_system.h"
#include "platform/folder_search.h"

namespace velmora {

/// How a target was taken: one text file, or the text files of a folder.
enum class TargetMode { SingleFile, Folder };

/// How a folder target and an entry's name are joined: the command line
/// always puts a separator between them (a target ending in one gives two),
/// the desktop tree's folder paths already end in one.
enum class FolderJoin { AddSeparator, TargetEndsInSeparator };

/// What happened to one file.
struct FileOutcome {
    TargetMode mode;
    std::string inputPath;   ///< as passed to EncryptTextFile
    std::string outputPath;  ///< SerPathFor(inputPath)
    EncryptResult result;
};

/// Receives what EncryptTarget does, in order. Each call returns before the
/// next file is touched, so a report may wait for the user.
class TargetReport {
  public:
    virtual ~TargetReport() = default;

    /// Folder mode found no entry at all: the folder is missing, is not a
    /// folder, cannot be read, or holds nothing that matches "*.txt".
    virtual void NothingFound() = 0;

    /// Folder mode left an entry alone: it is a folder, or its name does not
    /// end in exactly ".txt" (the search ignores letter case).
    virtual void EntrySkipped(const std::string& entryPath) = 0;

    /// One file was encrypted, or failed.
    virtual void FileDone(const FileOutcome& outcome) = 0;

    /// At the end: the folder of files written could not be flushed, so
    /// their new names may not survive a crash. The files are reported
    /// already; a report with nowhere to say this leaves it out.
    virtual void FolderNotFlushed(const platform::FolderNotFlushed& /*folder*/) {}
};

/// The services the workflow works through.
struct TargetServices {
    platform::FileSystem& files;
    const platform::FolderSearch& search;
};

/// Encrypts what `target` names and reports every step to `report`.
///
/// A target containing ".txt" or ".TXT" anywhere is one file (even when it
/// is a folder). Any other target is a folder: every entry of its "*.txt"
/// search, in the order the search returns them, is either encrypted (a
/// file whose name ends in exactly ".txt") or skipped; subfolders are never
/// entered and a failed file never stops the others. At the end the folders
/// of the files written are flushed once, and each that fails is reported.
void EncryptTarget(const Key& key, const std::string& target, FolderJoin folderPath,
                   const TargetServices& services, TargetReport& report);

}  // namespace velmora
