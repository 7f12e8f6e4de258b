#include "cli/command_line_report.h"

#include "platform/console.h"

// The texts below are matched byte for byte by users' scripts, misspellings
// included ("encptry"); see docs/behaviour.md before changing any of them.

namespace velmora::cli {
namespace {

// The line the encryption routine is known to print for a failure in this
// program, before the driver's own message about the same file.
std::string RoutineLine(const FileOutcome& outcome) {
    switch (outcome.result) {
        case EncryptResult::Done:
            return "";
        case EncryptResult::OpenFailed:
            return "Open file " + outcome.inputPath + " error!\n";
        case EncryptResult::TooLarge:
        case EncryptResult::ReadFailed:
            return "Read file " + outcome.inputPath + " error!\n";
        case EncryptResult::WriteFailed:
            return "Write file " + outcome.outputPath + " error!\n";
    }
    return "";
}

// The driver's message for a file of a folder.
std::string FolderEntryLine(const FileOutcome& outcome) {
    const std::string& path = outcome.inputPath;
    switch (outcome.result) {
        case EncryptResult::Done:
            return "encptry " + path + " successful!\n";
        case EncryptResult::OpenFailed:
            return "OpenFile " + path + " error!\n";
        case EncryptResult::TooLarge:
            return "File length is too big. Max length is 0x16000\n";
        case EncryptResult::WriteFailed:
            return "WriteFile " + path + " error!\n";
        case EncryptResult::ReadFailed:
            return "ReadFile " + path + " error!\n";
    }
    return "";
}

// The driver's message for the one file of single-file mode.
std::string SingleFileLine(const FileOutcome& outcome) {
    return outcome.result == EncryptResult::Done ? "encptry " + outcome.inputPath + " successful!\n"
                                                 : "Encrypt file " + outcome.inputPath + " error!";
}

}  // namespace

void CommandLineReport::NothingFound() {
    Print("Directory is not exist!\n");
}

void CommandLineReport::EntrySkipped(const std::string&) {
    Print("Not a Directory!\n");
}

void CommandLineReport::FileDone(const FileOutcome& outcome) {
    if (const std::string line = RoutineLine(outcome); !line.empty()) {
        Print(line);
    }
    Print(outcome.mode == TargetMode::SingleFile ? SingleFileLine(outcome)
                                                 : FolderEntryLine(outcome));
}

void CommandLineReport::FolderNotFlushed(const platform::FolderNotFlushed& folder) {
    platform::WriteText(
        err_, "Flush folder " + folder.folder + " error: " + folder.error.message() + "\n");
}

void CommandLineReport::Print(const std::string& text) {
    platform::WriteText(out_, text);
}

}  // namespace velmora::cli
