#pragma once

#include <cstdio>

#include "core/encrypt_target.h"

namespace velmora::cli {

/// Prints what EncryptTarget reports in the command line's own words, on
/// `out`, each message flushed before the next file is started.
class CommandLineReport : public TargetReport {
  public:
    explicit CommandLineReport(std::FILE* out) : out_(out) {}

    void NothingFound() override;
    void EntrySkipped(const std::string& entryPath) override;
    void FileDone(const FileOutcome& outcome) override;

  private:
    std::FILE* out_;
};

}  // namespace velmora::cli
