// Display lists. A list's vertices become one static WebGL buffer, uploaded
// the first time the list is called; its other commands are kept and run
// again on each call. Between the draws of a list only what the list really
// changes is replayed: materials become palette slots of the draw instead of
// commands, and a current colour, normal or texture coordinate set inside
// the list is set once, where something could see it.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/webgl/Vertex.h"
#include "platform/webgl/VertexBuffers.h"

namespace mwgl {

class Batcher;

// The material properties a list has set since its start (or since a
// command whose effect on materials it cannot know), per face.
struct MaterialKey {
    unsigned mask[2] = {0, 0};
    MaterialPair values;
    bool operator==(const MaterialKey& o) const {
        return mask[0] == o.mask[0] && mask[1] == o.mask[1] && values == o.values;
    }
};

// `key` laid over `base`.
MaterialPair resolve(const MaterialPair& base, const MaterialKey& key);

struct ListOp {
    enum Kind : std::uint8_t { Run, Draw, Rebase, ApplyKey, SetCurrent } kind = Run;
    std::function<void()> run;
    // Draw
    PrimClass prim = PrimClass::Triangles;
    std::uint32_t first = 0, count = 0, edgeFirst = 0, edgeCount = 0;
    unsigned inherit = 0;
    int epoch = 0;
    // ApplyKey
    MaterialKey key;
    // SetCurrent
    unsigned attribs = 0;
    float color[4] = {}, normal[3] = {}, texCoord[4] = {};
};

struct DisplayList {
    std::vector<ListOp> ops;
    std::shared_ptr<CompiledGeometry> geometry = std::make_shared<CompiledGeometry>();
    std::vector<std::vector<MaterialKey>> epochs;  // each at most kPaletteSize keys
};

class DisplayLists {
public:
    // Calling a list reads the materials and polygon mode of `state`, sets
    // its materials, and draws through `batcher`.
    DisplayLists(AttribState& state, Batcher& batcher);
    ~DisplayLists();
    GLuint generate(GLsizei range);
    bool compiling() const { return building != nullptr; }
    void newList(GLuint name);
    void endList();
    void call(GLuint name);

    // Commands compiled into the list being built.
    void record(std::function<void()> command);
    // One whose effect on the current material or attributes the list
    // cannot follow (a nested list, glPopAttrib, colour material changes).
    void recordOpaque(std::function<void()> command);

    // The vertex commands while compiling.
    bool insideBegin() const;
    void begin(GLenum mode);
    void vertex(float x, float y, float z);
    void end();
    void color(const float* rgba);
    void normal(const float* xyz);
    void texCoord(const float* stqr);
    void material(unsigned faces, unsigned properties, const Material& values);

    std::size_t listCount() const { return lists.size(); }

private:
    struct Builder;
    void closeDraw();
    void emitDeferred();
    int keyIndex();
    AttribState& state;
    Batcher& batcher;
    std::unordered_map<GLuint, std::shared_ptr<DisplayList>> lists;
    std::unique_ptr<Builder> building;
    int nesting = 0;
};

}  // namespace mwgl
