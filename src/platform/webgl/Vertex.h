// A vertex as the layer hands it to WebGL: immediate-mode vertices arrive in
// eye coordinates, display-list vertices in object coordinates.
#pragma once

#include <cstdint>

#include "platform/webgl/State.h"

namespace mwgl {

struct Vertex {
    float position[3];
    float normal[3];
    float color[4];
    float texCoord[4];
    float slot;  // the material's place in the draw's palette
};

// What WebGL draws them as: GL 1.1's primitives become one of the two.
enum class PrimClass : std::uint8_t { Triangles, Lines };

// Attributes a display-list vertex takes from the current values when the
// list is called, because the list never set them before the vertex.
enum AttribBit : unsigned { AttrColor = 1, AttrNormal = 2, AttrTexCoord = 4 };

// The front and back materials a vertex is lit with.
struct MaterialPair {
    Material front, back;
    bool operator==(const MaterialPair& o) const { return front == o.front && back == o.back; }
};

// How many materials one draw can light its vertices with.
constexpr int kPaletteSize = 16;

}  // namespace mwgl
