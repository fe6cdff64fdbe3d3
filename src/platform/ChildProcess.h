// Another program run beside the show, fed through a pipe to its standard
// input; its own output goes to a file, so it never mixes with the show's.
#pragma once

#include <sys/types.h>
#include <sys/uio.h>

#include <optional>
#include <string>
#include <vector>

namespace platform {

// The full path of `program` found on PATH, if it is there and executable.
std::optional<std::string> findOnPath(const std::string& program);

class ChildProcess {
public:
    // Starts `arguments[0]` (a path) with the rest as its arguments, its
    // standard input a pipe from us, its standard output and error written to
    // `logPath`, at `niceness` steps below our scheduling priority. Throws
    // std::runtime_error when it cannot be started.
    ChildProcess(const std::vector<std::string>& arguments, const std::string& logPath, int niceness = 0);
    // Closes the pipe and waits for the program.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Writes every byte of the pieces, in order. False once the program has
    // stopped reading (it ended or failed); nothing is written after that.
    bool write(const struct iovec* pieces, int count);

    // Closes the pipe (end of input) and waits; the program's exit status,
    // or -1 when it did not exit normally.
    int finish();

private:
    pid_t pid_ = -1;
    int input_ = -1;
    std::optional<int> status_;
};

// Runs a program to its end with no input; its exit status as finish() gives it.
int runProgram(const std::vector<std::string>& arguments, const std::string& logPath);

// The last non-empty line of a text file, for reporting why a program failed.
std::string lastLineOf(const std::string& path);

}  // namespace platform
