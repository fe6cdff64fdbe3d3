// A stdio stream over bytes in memory that counts how many bytes were
// actually read from it. Unbuffered, so a seek over data reads nothing and a
// read of n bytes counts n: the count is what the reader asked for.
#pragma once

#include <stdio.h>
#include <sys/types.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace testsupport {

class CountingStream {
public:
    explicit CountingStream(std::vector<unsigned char> data) : data_(std::move(data)) {
        const cookie_io_functions_t io{&CountingStream::readFn, nullptr, &CountingStream::seekFn, nullptr};
        file_ = fopencookie(this, "rb", io);
        if (file_ != nullptr) setvbuf(file_, nullptr, _IONBF, 0);
    }
    ~CountingStream() {
        if (file_ != nullptr) fclose(file_);
    }
    CountingStream(const CountingStream&) = delete;
    CountingStream& operator=(const CountingStream&) = delete;

    FILE* file() const { return file_; }
    std::uint64_t bytesRead() const { return bytesRead_; }

private:
    static ssize_t readFn(void* cookie, char* into, size_t size) {
        auto* self = static_cast<CountingStream*>(cookie);
        if (self->position_ >= self->data_.size()) return 0;
        const size_t count = std::min<size_t>(size, self->data_.size() - self->position_);
        std::memcpy(into, self->data_.data() + self->position_, count);
        self->position_ += count;
        self->bytesRead_ += count;
        return static_cast<ssize_t>(count);
    }

    static int seekFn(void* cookie, off64_t* offset, int whence) {
        auto* self = static_cast<CountingStream*>(cookie);
        off64_t base = 0;
        if (whence == SEEK_CUR) base = static_cast<off64_t>(self->position_);
        if (whence == SEEK_END) base = static_cast<off64_t>(self->data_.size());
        const off64_t target = base + *offset;
        if (target < 0) return -1;
        self->position_ = static_cast<size_t>(target);
        *offset = target;
        return 0;
    }

    std::vector<unsigned char> data_;
    size_t position_ = 0;
    std::uint64_t bytesRead_ = 0;
    FILE* file_ = nullptr;
};

}  // namespace testsupport
