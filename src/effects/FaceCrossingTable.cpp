#include "effects/FaceCrossingTable.h"

std::uint8_t faceCrossingTable[256];

namespace {

struct Face {
    FaceBit bit;
    unsigned cornerMask;  // the face's four corners as mask bits
};

constexpr Face faces[6] = {
    {FacePlusA, 0x66},   // corners 1, 2, 5, 6
    {FaceMinusA, 0x99},  // corners 0, 3, 4, 7
    {FacePlusB, 0xF0},   // corners 4, 5, 6, 7
    {FaceMinusB, 0x0F},  // corners 0, 1, 2, 3
    {FacePlusC, 0xCC},   // corners 2, 3, 6, 7
    {FaceMinusC, 0x33},  // corners 0, 1, 4, 5
};

}  // namespace

void buildFaceCrossingTable() {
    for (unsigned mask = 0; mask < 256; ++mask) {
        std::uint8_t crossed = 0;
        for (const Face& face : faces) {
            const unsigned inside = mask & face.cornerMask;
            if (inside != 0 && inside != face.cornerMask) crossed |= face.bit;
        }
        faceCrossingTable[mask] = crossed;
    }
}
