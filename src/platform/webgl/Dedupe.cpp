#include "platform/webgl/Dedupe.h"

#include <cstring>

namespace mwgl {

namespace {

std::uint32_t hashOf(const Vertex& v) {
    std::uint32_t words[sizeof(Vertex) / 4];
    std::memcpy(words, &v, sizeof words);
    std::uint32_t h = 2166136261u;
    for (std::uint32_t w : words) h = (h ^ w) * 16777619u;
    return h ^ (h >> 15);
}

}  // namespace

void dedupe(const Vertex* vertices, std::size_t count, std::uint32_t base, std::vector<Vertex>& unique,
            std::vector<std::uint32_t>& indices) {
    unique.clear();
    indices.clear();
    indices.reserve(count);
    // Open addressing over a power-of-two table of indices into `unique`.
    std::size_t size = 16;
    while (size < count * 2) size <<= 1;
    std::vector<std::uint32_t> table(size, ~0u);
    for (std::size_t i = 0; i < count; ++i) {
        const Vertex& v = vertices[i];
        std::size_t slot = hashOf(v) & (size - 1);
        for (;;) {
            const std::uint32_t found = table[slot];
            if (found == ~0u) {
                table[slot] = static_cast<std::uint32_t>(unique.size());
                indices.push_back(base + static_cast<std::uint32_t>(unique.size()));
                unique.push_back(v);
                break;
            }
            if (std::memcmp(&unique[found], &v, sizeof(Vertex)) == 0) {
                indices.push_back(base + found);
                break;
            }
            slot = (slot + 1) & (size - 1);
        }
    }
}

}  // namespace mwgl
