#include "platform/webgl/Batcher.h"

#include <emscripten.h>

#include <cstring>

#include "platform/webgl/Dedupe.h"
#include "platform/webgl/Programs.h"
#include "platform/webgl/VertexBuffers.h"
#include "platform/webgl/WebGl.h"

namespace mwgl {

namespace {

// Room for the immediate-mode vertices of several frames' batches: when it
// is used up the buffer is orphaned and filled again from the start.
constexpr std::size_t kStreamVertices = 1 << 16;

}  // namespace

void Batcher::setupStream() {
    emscripten_glGenVertexArrays(1, &streamArray);
    emscripten_glBindVertexArray(streamArray);
    emscripten_glGenBuffers(1, &streamBuffer);
    emscripten_glBindBuffer(wgl::ARRAY_BUFFER, streamBuffer);
    streamCapacity = kStreamVertices;
    emscripten_glBufferData(wgl::ARRAY_BUFFER, static_cast<std::ptrdiff_t>(streamCapacity * sizeof(Vertex)), nullptr,
                            wgl::STREAM_DRAW);
    pointVertexAttributes();
    emscripten_glGenBuffers(1, &streamElements);
    emscripten_glBindBuffer(wgl::ELEMENT_ARRAY_BUFFER, streamElements);
    emscripten_glBufferData(wgl::ELEMENT_ARRAY_BUFFER, static_cast<std::ptrdiff_t>(streamCapacity * 4), nullptr,
                            wgl::STREAM_DRAW);
}

int Batcher::slotFor(const MaterialPair& material) {
    for (int i = paletteSize - 1; i >= 0; --i) {
        if (palette[i] == material) return i;
    }
    if (paletteSize == kPaletteSize) return -1;
    palette[paletteSize] = material;
    return paletteSize++;
}

void Batcher::submitImmediate(PrimClass prim_, const std::vector<Vertex>& vertices,
                              const std::vector<MaterialPair>& materials) {
    if (kind != Kind::None && (kind != Kind::Stream || prim != prim_)) flush();
    if (stream.size() + vertices.size() > kStreamVertices) flush();
    int slots[kPaletteSize];
    const int count = materials.size() < kPaletteSize ? static_cast<int>(materials.size()) : kPaletteSize;
    for (int i = 0; i < count; ++i) {
        slots[i] = slotFor(materials[i]);
        if (slots[i] < 0) {
            // The palette is full: what is queued goes first, and this
            // primitive starts the next palette.
            flush();
            for (int k = 0; k <= i; ++k) slots[k] = slotFor(materials[k]);
        }
    }
    kind = Kind::Stream;
    prim = prim_;
    const std::size_t start = stream.size();
    stream.insert(stream.end(), vertices.begin(), vertices.end());
    if (count > 0) {
        for (std::size_t i = start; i < stream.size(); ++i) {
            const int local = static_cast<int>(stream[i].slot);
            stream[i].slot = static_cast<float>(slots[local < count ? local : count - 1]);
        }
    }
    queueEndOfTaskFlush();
}

void Batcher::submitList(const ListDraw& draw) {
    if (kind == Kind::List && list.geometry == draw.geometry && list.prim == draw.prim && list.edges == draw.edges &&
        list.epoch == draw.epoch && list.inherit == draw.inherit && list.first + list.count == draw.first) {
        list.count += draw.count;
        return;
    }
    flush();
    kind = Kind::List;
    list = draw;
    listPalette.assign(draw.palette, draw.palette + draw.paletteSize);
    queueEndOfTaskFlush();
}

// A batch left queued when the page's task ends would never be drawn: the
// browser shows the canvas first. A microtask at the end of the task draws
// it.
void Batcher::queueEndOfTaskFlush() {
    if (endOfTaskFlushQueued) return;
    endOfTaskFlushQueued = true;
    EM_ASM({ queueMicrotask(function() { _mwglEndOfTaskFlush($0); }); }, this);
}

void Batcher::endOfTask() {
    endOfTaskFlushQueued = false;
    flush();
}

void Batcher::flush() {
    if (kind == Kind::None) return;
    const Kind was = kind;
    kind = Kind::None;
    const unsigned mode = prim == PrimClass::Lines ? wgl::LINES : wgl::TRIANGLES;
    if (was == Kind::Stream) {
        programs.prepare(true, palette, state.isOn(CapLighting) ? paletteSize : 0);
        if (streamArray == 0) setupStream();
        emscripten_glBindVertexArray(streamArray);
        emscripten_glBindBuffer(wgl::ARRAY_BUFFER, streamBuffer);
        // Meshes sent vertex by vertex repeat their shared vertices: each
        // is shaded once, drawn by index.
        if (streamUsed + stream.size() > streamCapacity || elementsUsed + stream.size() > streamCapacity) {
            emscripten_glBufferData(wgl::ARRAY_BUFFER, static_cast<std::ptrdiff_t>(streamCapacity * sizeof(Vertex)),
                                    nullptr, wgl::STREAM_DRAW);
            emscripten_glBufferData(wgl::ELEMENT_ARRAY_BUFFER, static_cast<std::ptrdiff_t>(streamCapacity * 4), nullptr,
                                    wgl::STREAM_DRAW);
            streamUsed = 0;
            elementsUsed = 0;
        }
        dedupe(stream.data(), stream.size(), static_cast<std::uint32_t>(streamUsed), unique, indices);
        emscripten_glBufferSubData(wgl::ARRAY_BUFFER, static_cast<std::ptrdiff_t>(streamUsed * sizeof(Vertex)),
                                   static_cast<std::ptrdiff_t>(unique.size() * sizeof(Vertex)), unique.data());
        emscripten_glBufferSubData(wgl::ELEMENT_ARRAY_BUFFER, static_cast<std::ptrdiff_t>(elementsUsed * 4),
                                   static_cast<std::ptrdiff_t>(indices.size() * 4), indices.data());
        emscripten_glDrawElements(mode, static_cast<int>(indices.size()), wgl::UNSIGNED_INT,
                                  reinterpret_cast<void*>(elementsUsed * 4));
        streamUsed += unique.size();
        elementsUsed += indices.size();
        stream.clear();
        paletteSize = 0;
    } else {
        const unsigned listMode = list.prim == PrimClass::Lines ? wgl::LINES : wgl::TRIANGLES;
        programs.prepare(false, listPalette.data(), state.isOn(CapLighting) ? static_cast<int>(listPalette.size()) : 0);
        emscripten_glBindVertexArray(list.geometry->array);
        // Attributes the list never set come from the current values.
        auto inherit = [&](unsigned bit, unsigned location, const float* v, int n) {
            if (list.inherit & bit) {
                emscripten_glDisableVertexAttribArray(location);
                emscripten_glVertexAttrib4f(location, v[0], v[1], n > 2 ? v[2] : 0.0f, n > 3 ? v[3] : 1.0f);
            } else {
                emscripten_glEnableVertexAttribArray(location);
            }
        };
        inherit(AttrColor, LocColor, state.color.data(), 4);
        inherit(AttrNormal, LocNormal, state.normal.data(), 3);
        inherit(AttrTexCoord, LocTexCoord, state.texCoord.data(), 4);
        const std::size_t first = list.first + (list.edges ? list.geometry->elementCount : 0);
        emscripten_glDrawElements(listMode, static_cast<int>(list.count), wgl::UNSIGNED_INT,
                                  reinterpret_cast<void*>(first * 4));
        list.geometry.reset();
    }
    ++drawCalls;
    (void)mode;
}

}  // namespace mwgl

extern "C" EMSCRIPTEN_KEEPALIVE void mwglEndOfTaskFlush(mwgl::Batcher* batcher) { batcher->endOfTask(); }
