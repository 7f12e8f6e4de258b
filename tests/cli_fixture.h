#pragma once

// End-to-end runs of the real velmora-cli program in temporary folders: what
// every platform's test files share.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/run_process.h"
#include "tests/support/temp_dir.h"

namespace velmora::testing {

inline const std::string CLI = VELMORA_CLI_PATH;
inline const std::string KEY = "0123456789abcdef";
inline const std::string TOO_BIG = "File length is too big. Max length is 0x16000\n";

/// How the program ends a line on standard output: "\r\n" on Windows, as the
/// C runtime's text mode writes "\n", "\n" elsewhere (with each platform's
/// console cases).
extern const std::string LINE_END;

/// `out` with every line end the platform writes turned into "\n", so that
/// the cases can be written once; a line ended any other way fails.
inline std::string WithNewlines(const std::string& out) {
    if (LINE_END == "\n") {
        return out;
    }
    std::string text;
    for (size_t at = 0; at < out.size(); ++at) {
        if (out.compare(at, LINE_END.size(), LINE_END) == 0) {
            text += '\n';
            at += LINE_END.size() - 1;
        } else {
            EXPECT_TRUE(out[at] != '\n' && out[at] != '\r')
                << "a line not ended in " << ::testing::PrintToString(LINE_END);
            text += out[at];
        }
    }
    return text;
}

inline std::string Usage(const std::string& program) {
    return "\n<" + program +
           "> <key> <FileName/Directory>\n\nNotes:\n  key:\tEncrypt key.\n"
           "\t\tThe length of encrypt key must be 16!\n\n"
           "  FileName/Directory:\tInput file or directory.\n"
           "\t\tIf you input file name like 'xxx.txt',only one file\n"
           "\t\tlike 'xxx.ser',will be generated.\n"
           "\t\tIf you input a directory, which include several \n"
           "\t\tfiles like 'xxxxx.txt',all of those files in this\n"
           "\t\tlayer will be encrypted,and the files name type\n"
           "\t\twill be replaced by 'xxxxx.ser'\n";
}

class CliTest : public ::testing::Test {
  protected:
    /// Runs the program with `args` in the test folder; it must end with 0,
    /// print nothing on standard error and never print the key.
    ProcessResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), CLI);
        ProcessResult result = RunProcess(args, ToUtf8(dir.Path()));
        result.out = WithNewlines(result.out);
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out.find(KEY), std::string::npos) << "the key must never be printed";
        return result;
    }

    /// Folder mode prints in directory order: compare the lines as a multiset.
    static std::multiset<std::string> Lines(const std::string& out) {
        std::multiset<std::string> lines;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);) {
            lines.insert(line);
        }
        return lines;
    }

    TempDir dir;
};

}  // namespace velmora::testing
