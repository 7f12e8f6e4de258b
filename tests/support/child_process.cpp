#include "tests/support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace velmora::testing {

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& workingDir,
                           const std::vector<std::string>& environment) {
    int outPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    std::vector<char*> args;
    for (const auto& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    pid = fork();
    if (pid == 0) {
        const int devNull = open("/dev/null", O_RDWR);
        dup2(devNull, 0);
        dup2(outPipe[1], 1);
        dup2(devNull, 2);
        // As from an interactive shell, whatever the test run inherited.
        for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
            signal(signalNumber, SIG_DFL);
        }
        for (const std::string& variable : environment) {
            putenv(const_cast<char*>(variable.c_str()));
        }
        if (chdir(workingDir.c_str()) != 0) {
            _exit(126);
        }
        execv(args[0], args.data());
        _exit(127);
    }
    close(outPipe[1]);
    outFd = outPipe[0];
}

ChildProcess::~ChildProcess() {
    if (!reaped && pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    if (outFd >= 0) {
        close(outFd);
    }
}

bool ChildProcess::Fill() {
    char chunk[4096];
    ssize_t got;
    do {
        got = read(outFd, chunk, sizeof chunk);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) {
        return false;
    }
    output.append(chunk, static_cast<std::size_t>(got));
    return true;
}

bool ChildProcess::ReadLine(std::string& line) {
    for (;;) {
        const std::size_t end = output.find('\n', consumed);
        if (end != std::string::npos) {
            line = output.substr(consumed, end - consumed);
            consumed = end + 1;
            return true;
        }
        if (!Fill()) {
            return false;
        }
    }
}

void ChildProcess::Signal(int signalNumber) {
    kill(pid, signalNumber);
}

int ChildProcess::Wait() {
    while (Fill()) {
    }
    int status = 0;
    waitpid(pid, &status, 0);
    reaped = true;
    return status;
}

}  // namespace velmora::testing
