#pragma once

#include <cstdio>

#include "core/encrypt_target.h"

namespace velmora::cli {

/// Prints what EncryptTarget reports in the command line's own words, on
/// `out`, each message flushed before the next file is started; a folder
/// that could not be flushed goes to `err`, leaving `out` as scripts know it.
class CommandLineReport : public TargetReport {
  public:
    CommandLineReport(std::FILE* out, std::FILE* err) : out(out), err(err) {}

    void NothingFound() override;
    void EntrySkipped(const std::string& entryPath) override;
    void FileDone(const FileOutcome& outcome) override;
    void FolderNotFlushed(const platform::FolderNotFlushed& folder) override;

  private:
    std::FILE* out;
    std::FILE* err;
};

}  // namespace velmora::cli
