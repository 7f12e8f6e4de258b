#pragma once

#include <filesystem>
#include <string>

namespace velmora::testing {

/// A fresh folder under the system's temporary folder, removed with all its
/// contents when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    /// Path of `relative` inside the folder, as a string.
    std::string operator/(const std::string& relative) const { return (path_ / relative).string(); }

    /// Writes `content` to `relative` (creating parent folders) and returns its path.
    std::string Write(const std::string& relative, const std::string& content) const;
    /// Writes `size` bytes of printable text to `relative` and returns its path.
    std::string WriteSized(const std::string& relative, size_t size) const;
    /// Creates the folder `relative` and returns its path.
    std::string MakeDir(const std::string& relative) const;

  private:
    std::filesystem::path path_;
};

/// The whole content of a file, or "<missing>" when it cannot be read.
std::string ReadFile(const std::string& path);

}  // namespace velmora::testing
