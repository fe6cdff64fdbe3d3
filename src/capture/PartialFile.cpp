#include "capture/PartialFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <random>

std::optional<std::string> createPartialFile(const std::string& video) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device entropy;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = video + ".";
        for (int i = 0; i < 6; ++i) path += kLetters[entropy() % (sizeof kLetters - 1)];
        path += ".part";
        // Mode 0666 less the umask, as ffmpeg would have made it: the video
        // is this file, renamed.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}
