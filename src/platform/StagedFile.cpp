#include "platform/StagedFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

namespace platform {

StagedFile::StagedFile(const std::string& destination) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device entropy;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = destination + ".";
        for (int i = 0; i < 6; ++i) path += kLetters[entropy() % (sizeof kLetters - 1)];
        descriptor_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor_ >= 0) {
            path_ = path;
            return;
        }
        if (errno != EEXIST) break;
    }
    error_ = errno;
}

StagedFile::~StagedFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
    // Put in place by a link, the file has two names: only the staged one goes.
    if (created() && !renamed_) ::unlink(path_.c_str());
}

bool StagedFile::fail(int error) {
    error_ = error;
    return false;
}

bool StagedFile::write(const void* bytes, std::size_t size) {
    if (descriptor_ < 0 || broken_) return false;
    const auto* at = static_cast<const unsigned char*>(bytes);
    while (size > 0) {
        const ssize_t written = ::write(descriptor_, at, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            broken_ = true;
            return fail(written == 0 ? ENOSPC : errno);
        }
        at += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool StagedFile::close() {
    if (!created() || broken_) return false;
    if (descriptor_ < 0) return true;
    // Delayed allocation may find the disk full only when the data goes out.
    if (::fsync(descriptor_) != 0 && errno != EINVAL) {
        broken_ = true;
        fail(errno);
    }
    if (::close(descriptor_) != 0 && !broken_) {
        broken_ = true;
        fail(errno);
    }
    descriptor_ = -1;
    return !broken_;
}

bool StagedFile::replace(const std::string& destination) {
    if (!close() || renamed_) return false;
    if (std::rename(path_.c_str(), destination.c_str()) != 0) return fail(errno);
    renamed_ = true;
    return true;
}

bool StagedFile::placeAsNew(const std::string& destination) {
    if (!close() || renamed_) return false;
    // A hard link is made only where no name is: the one atomic way to claim
    // a name with no moment in which a part of the file sits there.
    if (::link(path_.c_str(), destination.c_str()) != 0) return fail(errno);
    return true;
}

}  // namespace platform
