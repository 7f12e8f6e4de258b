#include "cli/command_line.h"

#include "cli/command_line_report.h"
#include "core/key.h"
#include "platform/console.h"
#include "platform/key_text.h"

// The texts below are matched byte for byte by users' scripts; see
// docs/behaviour.md before changing any of them.

namespace velmora::cli {

void PrintUsage(const std::string& programName, std::FILE* out) {
    platform::WriteMessage(
        out, platform::ConsoleMessage()
                 .Words("\n<")
                 .Name(programName)
                 .Words("> <key> <FileName/Directory>\n\nNotes:\n  key:\tEncrypt key.\n"
                        "\t\tThe length of encrypt key must be 16!\n\n"
                        "  FileName/Directory:\tInput file or directory.\n"
                        "\t\tIf you input file name like 'xxx.txt',only one file\n"
                        "\t\tlike 'xxx.ser',will be generated.\n"
                        "\t\tIf you input a directory, which include several \n"
                        "\t\tfiles like 'xxxxx.txt',all of those files in this\n"
                        "\t\tlayer will be encrypted,and the files name type\n"
                        "\t\twill be replaced by 'xxxxx.ser'\n"));
}

int RunCommandLine(const std::vector<std::string>& arguments, const TargetServices& services,
                   std::FILE* out, std::FILE* err) {
    if (arguments.size() != 3) {
        PrintUsage(arguments.empty() ? "velmora-cli" : arguments[0], out);
        return 0;
    }
    const std::optional<Key> key = Key::FromBytes(platform::KeyBytesFromText(arguments[1]));
    if (!key) {
        platform::WriteText(out, "Length of encrypt key must be 16!");
        return 0;
    }
    CommandLineReport report(out, err);
    EncryptTarget(*key, arguments[2], FolderJoin::AddSeparator, services, report);
    return 0;
}

}  // namespace velmora::cli
