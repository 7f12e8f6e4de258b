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
