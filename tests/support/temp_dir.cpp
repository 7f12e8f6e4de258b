#include "tests/support/temp_dir.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/path.h"

namespace velmora::testing {

std::string ToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path FromUtf8(const std::string& path) {
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

std::string Native(std::string path) {
    for (char& c : path) {
        if (c == '/') {
            c = platform::PATH_SEPARATOR;
        }
    }
    return path;
}

TempDir::TempDir() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate =
            std::filesystem::temp_directory_path() / ("velmora-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::string TempDir::operator/(const std::string& relative) const {
    return ToUtf8((path / FromUtf8(relative)).make_preferred());
}

std::string TempDir::Write(const std::string& relative, const std::string& content) const {
    const auto file = FromUtf8(*this / relative);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return ToUtf8(file);
}

std::string TempDir::WriteSized(const std::string& relative, size_t size) const {
    std::string content(size, 'x');
    for (size_t i = 0; i < size; ++i) {
        content[i] = (i % 64 == 63) ? '\n' : static_cast<char>('a' + i % 26);
    }
    return Write(relative, content);
}

std::string TempDir::MakeDir(const std::string& relative) const {
    const std::string folder = *this / relative;
    std::filesystem::create_directories(FromUtf8(folder));
    return folder;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(FromUtf8(path), std::ios::binary);
    if (!in) {
        return "<missing>";
    }
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace velmora::testing
