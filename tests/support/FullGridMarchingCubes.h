// The textbook way to draw a metaball field: evaluate every grid point, then
// polygonise every cube. It gives the same triangles as the field's own
// surface-following draw, which makes it both the yardstick for the benchmark
// and the reference the tests compare against.
#pragma once

#include <vector>

class MetaballField;

class FullGridMarchingCubes {
public:
    // Reads the field's balls, grid and threshold at every draw.
    explicit FullGridMarchingCubes(const MetaballField& field) : field(field) {}

    // Sends every triangle of the surface in one glBegin/glEnd batch.
    void draw();

    int fieldEvaluations() const { return evaluations; }

private:
    const MetaballField& field;
    std::vector<float> values;
    int evaluations = 0;
};
