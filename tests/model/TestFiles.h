// Small 3DS files written with lib3ds for the model tests, each made to show
// one thing: a flat slab at a known place, a group node, a camera with a
// child, a material of a chosen shininess.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "pack/models/ThreeDsBuilder.h"

// A slab in the xy plane facing +z: 2*halfX wide, 2*halfY tall, in `material`.
MeshData slab(float halfX, float halfY, const std::string& material);

// A path in this process's own directory under the test temp directory.
std::string tempModelPath(const std::string& name);

// Builds a file with `build` and saves it; returns its path.
std::string writeTestFile(const std::string& name, const std::function<void(ThreeDsBuilder&)>& build);

// A single red slab (8 x 1) placed at `position` by its node.
std::string writeSlabFile(const std::string& name, float x, float y, float z);

// A baseline JPG of width x height whose pixel (x, y) is colour(x, y) as RGB.
std::string writeTestJpg(const std::string& name, int width, int height,
                         const std::function<std::array<unsigned char, 3>(int, int)>& colour);

// The number of triangles the current renderer of the model emits, counted
// through OpenGL's feedback mode with culling off.
class Model;
int countDrawnTriangles(Model& model);
