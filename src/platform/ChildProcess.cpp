#include "platform/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace platform {

std::optional<std::string> findOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

namespace {

// posix_spawn, from a thread of its own that first lowers its priority by
// `niceness`: on Linux each thread has its own nice value and a program
// starts with that of the thread that started it, while ours stay as
// they are (an unprivileged process could never raise them back).
int spawnNicer(pid_t* pid, const char* path, const posix_spawn_file_actions_t* actions, char* const argv[],
               int niceness) {
    if (niceness == 0) return ::posix_spawn(pid, path, actions, nullptr, argv, environ);
    int error = 0;
    std::thread spawner([&] {
        const auto thread = static_cast<id_t>(::syscall(SYS_gettid));
        errno = 0;
        const int ours = ::getpriority(PRIO_PROCESS, thread);
        if (errno == 0) ::setpriority(PRIO_PROCESS, thread, ours + niceness);
        error = ::posix_spawn(pid, path, actions, nullptr, argv, environ);
    });
    spawner.join();
    return error;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& arguments, const std::string& logPath, int niceness) {
    // A reader that goes away must show up as a failed write, not kill us.
    ::signal(SIGPIPE, SIG_IGN);

    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("cannot make a pipe");
    // Large pipe buffers let whole frames go across without a round trip.
    ::fcntl(pipeEnds[1], F_SETPIPE_SZ, 1 << 20);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);

    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const int error = spawnNicer(&pid_, argv[0], &actions, argv.data(), niceness);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[0]);
    if (error != 0) {
        ::close(pipeEnds[1]);
        throw std::runtime_error("cannot start " + arguments[0]);
    }
    input_ = pipeEnds[1];
}

ChildProcess::~ChildProcess() { finish(); }

bool ChildProcess::write(const struct iovec* pieces, int count) {
    if (input_ < 0) return false;
    std::vector<struct iovec> left(pieces, pieces + count);
    std::size_t first = 0;
    while (first < left.size()) {
        const int batch = static_cast<int>(std::min<std::size_t>(left.size() - first, IOV_MAX));
        const ssize_t written = ::writev(input_, &left[first], batch);
        if (written < 0) {
            if (errno == EINTR) continue;
            ::close(input_);
            input_ = -1;
            return false;
        }
        // Skip what went out: whole pieces, then part of the next one.
        auto done = static_cast<std::size_t>(written);
        while (first < left.size() && done >= left[first].iov_len) done -= left[first++].iov_len;
        if (first < left.size()) {
            left[first].iov_base = static_cast<char*>(left[first].iov_base) + done;
            left[first].iov_len -= done;
        }
    }
    return true;
}

int ChildProcess::finish() {
    if (input_ >= 0) {
        ::close(input_);
        input_ = -1;
    }
    if (!status_ && pid_ > 0) {
        int raw = 0;
        while (::waitpid(pid_, &raw, 0) < 0 && errno == EINTR) {
        }
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    return status_.value_or(-1);
}

int runProgram(const std::vector<std::string>& arguments, const std::string& logPath) {
    ChildProcess program(arguments, logPath);
    return program.finish();
}

std::string lastLineOf(const std::string& path) {
    std::ifstream in(path);
    std::string line, last;
    while (std::getline(in, line)) {
        if (line.find_first_not_of(" \t\r") != std::string::npos) last = line;
    }
    return last;
}

}  // namespace platform
