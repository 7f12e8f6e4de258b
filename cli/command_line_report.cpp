#include "cli/command_line_report.h"

#include <optional>

#include "platform/console.h"

// The texts below are matched byte for byte by users' scripts, misspellings
// included ("encptry"); see docs/behaviour.md before changing any of them.

namespace velmora::cli {
namespace {

using platform::ConsoleMessage;

// "<words><path><end>", the path quoted as a name.
ConsoleMessage About(const char* words, const std::string& path, const char* end) {
    return ConsoleMessage().Words(words).Name(path).Words(end);
}

// A failed file gets two lines: first this one, which names the step that
// failed (opening or reading the input, writing the output) and the file it
// failed on, then the one of its mode below. A file done gets none.
std::optional<ConsoleMessage> FailedStepLine(const FileOutcome& outcome) {
    switch (outcome.result) {
        case EncryptResult::Done:
            return std::nullopt;
        case EncryptResult::OpenFailed:
            return About("Open file ", outcome.inputPath, " error!\n");
        case EncryptResult::TooLarge:
        case EncryptResult::ReadFailed:
            return About("Read file ", outcome.inputPath, " error!\n");
        case EncryptResult::WriteFailed:
            return About("Write file ", outcome.outputPath, " error!\n");
    }
    return std::nullopt;
}

// The message for a file of a folder.
ConsoleMessage FolderEntryLine(const FileOutcome& outcome) {
    const std::string& path = outcome.inputPath;
    switch (outcome.result) {
        case EncryptResult::Done:
            return About("encptry ", path, " successful!\n");
        case EncryptResult::OpenFailed:
            return About("OpenFile ", path, " error!\n");
        case EncryptResult::TooLarge:
            return ConsoleMessage().Words("File length is too big. Max length is 0x16000\n");
        case EncryptResult::WriteFailed:
            return About("WriteFile ", path, " error!\n");
        case EncryptResult::ReadFailed:
            return About("ReadFile ", path, " error!\n");
    }
    return ConsoleMessage();
}

// The message for the one file of single-file mode.
ConsoleMessage SingleFileLine(const FileOutcome& outcome) {
    return outcome.result == EncryptResult::Done
               ? About("encptry ", outcome.inputPath, " successful!\n")
               : About("Encrypt file ", outcome.inputPath, " error!");
}

}  // namespace

void CommandLineReport::NothingFound() {
    platform::WriteText(out, "Directory is not exist!\n");
}

void CommandLineReport::EntrySkipped(const std::string&) {
    platform::WriteText(out, "Not a Directory!\n");
}

void CommandLineReport::FileDone(const FileOutcome& outcome) {
    if (const std::optional<ConsoleMessage> line = FailedStepLine(outcome)) {
        platform::WriteMessage(out, *line);
    }
    platform::WriteMessage(out, outcome.mode == TargetMode::SingleFile ? SingleFileLine(outcome)
                                                                       : FolderEntryLine(outcome));
}

void CommandLineReport::FolderNotFlushed(const platform::FolderNotFlushed& folder) {
    platform::WriteMessage(err, ConsoleMessage()
                                    .Words("Flush folder ")
                                    .Name(folder.folder)
                                    .Words(" error: " + folder.error.message() + "\n"));
}

}  // namespace velmora::cli
