#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/encrypt.h"
#include "tests/support/temp_dir.h"

namespace velmora::testing {

inline const std::string KEY_TEXT = "0123456789abcdef";

/// EncryptTextFile on the real file system with KEY_TEXT.
inline EncryptResult Encrypt(const std::string& path) {
    platform::RealFileSystem files;
    return EncryptTextFile(*Key::FromBytes(KEY_TEXT), path, files);
}

/// An output that cannot be written: `make` sets it up beside the input
/// `input` (created with the content "kept"); `output` names what must look
/// the same afterwards. Paths are relative to the test folder, with '/'.
struct UnwritableOutput {
    const char* what;
    std::string input;
    std::function<void(const TempDir&)> make;
    std::string output;
};

/// Each case gives WriteFailed, leaves the input and whatever stood under
/// the output name as they were, and leaves no temporary file behind.
inline void ExpectUnwritable(const TempDir& dir, const std::vector<UnwritableOutput>& cases) {
    namespace fs = std::filesystem;
    for (const UnwritableOutput& c : cases) {
        SCOPED_TRACE(c.what);
        const auto input = dir.Write(c.input, "kept");
        c.make(dir);
        const fs::path output = FromUtf8(dir / c.output);
        const auto before = fs::symlink_status(output).type();
        std::error_code noFile;  // a link loop has no status at all
        const bool regular = fs::is_regular_file(output, noFile);
        const std::string content = regular ? ReadFile(dir / c.output) : std::string();
        EXPECT_EQ(Encrypt(input), EncryptResult::WriteFailed);
        EXPECT_EQ(ReadFile(input), "kept");
        EXPECT_EQ(fs::symlink_status(output).type(), before);
        if (regular) {
            EXPECT_EQ(ReadFile(dir / c.output), content);
        }
    }
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path())) {
        EXPECT_FALSE(IsTemporaryFileName(ToUtf8(entry.path().filename())))
            << "temporary file left: " << ToUtf8(entry.path());
    }
}

}  // namespace velmora::testing
