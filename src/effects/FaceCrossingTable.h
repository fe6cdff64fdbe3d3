// Which faces of a grid cube the surface crosses, per corner mask: the flood
// of the metaball extraction follows these faces to the neighbouring cubes.
// Worked out by the compiler from the corner numbering alone.
#pragma once

#include <array>
#include <cstdint>

// One bit per cube face, in the order the flood visits the neighbours.
enum FaceBit : std::uint8_t {
    FacePlusA = 1,
    FaceMinusA = 2,
    FacePlusB = 4,
    FaceMinusB = 8,
    FacePlusC = 16,
    FaceMinusC = 32,
};

namespace facecrossing {

struct Face {
    FaceBit bit;
    unsigned cornerMask;  // the face's four corners as mask bits
};

constexpr Face kFaces[6] = {
    {FacePlusA, 0x66},   // corners 1, 2, 5, 6
    {FaceMinusA, 0x99},  // corners 0, 3, 4, 7
    {FacePlusB, 0xF0},   // corners 4, 5, 6, 7
    {FaceMinusB, 0x0F},  // corners 0, 1, 2, 3
    {FacePlusC, 0xCC},   // corners 2, 3, 6, 7
    {FaceMinusC, 0x33},  // corners 0, 1, 4, 5
};

constexpr std::array<std::uint8_t, 256> build() {
    std::array<std::uint8_t, 256> table{};
    for (unsigned mask = 0; mask < 256; ++mask) {
        std::uint8_t crossed = 0;
        for (const Face& face : kFaces) {
            const unsigned inside = mask & face.cornerMask;
            if (inside != 0 && inside != face.cornerMask) crossed |= face.bit;
        }
        table[mask] = crossed;
    }
    return table;
}

}  // namespace facecrossing

// Indexed by corner mask; a bit is set when the corners of that face are
// neither all inside nor all outside.
inline constexpr std::array<std::uint8_t, 256> faceCrossingTable = facecrossing::build();
