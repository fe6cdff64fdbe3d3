// The walk all renderers share: children before their parent, object nodes
// only, each compiled once into a display list whose name is cached in the
// node's user field (0 = not compiled yet).
#pragma once

#include <GL/gl.h>
#include <lib3ds/file.h>
#include <lib3ds/node.h>

#include <memory>

// A renderer's private shallow copy of the file's first top-level node: its
// links still point into the file, its list name belongs to the renderer.
// Null for a file without nodes.
std::unique_ptr<Lib3dsNode> copyFirstNode(const Lib3dsFile* file);

// Draws every top-level node from walkStart on, with `primitive` per face
// (GL_TRIANGLES, or GL_LINE_LOOP for outlines).
void renderTopLevel(Lib3dsNode* walkStart, Lib3dsFile* file, GLenum primitive);

// The specular exponent a 3DS shininess (0..1) stands for: 2^(10 s), at most 128.
float shininessExponent(float shininess);
