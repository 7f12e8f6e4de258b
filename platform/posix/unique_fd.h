#pragma once

#include <unistd.h>

#include <utility>

namespace velmora::platform::posix {

/// Owns one POSIX file descriptor and closes it when it goes.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd(std::exchange(other.fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            Reset();
            fd = std::exchange(other.fd, -1);
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }

    int Get() const { return fd; }
    bool Valid() const { return fd >= 0; }

    /// Closes now and reports whether the close succeeded (a failed close can
    /// mean lost data on some file systems).
    bool Close() {
        const int closing = std::exchange(fd, -1);
        return closing < 0 || ::close(closing) == 0;
    }

  private:
    void Reset() {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }

    int fd = -1;
};

}  // namespace velmora::platform::posix
