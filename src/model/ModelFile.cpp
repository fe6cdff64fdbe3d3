#include "model/ModelFile.h"

#include <lib3ds/io.h>

#include <algorithm>
#include <cstring>

#include "model/ChunkTreeCheck.h"

namespace {

// lib3ds reads through these, from the bytes that were checked: the file is
// not opened a second time, so what lib3ds reads is what the check passed.
struct MemoryReader {
    const std::uint8_t* bytes;
    long size;
    long at = 0;
};

Lib3dsBool noError(void*) { return LIB3DS_FALSE; }

long seek(void* self, long offset, Lib3dsIoSeek origin) {
    auto& in = *static_cast<MemoryReader*>(self);
    const long from = origin == LIB3DS_SEEK_SET ? 0 : origin == LIB3DS_SEEK_CUR ? in.at : in.size;
    // As fseek: anywhere from the start on, past the end too, where reads find nothing.
    if (offset < -from) return -1;
    in.at = from + offset;
    return 0;
}

long tell(void* self) { return static_cast<MemoryReader*>(self)->at; }

std::size_t read(void* self, void* buffer, std::size_t size) {
    auto& in = *static_cast<MemoryReader*>(self);
    const std::size_t left = in.at < in.size ? static_cast<std::size_t>(in.size - in.at) : 0;
    const std::size_t count = std::min(size, left);
    std::memcpy(buffer, in.bytes + in.at, count);
    in.at += static_cast<long>(count);
    return count;
}

std::size_t noWrite(void*, const void*, std::size_t) { return 0; }

}  // namespace

Lib3dsFile* loadModelFile(const std::uint8_t* bytes, std::size_t size) {
    if (!chunkTreeIsSafe(bytes, size)) return nullptr;
    MemoryReader in{bytes, static_cast<long>(size)};
    Lib3dsIo* io = lib3ds_io_new(&in, noError, seek, tell, read, noWrite);
    if (io == nullptr) return nullptr;
    Lib3dsFile* file = lib3ds_file_new();
    if (file != nullptr && !lib3ds_file_read(file, io)) {
        lib3ds_file_free(file);
        file = nullptr;
    }
    lib3ds_io_free(io);
    return file;
}
