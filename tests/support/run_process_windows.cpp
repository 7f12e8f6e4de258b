#include <windows.h>

#include <stdexcept>
#include <thread>

#include "tests/support/run_process.h"
#include "tests/support/run_process_windows.h"

namespace velmora::testing {
namespace {

std::wstring Wide(const std::string& text) {
    if (text.empty()) {
        return std::wstring();
    }
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

// One argument quoted so that CommandLineToArgvW gives it back unchanged.
std::wstring Quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring quoted = L"\"";
    for (size_t i = 0;; ++i) {
        size_t backslashes = 0;
        while (i < argument.size() && argument[i] == L'\\') {
            ++i;
            ++backslashes;
        }
        if (i == argument.size()) {
            quoted.append(backslashes * 2, L'\\');
            break;
        }
        if (argument[i] == L'"') {
            quoted.append(backslashes * 2 + 1, L'\\');
        } else {
            quoted.append(backslashes, L'\\');
        }
        quoted += argument[i];
    }
    return quoted + L"\"";
}

std::string ReadAll(HANDLE pipe) {
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(pipe, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        text.append(chunk, got);
    }
    return text;
}

// Starts `argv` in `workingDir` with the given standard handles, which it
// inherits.
bool Start(const std::vector<std::string>& argv, const std::string& workingDir, HANDLE input,
           HANDLE output, HANDLE errors, PROCESS_INFORMATION& process) {
    std::wstring commandLine;
    for (const std::string& argument : argv) {
        commandLine += (commandLine.empty() ? L"" : L" ") + Quoted(Wide(argument));
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = errors;
    const std::wstring directory = Wide(workingDir);
    return CreateProcessW(Wide(argv.at(0)).c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                          nullptr, directory.c_str(), &startup, &process) != 0;
}

// Waits for `process` to end and gives its exit code.
int Finish(const PROCESS_INFORMATION& process) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& workingDir) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0) ||
        !CreatePipe(&errRead, &errWrite, &inherit, 0)) {
        throw std::runtime_error("CreatePipe failed");
    }
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    HANDLE input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                               OPEN_EXISTING, 0, nullptr);
    PROCESS_INFORMATION process{};
    const bool started = Start(argv, workingDir, input, outWrite, errWrite, process);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    CloseHandle(input);
    ProcessResult result;
    if (!started) {
        CloseHandle(outRead);
        CloseHandle(errRead);
        result.err = "<CreateProcessW failed>";
        return result;
    }
    std::thread errors([&] { result.err = ReadAll(errRead); });
    result.out = ReadAll(outRead);
    errors.join();
    result.exitStatus = Finish(process);
    CloseHandle(outRead);
    CloseHandle(errRead);
    return result;
}

int RunProcessIntoFile(const std::vector<std::string>& argv, const std::string& workingDir,
                       const std::string& outputPath) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE file = CreateFileW(Wide(outputPath).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                    &inherit, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return -1;
    }
    PROCESS_INFORMATION process{};
    const bool started = Start(argv, workingDir, nullptr, file, file, process);
    CloseHandle(file);
    return started ? Finish(process) : -1;
}

}  // namespace velmora::testing
