// velmora-cli.exe's output on Windows: written to a file or a pipe, lines
// end in "\r\n" (as the C runtime's text mode writes "\n") and names are in
// the ANSI code page (1252 here), '?' for what it lacks, whether the words
// end a line or not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli_fixture.h"
#include "tests/support/run_process_windows.h"

namespace velmora::testing {

const std::string LINE_END = "\r\n";

namespace {

// What velmora-cli.exe writes into a file its standard output and standard
// error go to.
std::string RunIntoFile(const std::vector<std::string>& argv, const std::string& workingDir,
                        const std::string& outputPath) {
    if (RunProcessIntoFile(argv, workingDir, outputPath) < 0) {
        return "<could not run into a file>";
    }
    return ReadFile(outputPath);
}

TEST_F(CliTest, FilesAndPipesGetCrLfLineEndsAndAnsiNames) {
    dir.Write("batch/caf\xC3\xA9.txt", "accented");
    dir.Write("greek/\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1-\xE4\xB8\xAD.txt", "Greek, CJK");
    struct Case {
        std::vector<std::string> args;
        std::string expected;  // the exact bytes
    };
    const Case cases[] = {
        {{KEY, "batch"}, "encptry batch\\caf\xE9.txt successful!\r\n"},
        // (Split so that no "??-" makes a trigraph.)
        {{KEY, "greek"},
         "encptry greek\\????"
         "?-?.txt successful!\r\n"},
        {{KEY, "missing.txt"}, "Open file missing.txt error!\r\nEncrypt file missing.txt error!"},
        {{KEY, "caf\xC3\xA9-missing.txt"},
         "Open file caf\xE9-missing.txt error!\r\nEncrypt file caf\xE9-missing.txt error!"},
        {{"0123456789abcde", "a.txt"}, "Length of encrypt key must be 16!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        std::vector<std::string> argv = c.args;
        argv.insert(argv.begin(), CLI);
        const ProcessResult toPipe = RunProcess(argv, ToUtf8(dir.Path()));
        EXPECT_EQ(toPipe.out, c.expected) << "to a pipe";
        EXPECT_EQ(RunIntoFile(argv, ToUtf8(dir.Path()), dir / "out.log"), c.expected)
            << "to a file";
    }
}

// The usage text's line breaks, as a C program's text mode writes them.
TEST_F(CliTest, UsageHasCrLfLineEnds) {
    std::string expected;
    for (const char c : Usage(CLI)) {
        expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_EQ(RunProcess({CLI}, ToUtf8(dir.Path())).out, expected);
}

}  // namespace
}  // namespace velmora::testing
