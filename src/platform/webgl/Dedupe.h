// Vertices made unique, with the index list that draws the same primitives:
// a vertex shared by several triangles is shaded once instead of once per
// triangle.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/webgl/Vertex.h"

namespace mwgl {

// `unique` gets each distinct vertex once, in first-seen order, each plus
// `base`, as WebGL 2 has no base vertex; `indices` one entry per input vertex.
void dedupe(const Vertex* vertices, std::size_t count, std::uint32_t base, std::vector<Vertex>& unique,
            std::vector<std::uint32_t>& indices);

}  // namespace mwgl
