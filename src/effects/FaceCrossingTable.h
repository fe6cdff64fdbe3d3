// Which faces of a grid cube the surface crosses, per corner mask: the flood
// of the metaball extraction follows these faces to the neighbouring cubes.
// Built once at start-up rather than written out, since it follows from the
// corner numbering alone.
#pragma once

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

// Indexed by corner mask; a bit is set when the corners of that face are
// neither all inside nor all outside. All zero until built.
extern std::uint8_t faceCrossingTable[256];

void buildFaceCrossingTable();
