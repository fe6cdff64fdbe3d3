// lib3ds 1.3 trusts the files it reads: a chunk of size 0 makes it loop
// forever, a material group or a face that names an element which does not
// exist makes it write or read outside its arrays, a key count larger than its
// chunk keeps it reading for hours, a node that is its own parent makes it
// recurse until the stack is gone, and more than 128 distinct smoothed
// normals around one point overrun the stack array its normals computation
// keeps them in. Even a file lib3ds gives up on cleanly is harmful: it
// leaves lib3ds's static chunk-nesting string unbalanced, and after enough
// of them in one process lib3ds aborts on its overflow. This check walks the
// chunk tree the way lib3ds will read it, chunk sizes and all, and accepts
// only files that lib3ds loads, and that it and the renderers after it can
// handle safely. It is pure: bytes in, verdict out.
#pragma once

#include <cstddef>
#include <cstdint>

bool chunkTreeIsSafe(const std::uint8_t* data, std::size_t size);
