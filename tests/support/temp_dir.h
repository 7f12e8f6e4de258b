#pragma once

#include <filesystem>
#include <string>

namespace velmora::testing {

/// Paths as the programs hold them (UTF-8, the platform's separator) and as
/// std::filesystem holds them.
std::string ToUtf8(const std::filesystem::path& path);
std::filesystem::path FromUtf8(const std::string& path);

/// `path` with every '/' turned into the platform's separator, so that tests
/// can write paths one way for every platform.
std::string Native(std::string path);

/// A fresh folder under the system's temporary folder, removed with all its
/// contents when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path; }
    /// Path of `relative` (written with '/') inside the folder, in UTF-8 with
    /// the platform's separators.
    std::string operator/(const std::string& relative) const;

    /// Writes `content` to `relative` (creating parent folders) and returns its path.
    std::string Write(const std::string& relative, const std::string& content) const;
    /// Writes `size` bytes of printable text to `relative` and returns its path.
    std::string WriteSized(const std::string& relative, size_t size) const;
    /// Creates the folder `relative` and returns its path.
    std::string MakeDir(const std::string& relative) const;

  private:
    std::filesystem::path path;
};

/// The whole content of a file (path in UTF-8), or "<missing>" when it
/// cannot be read.
std::string ReadFile(const std::string& path);

/// Whether `name` is that of a hidden temporary file the programs write
/// before a file gets its final name (".velmora-XXXXXXXX.tmp").
inline bool IsTemporaryFileName(const std::string& name) {
    return name.rfind(".velmora-", 0) == 0;
}

}  // namespace velmora::testing
