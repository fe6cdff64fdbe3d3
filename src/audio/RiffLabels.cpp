#include "audio/RiffLabels.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint32_t readLe32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool isId(const unsigned char* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

// Calls visit(id, body, bodySize) for each chunk in [data, data + size),
// clamping a chunk that claims more than is there.
template <typename Visit>
void forEachChunk(const unsigned char* data, std::size_t size, Visit visit) {
    std::size_t at = 0;
    while (size - at >= 8) {
        const unsigned char* header = data + at;
        const std::size_t available = size - at - 8;
        const std::size_t bodySize = std::min<std::size_t>(readLe32(header + 4), available);
        visit(header, header + 8, bodySize);
        // Chunks are word aligned; the pad byte after an odd body may be missing at the end.
        const std::size_t step = bodySize + (bodySize & 1);
        if (step >= available) break;
        at += 8 + step;
    }
}

void readLabelList(const unsigned char* body, std::size_t size, std::map<std::uint32_t, std::string>& labels) {
    forEachChunk(body, size, [&](const unsigned char* id, const unsigned char* text, std::size_t textSize) {
        if (!isId(id, "labl") || textSize < 4) return;
        const std::uint32_t cueId = readLe32(text);
        const char* name = reinterpret_cast<const char*>(text + 4);
        // The text is NUL-terminated inside the chunk; stop at the chunk's end if it is not.
        const std::size_t length = ::strnlen(name, textSize - 4);
        labels.emplace(cueId, std::string(name, length));
    });
}

}  // namespace

std::map<std::uint32_t, std::string> readCueLabels(const unsigned char* data, std::size_t size) {
    std::map<std::uint32_t, std::string> labels;
    if (size < 12 || !isId(data, "RIFF") || !isId(data + 8, "WAVE")) return labels;
    // Whatever follows the RIFF chunk is not part of the file.
    const std::size_t riffBody = std::min<std::size_t>(readLe32(data + 4), size - 8);
    if (riffBody < 4) return labels;
    forEachChunk(data + 12, riffBody - 4,
                 [&](const unsigned char* id, const unsigned char* body, std::size_t bodySize) {
                     const bool list = isId(id, "LIST") || isId(id, "list");
                     if (list && bodySize >= 4 && isId(body, "adtl")) readLabelList(body + 4, bodySize - 4, labels);
                 });
    return labels;
}
