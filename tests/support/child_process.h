#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace velmora::testing {

/// A program started in the background with its standard output on a pipe,
/// so a test can read its report line by line and signal it mid-way. It is
/// killed and reaped if the test ends first.
class ChildProcess {
  public:
    /// Starts `argv` (argv[0] is the program path) in `workingDir` with
    /// standard input closed and standard error discarded, with the
    /// variables of `environment` ("NAME=value") added to its environment.
    ChildProcess(const std::vector<std::string>& argv, const std::string& workingDir,
                 const std::vector<std::string>& environment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    /// The next line of standard output without its line break; false at the
    /// end of the output.
    bool ReadLine(std::string& line);

    /// Sends `signalNumber` to the program.
    void Signal(int signalNumber);

    /// Reads the rest of the output, waits for the program and returns its
    /// wait status (see waitpid).
    int Wait();

    /// Everything read from standard output so far.
    const std::string& Output() const { return output; }

  private:
    bool Fill();

    pid_t pid = -1;
    int outFd = -1;
    std::string output;
    std::size_t consumed = 0;
    bool reaped = false;
};

}  // namespace velmora::testing
