#include "platform/webgl/DisplayLists.h"

#include <algorithm>

#include "platform/webgl/Assembly.h"
#include "platform/webgl/Batcher.h"

namespace mwgl {

// What GL 1.1 allows lists to nest to.
constexpr int kMaxNesting = 64;

MaterialPair resolve(const MaterialPair& base, const MaterialKey& key) {
    MaterialPair r = base;
    for (int f = 0; f < 2; ++f) {
        Material& to = f == 0 ? r.front : r.back;
        const Material& from = f == 0 ? key.values.front : key.values.back;
        const unsigned m = key.mask[f];
        if (m & MatAmbient) to.ambient = from.ambient;
        if (m & MatDiffuse) to.diffuse = from.diffuse;
        if (m & MatSpecular) to.specular = from.specular;
        if (m & MatEmission) to.emission = from.emission;
        if (m & MatShininess) to.shininess = from.shininess;
    }
    return r;
}

struct DisplayLists::Builder {
    GLuint name = 0;
    std::shared_ptr<DisplayList> list = std::make_shared<DisplayList>();
    // The current attributes as the list has set them.
    float color[4] = {1, 1, 1, 1}, normal[3] = {0, 0, 1}, texCoord[4] = {0, 0, 0, 1};
    unsigned setMask = 0;   // AttribBit: set by the list so far
    unsigned deferred = 0;  // set, but not yet recorded as a command
    // Materials.
    MaterialKey key;
    bool keyChanged = true;
    int currentKey = -1;
    std::vector<MaterialKey> keys;  // since the last rebase
    std::vector<int> epochSlot;     // keys index -> slot in the current epoch, or -1
    // The primitive being assembled.
    bool inside = false;
    GLenum mode = 0;
    std::vector<Vertex> prim;
    std::vector<int> primKey;
    unsigned primInherit = 0;
    int openDraw = -1;  // the Draw op the next primitive may extend
    std::vector<std::uint32_t> indices;
};

DisplayLists::DisplayLists(AttribState& state, Batcher& batcher) : state(state), batcher(batcher) {}
DisplayLists::~DisplayLists() = default;

GLuint DisplayLists::generate(GLsizei range) {
    if (range <= 0) return 0;
    GLuint first = 1;
    for (;;) {
        GLsizei free = 0;
        while (free < range && lists.count(first + free) == 0) ++free;
        if (free == range) break;
        first += free + 1;
    }
    for (GLsizei i = 0; i < range; ++i) lists[first + i] = std::make_shared<DisplayList>();
    return first;
}

void DisplayLists::newList(GLuint name) {
    building = std::make_unique<Builder>();
    building->name = name;
    building->list->epochs.emplace_back();
    ListOp rebase;
    rebase.kind = ListOp::Rebase;
    building->list->ops.push_back(rebase);
}

void DisplayLists::endList() {
    Builder& b = *building;
    emitDeferred();
    if (b.key.mask[0] != 0 || b.key.mask[1] != 0) {
        ListOp apply;
        apply.kind = ListOp::ApplyKey;
        apply.key = b.key;
        b.list->ops.push_back(apply);
    }
    lists[b.name] = b.list;
    building.reset();
}

void DisplayLists::closeDraw() { building->openDraw = -1; }

void DisplayLists::emitDeferred() {
    Builder& b = *building;
    if (b.deferred == 0) return;
    ListOp set;
    set.kind = ListOp::SetCurrent;
    set.attribs = b.deferred;
    std::copy(b.color, b.color + 4, set.color);
    std::copy(b.normal, b.normal + 3, set.normal);
    std::copy(b.texCoord, b.texCoord + 4, set.texCoord);
    b.list->ops.push_back(set);
    b.deferred = 0;
    closeDraw();
}

void DisplayLists::record(std::function<void()> command) {
    emitDeferred();
    closeDraw();
    ListOp op;
    op.kind = ListOp::Run;
    op.run = std::move(command);
    building->list->ops.push_back(std::move(op));
}

void DisplayLists::recordOpaque(std::function<void()> command) {
    Builder& b = *building;
    emitDeferred();
    if (b.key.mask[0] != 0 || b.key.mask[1] != 0) {
        ListOp apply;
        apply.kind = ListOp::ApplyKey;
        apply.key = b.key;
        b.list->ops.push_back(apply);
    }
    record(std::move(command));
    // Afterwards materials and attributes are whatever the command left.
    ListOp rebase;
    rebase.kind = ListOp::Rebase;
    b.list->ops.push_back(rebase);
    b.key = MaterialKey{};
    b.keyChanged = true;
    b.keys.clear();
    b.epochSlot.clear();
    b.list->epochs.emplace_back();
    b.setMask = 0;
}

bool DisplayLists::insideBegin() const { return building && building->inside; }

void DisplayLists::begin(GLenum mode) {
    Builder& b = *building;
    b.inside = true;
    b.mode = mode;
    b.prim.clear();
    b.primKey.clear();
}

int DisplayLists::keyIndex() {
    Builder& b = *building;
    if (!b.keyChanged) return b.currentKey;
    b.keyChanged = false;
    auto found = std::find(b.keys.begin(), b.keys.end(), b.key);
    if (found != b.keys.end()) {
        b.currentKey = static_cast<int>(found - b.keys.begin());
    } else {
        b.keys.push_back(b.key);
        b.epochSlot.push_back(-1);
        b.currentKey = static_cast<int>(b.keys.size() - 1);
    }
    return b.currentKey;
}

void DisplayLists::vertex(float x, float y, float z) {
    Builder& b = *building;
    Vertex v;
    v.position[0] = x, v.position[1] = y, v.position[2] = z;
    std::copy(b.normal, b.normal + 3, v.normal);
    std::copy(b.color, b.color + 4, v.color);
    std::copy(b.texCoord, b.texCoord + 4, v.texCoord);
    v.slot = 0;
    if (b.prim.empty()) b.primInherit = ~b.setMask & (AttrColor | AttrNormal | AttrTexCoord);
    b.prim.push_back(v);
    b.primKey.push_back(keyIndex());
}

void DisplayLists::end() {
    Builder& b = *building;
    b.inside = false;
    DisplayList& list = *b.list;
    CompiledGeometry& g = *list.geometry;
    const auto count = static_cast<std::uint32_t>(b.prim.size());
    const PrimClass prim = classOf(b.mode);
    b.indices.clear();
    if (prim == PrimClass::Lines) {
        segments(b.mode, count, b.indices);
    } else {
        // Smooth shading's split: a flat-shaded quad of a list takes its
        // first triangle's colour from its third vertex.
        triangulate(b.mode, count, false, b.indices);
    }
    if (b.indices.empty()) return;

    // Palette slots in the current epoch, or a new epoch when it is full.
    std::vector<int> used;
    for (std::uint32_t i : b.indices) {
        if (std::find(used.begin(), used.end(), b.primKey[i]) == used.end()) used.push_back(b.primKey[i]);
    }
    int missing = 0;
    for (int k : used) missing += b.epochSlot[k] < 0;
    if (static_cast<int>(list.epochs.back().size()) + missing > kPaletteSize) {
        list.epochs.emplace_back();
        std::fill(b.epochSlot.begin(), b.epochSlot.end(), -1);
        closeDraw();
    }
    auto& epoch = list.epochs.back();
    for (int k : used) {
        if (b.epochSlot[k] >= 0) continue;
        if (static_cast<int>(epoch.size()) == kPaletteSize) {
            b.epochSlot[k] = kPaletteSize - 1;  // a primitive of more materials than a palette holds
            continue;
        }
        b.epochSlot[k] = static_cast<int>(epoch.size());
        epoch.push_back(b.keys[k]);
    }
    const int epochIndex = static_cast<int>(list.epochs.size() - 1);

    const auto first = static_cast<std::uint32_t>(g.vertices.size());
    std::vector<std::uint32_t> placed(count, 0);
    for (std::uint32_t i : b.indices) {
        Vertex v = b.prim[i];
        v.slot = static_cast<float>(b.epochSlot[b.primKey[i]]);
        placed[i] = static_cast<std::uint32_t>(g.vertices.size());
        g.vertices.push_back(v);
    }
    const auto added = static_cast<std::uint32_t>(g.vertices.size()) - first;
    const auto edgeFirst = static_cast<std::uint32_t>(g.edges.size());
    if (prim == PrimClass::Triangles) {
        b.indices.clear();
        outline(b.mode, count, b.indices);
        for (std::uint32_t i : b.indices) g.edges.push_back(placed[i]);
    }
    const auto edgeAdded = static_cast<std::uint32_t>(g.edges.size()) - edgeFirst;

    if (b.openDraw >= 0) {
        ListOp& open = list.ops[b.openDraw];
        if (open.prim == prim && open.inherit == b.primInherit && open.epoch == epochIndex &&
            open.first + open.count == first && open.edgeFirst + open.edgeCount == edgeFirst) {
            open.count += added;
            open.edgeCount += edgeAdded;
            return;
        }
    }
    ListOp draw;
    draw.kind = ListOp::Draw;
    draw.prim = prim;
    draw.first = first;
    draw.count = added;
    draw.edgeFirst = edgeFirst;
    draw.edgeCount = edgeAdded;
    draw.inherit = b.primInherit;
    draw.epoch = epochIndex;
    list.ops.push_back(draw);
    b.openDraw = static_cast<int>(list.ops.size() - 1);
}

void DisplayLists::color(const float* rgba) {
    Builder& b = *building;
    std::copy(rgba, rgba + 4, b.color);
    b.setMask |= AttrColor;
    b.deferred |= AttrColor;
}

void DisplayLists::normal(const float* xyz) {
    Builder& b = *building;
    std::copy(xyz, xyz + 3, b.normal);
    b.setMask |= AttrNormal;
    b.deferred |= AttrNormal;
}

void DisplayLists::texCoord(const float* stqr) {
    Builder& b = *building;
    std::copy(stqr, stqr + 4, b.texCoord);
    b.setMask |= AttrTexCoord;
    b.deferred |= AttrTexCoord;
}

void DisplayLists::material(unsigned faces, unsigned properties, const Material& values) {
    Builder& b = *building;
    for (int f = 0; f < 2; ++f) {
        if (!(faces & (1u << f))) continue;
        Material& to = f == 0 ? b.key.values.front : b.key.values.back;
        if (properties & MatAmbient) to.ambient = values.ambient;
        if (properties & MatDiffuse) to.diffuse = values.diffuse;
        if (properties & MatSpecular) to.specular = values.specular;
        if (properties & MatEmission) to.emission = values.emission;
        if (properties & MatShininess) to.shininess = values.shininess;
        b.key.mask[f] |= properties;
    }
    b.keyChanged = true;
}

void DisplayLists::call(GLuint name) {
    auto found = lists.find(name);
    if (found == lists.end() || nesting >= kMaxNesting) return;
    // Held, so that a list that replaces itself while running finishes.
    const std::shared_ptr<DisplayList> list = found->second;
    CompiledGeometry& g = *list->geometry;
    if (!g.uploaded && !g.vertices.empty()) g.upload();
    ++nesting;
    MaterialPair base{state.materials[0], state.materials[1]};
    std::vector<std::vector<MaterialPair>> palettes(list->epochs.size());
    for (const ListOp& op : list->ops) {
        switch (op.kind) {
        case ListOp::Run:
            op.run();
            break;
        case ListOp::Rebase:
            base = MaterialPair{state.materials[0], state.materials[1]};
            for (auto& p : palettes) p.clear();
            break;
        case ListOp::ApplyKey: {
            const MaterialPair applied = resolve({state.materials[0], state.materials[1]}, op.key);
            state.materials[0] = applied.front;
            state.materials[1] = applied.back;
            break;
        }
        case ListOp::SetCurrent:
            if (op.attribs & AttrColor) glColor4fv(op.color);
            if (op.attribs & AttrNormal) glNormal3fv(op.normal);
            if (op.attribs & AttrTexCoord) glTexCoord4fv(op.texCoord);
            break;
        case ListOp::Draw: {
            auto& palette = palettes[op.epoch];
            if (palette.empty()) {
                for (const MaterialKey& key : list->epochs[op.epoch]) palette.push_back(resolve(base, key));
            }
            ListDraw d;
            d.geometry = list->geometry;
            d.prim = op.prim;
            const bool outline = op.prim == PrimClass::Triangles && state.polygonMode[0] == GL_LINE;
            d.edges = outline;
            if (outline) d.prim = PrimClass::Lines;
            d.first = outline ? op.edgeFirst : op.first;
            d.count = outline ? op.edgeCount : op.count;
            d.inherit = op.inherit;
            d.epoch = op.epoch;
            d.palette = palette.data();
            d.paletteSize = static_cast<int>(palette.size());
            if (d.count > 0) batcher.submitList(d);
            break;
        }
        }
    }
    --nesting;
}

}  // namespace mwgl
