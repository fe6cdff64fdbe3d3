// The active metaballs laid out axis by axis and padded to whole groups of
// four, so the per-vertex normal, the hottest loop of the metaball surface,
// runs four balls at a time in vector registers.
#pragma once

struct Metaball;

class BallLanes {
public:
    // Copies the first count balls; the padding balls have no strength.
    void assign(const Metaball* balls, int count);

    // The negated gradient of the summed field at a point, normalised: it
    // points away from the balls. A zero gradient stays zero.
    void normalAt(const float position[3], float normal[3]) const;

    static constexpr int capacity = 100;

private:
    alignas(16) float x[capacity];
    alignas(16) float y[capacity];
    alignas(16) float z[capacity];
    alignas(16) float strength[capacity];
    int paddedCount = 0;
};
