#include "tests/support/temp_dir.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace velmora::testing {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmora-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& relative, const std::string& content) const {
    const auto path = path_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

std::string TempDir::WriteSized(const std::string& relative, size_t size) const {
    std::string content(size, 'x');
    for (size_t i = 0; i < size; ++i) {
        content[i] = (i % 64 == 63) ? '\n' : static_cast<char>('a' + i % 26);
    }
    return Write(relative, content);
}

std::string TempDir::MakeDir(const std::string& relative) const {
    std::filesystem::create_directories(path_ / relative);
    return (path_ / relative).string();
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return "<missing>";
    }
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace velmora::testing
