// Draws go to WebGL late, in as few draw calls as the state allows: the
// immediate-mode vertices of consecutive glBegin/glEnd pairs pile up in one
// stream, and consecutive ranges of a display list's buffer join into one
// range, until a change of state needs them drawn. Materials do not break a
// batch: each vertex names its material in the draw's palette.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/webgl/Vertex.h"

namespace mwgl {

struct CompiledGeometry;
class Programs;

// One range of a display list's vertices or edges and the palette its
// vertices' slots index.
struct ListDraw {
    std::shared_ptr<CompiledGeometry> geometry;
    PrimClass prim = PrimClass::Triangles;
    bool edges = false;  // the range is of the edge indices (polygon mode GL_LINE)
    std::uint32_t first = 0, count = 0;
    unsigned inherit = 0;  // AttribBit: attributes taken from the current values
    int epoch = -1;
    const MaterialPair* palette = nullptr;  // the epoch's resolved materials
    int paletteSize = 0;
};

class Batcher {
public:
    // `state` is read as draws go out: whether lighting is on, and the
    // current values a list's draws inherit.
    Batcher(const AttribState& state, Programs& programs) : state(state), programs(programs) {}

    // Vertices already in eye coordinates, each slot an index into
    // `materials`.
    void submitImmediate(PrimClass prim, const std::vector<Vertex>& vertices,
                         const std::vector<MaterialPair>& materials);
    void submitList(const ListDraw& draw);
    void flush();
    // Run at the end of the browser task a draw was queued in.
    void endOfTask();

    bool pending() const { return kind != Kind::None; }
    bool pendingList() const { return kind == Kind::List; }
    // Whether a pending list draw reads one of these current attributes.
    bool pendingInherits(unsigned attribs) const { return kind == Kind::List && (list.inherit & attribs) != 0; }

    // Counters for tests and the frame log.
    std::uint64_t drawCalls = 0;

private:
    enum class Kind { None, Stream, List };
    void setupStream();
    int slotFor(const MaterialPair& material);
    void queueEndOfTaskFlush();

    const AttribState& state;
    Programs& programs;
    bool endOfTaskFlushQueued = false;

    Kind kind = Kind::None;
    PrimClass prim = PrimClass::Triangles;
    std::vector<Vertex> stream;
    MaterialPair palette[kPaletteSize];
    int paletteSize = 0;
    ListDraw list;
    std::vector<MaterialPair> listPalette;

    unsigned streamBuffer = 0, streamArray = 0, streamElements = 0;
    std::size_t streamCapacity = 0;  // vertices, and indices
    std::size_t streamUsed = 0, elementsUsed = 0;
    std::vector<Vertex> unique;
    std::vector<std::uint32_t> indices;
};

}  // namespace mwgl
