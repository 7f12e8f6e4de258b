#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "tests/support/temp_dir.h"

namespace velmora::testing {

inline const std::string NEW_BYTES = "new bytes, thirty-two of them!!!";
inline const std::string OLD_BYTES = "old content";

/// A test folder holding the input "a.txt", open for reading, and a way to
/// replace names in the folder with NEW_BYTES while keeping that input.
class ReplaceWholeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        input = files.OpenForReading(dir.Write("a.txt", "the input"));
        ASSERT_NE(input, nullptr);
    }

    /// Whether `name` was replaced (ReplaceResult says why not).
    bool Replace(const std::string& name, bool mayReplaceExisting = true) {
        return ReplaceFor(name, mayReplaceExisting) == platform::ReplaceResult::Replaced;
    }
    platform::ReplaceResult ReplaceFor(const std::string& name, bool mayReplaceExisting = true) {
        const auto* data = reinterpret_cast<const unsigned char*>(NEW_BYTES.data());
        return files.ReplaceWhole(dir / name, data, NEW_BYTES.size(), *input, mayReplaceExisting);
    }

    // The hidden temporary files left in the folder, if any.
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            const std::string name = ToUtf8(entry.path().filename());
            if (IsTemporaryFileName(name)) {
                names.push_back(name);
            }
        }
        return names;
    }

    TempDir dir;
    platform::RealFileSystem files;
    std::unique_ptr<platform::InputFile> input;
};

}  // namespace velmora::testing
