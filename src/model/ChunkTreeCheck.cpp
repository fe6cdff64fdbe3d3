#include "model/ChunkTreeCheck.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

// Chunk ids as lib3ds names them (LIB3DS_<NAME>).
enum ChunkId : std::uint16_t {
    kM3dMagic = 0x4D4D,
    kMlibMagic = 0x3DAA,
    kCMagic = 0xC23D,
    kMdata = 0x3D3D,
    kKfdata = 0xB000,
    kColorF = 0x0010,
    kLinColorF = 0x0013,
    kAmbientLight = 0x2100,
    kSolidBackground = 0x1200,
    kGradient = 0x1300,
    kFog = 0x2200,
    kLayerFog = 0x2302,
    kDistanceCue = 0x2300,
    kDefaultView = 0x3000,
    kViewportLayout = 0x7001,
    kMaterial = 0xAFFF,
    kNamedObject = 0x4000,
    kTriObject = 0x4100,
    kPointArray = 0x4110,
    kPointFlagArray = 0x4111,
    kFaceArray = 0x4120,
    kMaterialGroup = 0x4130,
    kTexVerts = 0x4140,
    kSmoothGroup = 0x4150,
    kBitMap = 0x1100,
    kMaterialName = 0xA000,
    kMapName = 0xA300,
    kProjector = 0x4653,
    kKeyframerHeader = 0xB00A,
    kInstanceName = 0xB011,
    kBoxMap = 0x4190,
    kDirectLight = 0x4600,
    kSpotlight = 0x4610,
    kCamera = 0x4700,
    kNodeHeader = 0xB010,
    kNodeId = 0xB030,
};

// Material chunks lib3ds reads as a colour, a percentage or a texture map:
// each is a container of its own.
constexpr std::uint16_t kMaterialColours[] = {0xA010, 0xA020, 0xA030};
constexpr std::uint16_t kMaterialPercentages[] = {0xA040, 0xA041, 0xA050, 0xA052, 0xA084, 0xA053};
constexpr std::uint16_t kMaterialMaps[] = {0xA200, 0xA33E, 0xA33A, 0xA340, 0xA210, 0xA342, 0xA230, 0xA344,
                                           0xA204, 0xA348, 0xA33C, 0xA346, 0xA33D, 0xA34A, 0xA220, 0xA34C};
// Settings lib3ds reads through lib3ds_chunk_read, which gives up on a
// size below 6, without a loop over sub-chunks.
constexpr std::uint16_t kPlainSettings[] = {0x1101, 0x1201, 0x1301, 0x2201, 0x2303, 0x2301, 0x1400,
                                            0x1410, 0x1420, 0x1430, 0x1440, 0x1450, 0x1460};
constexpr std::uint16_t kNodeTags[] = {0xB001, 0xB002, 0xB003, 0xB004, 0xB005, 0xB006, 0xB007};

enum class Track { Lin1, Lin3, Quat, Bool, Morph };
// The kinds of node, one bit per node chunk id from 0xB001 on: ambient,
// object, camera, target, light, light target, spotlight.
constexpr unsigned nodeBit(std::uint16_t nodeTag) { return 1u << (nodeTag - 0xB001); }
constexpr unsigned kAmbientNode = nodeBit(0xB001), kObjectNode = nodeBit(0xB002), kCameraNode = nodeBit(0xB003),
                   kLightNode = nodeBit(0xB005) | nodeBit(0xB007), kAnyButAmbient = 0x7Eu;

// lib3ds reads each track only in the kinds of node that have it; in the
// others it skips the chunk unread.
struct TrackChunk {
    std::uint16_t id;
    Track kind;
    unsigned readIn;
};
constexpr TrackChunk kTracks[] = {{0xB020, Track::Lin3, kAnyButAmbient},
                                  {0xB021, Track::Quat, kObjectNode},
                                  {0xB022, Track::Lin3, kObjectNode},
                                  {0xB023, Track::Lin1, kCameraNode},
                                  {0xB024, Track::Lin1, kCameraNode | kLightNode},
                                  {0xB025, Track::Lin3, kAmbientNode | kLightNode},
                                  {0xB026, Track::Morph, kObjectNode},
                                  {0xB027, Track::Lin1, kLightNode},
                                  {0xB028, Track::Lin1, kLightNode},
                                  {0xB029, Track::Bool, kObjectNode}};

constexpr std::uint16_t kNoParent = 65535;
constexpr std::uint16_t kRepeat = 0x0001;
// Within 2^23 of frame 0 lib3ds's float arithmetic on frames is exact.
constexpr std::int32_t kFrameLimit = 1 << 23;
// Deeper node trees than this are no model; lib3ds and the renderers recurse
// once per level, so some bound is needed, and no model comes near this one.
constexpr int kMaxNodeDepth = 256;
// lib3ds_mesh_calculate_normals gathers the distinct normals of the smoothed
// faces around a point in a stack array of this many entries, unchecked.
constexpr unsigned kNormalSlots = 128;
// lib3ds keeps file positions in 32 bits.
constexpr std::size_t kMaxFileSize = 0xFFFF0000u;

template <std::size_t N>
bool isOneOf(std::uint16_t id, const std::uint16_t (&ids)[N]) {
    return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

// Positions and ends are 32-bit and wrap, as lib3ds computes them.
struct Chunk {
    std::uint16_t id;
    std::uint32_t start;
    std::uint32_t end;  // start + the size field, whatever the file holds
    std::uint32_t body() const { return start + 6; }
};

struct Face {
    std::uint16_t points[3];
    std::uint32_t smoothing;
};

struct NodeLink {
    std::uint16_t id;
    std::uint16_t parent;
    std::string name;
};

// lib3ds_file_insert_node, step for step, on the nodes in the order lib3ds
// reads them. It links a node under the node whose id it names as parent,
// among its siblings in name order, then takes every top-level node that
// names the new one as parent and inserts it again, recursively. A node that
// names itself makes that recursion endless; other loops end as lib3ds ends
// them.
class NodeInsertion {
public:
    explicit NodeInsertion(const std::vector<NodeLink>& links) {
        for (const NodeLink& link : links) nodes.push_back(Node{link, kNone, kNone, kNone});
    }

    bool run() {
        for (int i = 0; i < static_cast<int>(nodes.size()); ++i) {
            if (!insert(i)) return false;
        }
        return deepestLevel() <= kMaxNodeDepth;
    }

private:
    static constexpr int kNone = -1;
    // lib3ds's own stack gives out long before this depth of insertions.
    static constexpr std::size_t kMaxInsertionDepth = 100000;

    struct Node {
        NodeLink link;
        int next;
        int childs;
        int parent;
    };

    // One lib3ds_file_insert_node call in progress: the top-level node it
    // looks at next, and the tree as it was when the call began.
    struct Call {
        int node;
        int pending;
        std::uint64_t state;
    };

    // The recursion of lib3ds_file_insert_node with the calls on a stack of
    // our own.
    bool insert(int first) {
        std::vector<Call> calls;
        if (!enter(first, calls)) return false;
        while (!calls.empty()) {
            Call& call = calls.back();
            if (call.pending == kNone) {
                calls.pop_back();
                continue;
            }
            const int n = call.pending;
            call.pending = nodes[n].next;
            if (nodes[n].link.parent == nodes[call.node].link.id) {
                remove(n);
                if (!enter(n, calls)) return false;
            }
        }
        return true;
    }

    // Links `node` in and pushes its call. Entering the insertion of a node
    // a second time, deeper, with the tree exactly as it was the first time,
    // repeats it for ever.
    bool enter(int node, std::vector<Call>& calls) {
        const std::uint64_t state = calls.empty() ? 0 : stateHash();
        for (std::size_t i = 1; i < calls.size(); ++i) {
            if (calls[i].node == node && calls[i].state == state) return false;
        }
        if (calls.size() >= kMaxInsertionDepth) return false;

        const std::uint16_t parentId = nodes[node].link.parent;
        const int parent = parentId == kNoParent ? kNone : byId(parentId);
        nodes[node].parent = parent;
        int& head = parent == kNone ? top : nodes[parent].childs;
        int before = kNone;
        for (int n = head; n != kNone && nodes[n].link.name <= nodes[node].link.name; n = nodes[n].next) before = n;
        if (before == kNone) {
            nodes[node].next = head;
            head = node;
        } else {
            nodes[node].next = nodes[before].next;
            nodes[before].next = node;
        }
        calls.push_back(Call{node, nodes[node].link.id == kNoParent ? kNone : top, state});
        return true;
    }

    // lib3ds_file_remove_node: unlinks the node from its parent's children
    // or from the top level; its own links stay as they were.
    void remove(int node) {
        int& head = nodes[node].parent == kNone ? top : nodes[nodes[node].parent].childs;
        if (head == node) {
            head = nodes[node].next;
            return;
        }
        for (int n = head; n != kNone; n = nodes[n].next) {
            if (nodes[n].next == node) {
                nodes[n].next = nodes[node].next;
                return;
            }
        }
    }

    // lib3ds_file_node_by_id: each top-level node, then its subtree depth
    // first, children in order.
    int byId(std::uint16_t id) const {
        std::vector<int> pending;
        for (int n = top; n != kNone; n = nodes[n].next) {
            pending.push_back(n);
            while (!pending.empty()) {
                const int at = pending.back();
                pending.pop_back();
                if (nodes[at].link.id == id) return at;
                std::vector<int> children;
                for (int c = nodes[at].childs; c != kNone; c = nodes[c].next) children.push_back(c);
                pending.insert(pending.end(), children.rbegin(), children.rend());
            }
        }
        return kNone;
    }

    std::uint64_t stateHash() const {
        std::uint64_t hash = 1469598103934665603u;
        const auto mix = [&hash](int value) { hash = (hash ^ static_cast<std::uint32_t>(value)) * 1099511628211u; };
        mix(top);
        for (const Node& n : nodes) {
            mix(n.next);
            mix(n.childs);
            mix(n.parent);
        }
        return hash;
    }

    int deepestLevel() const {
        int deepest = 0;
        std::vector<std::pair<int, int>> pending;
        for (int n = top; n != kNone; n = nodes[n].next) pending.emplace_back(n, 1);
        while (!pending.empty()) {
            const auto [at, level] = pending.back();
            pending.pop_back();
            deepest = std::max(deepest, level);
            for (int c = nodes[at].childs; c != kNone; c = nodes[c].next) pending.emplace_back(c, level + 1);
        }
        return deepest;
    }

    std::vector<Node> nodes;
    int top = kNone;
};

struct Vector {
    float x, y, z;
};

struct TrackKeys {
    std::uint16_t flags = 0;
    std::vector<std::int32_t> frames;
};

// The span of a looping track's keys, and whether its frames are exact as
// floats.
struct Loop {
    std::int32_t first;
    std::int32_t last;
    bool exact;
};

// lib3ds's own float arithmetic, operation for operation, so that the
// normals come out bit for bit as lib3ds computes them (this file is built
// without contracting products into fused multiply-adds).
Vector difference(const Vector& a, const Vector& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

float dot(const Vector& a, const Vector& b) {
    float sum = a.x * b.x + a.y * b.y;
    return sum + a.z * b.z;
}

Vector faceNormal(const Vector& a, const Vector& b, const Vector& c) {
    const Vector p = difference(c, b);
    const Vector q = difference(a, b);
    Vector n{p.y * q.z - p.z * q.y, p.z * q.x - p.x * q.z, p.x * q.y - p.y * q.x};
    const float length = std::sqrt(dot(n, n));
    if (static_cast<double>(std::fabs(length)) < 1e-8) {
        if (n.x >= n.y && n.x >= n.z) return {1, 0, 0};
        if (n.y >= n.z) return {0, 1, 0};
        return {0, 0, 1};
    }
    const float scale = 1.0f / length;
    return {n.x * scale, n.y * scale, n.z * scale};
}

bool sameNormal(const Vector& a, const Vector& b) { return std::fabs(static_cast<double>(dot(a, b)) - 1.0) < 1e-5; }

class Walker {
public:
    Walker(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    bool file() {
        if (size > kMaxFileSize) return false;
        Chunk top{};
        if (!open(0, top)) return false;
        switch (top.id) {
        case kMdata:
            if (!mdata(top)) return false;
            break;
        case kM3dMagic:
        case kMlibMagic:
        case kCMagic:
            if (!children(top, top.body(), [this](const Chunk& c) {
                    if (c.id == kMdata) return mdata(c);
                    if (c.id == kKfdata) return kfdata(c);
                    return true;
                }))
                return false;
            break;
        default:
            return false;
        }
        return loopsStayOnTheirKeys() && NodeInsertion(nodes).run();
    }

private:
    std::uint16_t word(std::size_t at) const { return static_cast<std::uint16_t>(data[at] | data[at + 1] << 8); }
    std::uint32_t dword(std::size_t at) const {
        return static_cast<std::uint32_t>(word(at)) | static_cast<std::uint32_t>(word(at + 2)) << 16;
    }
    float real(std::size_t at) const {
        const std::uint32_t bits = dword(at);
        float value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    // Whether `bytes` bytes from `at` are in the file. lib3ds reads on past
    // a chunk's end without noticing, and past the file's end it gets
    // whatever its stack held: only bytes in the file say what it will do.
    bool has(std::uint64_t at, std::uint64_t bytes) const { return at <= size && bytes <= size - at; }

    // Where lib3ds's stream stands after asking for `bytes` bytes at `at`:
    // a read that runs out stops at the file's end.
    std::uint32_t after(std::uint32_t at, std::uint64_t bytes) const {
        return static_cast<std::uint32_t>(
            std::min<std::uint64_t>(std::uint64_t{at} + bytes, std::max<std::size_t>(size, at)));
    }

    // lib3ds_chunk_read_start: the header must be there and count itself.
    bool open(std::uint32_t at, Chunk& chunk) const {
        if (!has(at, 6)) return false;
        const std::uint32_t length = dword(at + 2);
        if (length < 6) return false;
        chunk = Chunk{word(at), at, at + length};
        return true;
    }

    // The sub-chunks of `parent` from `from` on, stepped through as
    // lib3ds_chunk_read_next does: while the position is before the parent's
    // end, read a header there and move on by its size. Nothing makes the
    // children fit the parent: the last one may run past its end, or a few
    // bytes of padding may be read as the next header. A header lib3ds
    // would take from beyond the file, or a step that comes back to a
    // position already read, is refused: the first is garbage, the second
    // an endless loop.
    template <class Visit>
    bool children(const Chunk& parent, std::uint32_t from, Visit visit) const {
        std::set<std::uint32_t> visited;
        for (std::uint32_t at = from; at < parent.end;) {
            if (!visited.insert(at).second || !has(at, 2)) return false;
            const std::uint16_t id = word(at);
            if (id == 0) return true;  // lib3ds stops reading the parent here
            if (!has(at, 6)) return false;
            const Chunk child{id, at, at + dword(at + 2)};
            if (!visit(child)) return false;
            at = child.end;
        }
        return true;
    }

    bool leavesOnly(const Chunk& parent, std::uint32_t from) const {
        return children(parent, from, [](const Chunk&) { return true; });
    }

    // A child lib3ds reads through lib3ds_chunk_read_start, then its own
    // sub-chunks after `fixed` bytes of fields.
    bool container(const Chunk& child, std::uint64_t fixed) const {
        Chunk chunk{};
        return open(child.start, chunk) && leavesOnly(chunk, after(chunk.body(), fixed));
    }

    // A NUL-terminated string of fewer than `capacity` characters, as
    // lib3ds_io_read_string accepts it; `at` moves past the NUL.
    bool string(std::uint32_t& at, std::size_t capacity) const {
        for (std::size_t n = 0; at < size && n < capacity; ++n) {
            if (data[at++] == 0) return true;
        }
        return false;
    }

    bool mdata(const Chunk& child) {
        Chunk chunk{};
        if (!open(child.start, chunk)) return false;
        return children(chunk, chunk.body(), [this](const Chunk& c) {
            switch (c.id) {
            case kAmbientLight:
            case kSolidBackground:
            case kDefaultView:
                return container(c, 0);
            case kViewportLayout:
                return container(c, 14);
            case kGradient:
                return gradient(c);
            case kFog:
            case kLayerFog:
            case kDistanceCue:
                return container(c, 16);
            case kBitMap: {
                Chunk chunk{};
                std::uint32_t at = c.body();
                return open(c.start, chunk) && string(at, 64);
            }
            case kMaterial:
                return material(c);
            case kNamedObject:
                return namedObject(c);
            default: {
                Chunk chunk{};
                return !isOneOf(c.id, kPlainSettings) || open(c.start, chunk);
            }
            }
        });
    }

    // lib3ds reads the gradient colours into one stack array of six: plain
    // colours from its start, linear ones from its middle, each without a
    // count. The seventh plain or the fourth linear colour runs past it.
    bool gradient(const Chunk& child) const {
        Chunk chunk{};
        if (!open(child.start, chunk)) return false;
        int colours = 0;
        int linearColours = 0;
        return children(chunk, after(chunk.body(), 4), [&](const Chunk& c) {
            if (c.id == kColorF) ++colours;
            if (c.id == kLinColorF) ++linearColours;
            return colours <= 6 && linearColours <= 3;
        });
    }

    bool material(const Chunk& child) const {
        Chunk chunk{};
        if (!open(child.start, chunk)) return false;
        return children(chunk, chunk.body(), [this](const Chunk& c) {
            std::uint32_t at = c.body();
            if (c.id == kMaterialName) return string(at, 64);
            if (isOneOf(c.id, kMaterialColours) || isOneOf(c.id, kMaterialPercentages)) return container(c, 0);
            if (isOneOf(c.id, kMaterialMaps)) {
                Chunk map{};
                return open(c.start, map) && children(map, map.body(), [this](const Chunk& m) {
                           std::uint32_t name = m.body();
                           return m.id != kMapName || string(name, 64);
                       });
            }
            return true;
        });
    }

    bool namedObject(const Chunk& child) const {
        Chunk chunk{};
        if (!open(child.start, chunk)) return false;
        std::uint32_t at = chunk.body();
        if (!string(at, 64)) return false;
        return children(chunk, at, [this](const Chunk& c) {
            switch (c.id) {
            case kTriObject:
                return mesh(c);
            case kCamera:
                return container(c, 32);
            case kDirectLight: {
                Chunk light{};
                if (!open(c.start, light)) return false;
                return children(light, after(light.body(), 12),
                                [this](const Chunk& l) { return l.id != kSpotlight || spotlight(l); });
            }
            default:
                return true;
            }
        });
    }

    bool spotlight(const Chunk& child) const {
        Chunk chunk{};
        return open(child.start, chunk) && children(chunk, after(chunk.body(), 20), [this](const Chunk& c) {
                   std::uint32_t at = c.body();
                   return c.id != kProjector || string(at, 64);
               });
    }

    bool mesh(const Chunk& child) const {
        Chunk chunk{};
        if (!open(child.start, chunk)) return false;
        std::uint16_t points = 0;
        std::uint32_t pointData = 0;
        std::vector<Face> faces;
        // Point, flag and texel arrays are read straight after their
        // headers; only the points' values matter here.
        const bool read = children(chunk, chunk.body(), [&](const Chunk& c) {
            if (c.id == kPointArray) {
                if (!has(c.body(), 2)) return false;
                points = word(c.body());
                pointData = c.body() + 2;
                return has(pointData, std::uint64_t{points} * 12);
            }
            if (c.id == kFaceArray) return faceArray(c, faces);
            return true;
        });
        if (!read) return false;

        // lib3ds computes every face normal from the final point list as it
        // finishes the mesh, and the renderers index it again when they draw.
        std::vector<Vector> at(points);
        for (std::size_t i = 0; i < points; ++i) {
            at[i] = {real(pointData + i * 12), real(pointData + i * 12 + 4), real(pointData + i * 12 + 8)};
        }
        std::vector<Vector> normals;
        normals.reserve(faces.size());
        for (const Face& face : faces) {
            for (std::uint16_t point : face.points) {
                if (point >= points) return false;
            }
            normals.push_back(faceNormal(at[face.points[0]], at[face.points[1]], at[face.points[2]]));
        }
        return normalsFitTheirSlots(faces, normals, points);
    }

    // lib3ds_mesh_calculate_normals, for each corner of a smoothed face,
    // walks the faces around the corner's point (the faces named last come
    // first) and keeps each normal not within 1e-5 of one it kept already,
    // from the faces sharing a smoothing group with the corner's face. The
    // 129th normal kept overruns its stack array. Corners of one point and
    // one smoothing mask keep the same normals, so each pair is walked once.
    static bool normalsFitTheirSlots(const std::vector<Face>& faces, const std::vector<Vector>& normals,
                                     std::uint16_t points) {
        std::vector<std::vector<std::uint32_t>> around(points);
        for (std::uint32_t i = 0; i < faces.size(); ++i) {
            for (std::uint16_t point : faces[i].points) around[point].push_back(i);
        }
        std::unordered_set<std::uint64_t> walked;
        Vector kept[kNormalSlots];
        for (const Face& face : faces) {
            if (face.smoothing == 0) continue;
            for (std::uint16_t point : face.points) {
                if (!walked.insert(std::uint64_t{point} << 32 | face.smoothing).second) continue;
                unsigned count = 0;
                for (auto other = around[point].rbegin(); other != around[point].rend(); ++other) {
                    if ((faces[*other].smoothing & face.smoothing) == 0) continue;
                    const Vector& normal = normals[*other];
                    const bool known =
                        std::any_of(kept, kept + count, [&](const Vector& k) { return sameNormal(k, normal); });
                    if (known) continue;
                    if (count == kNormalSlots) return false;
                    kept[count++] = normal;
                }
            }
        }
        return true;
    }

    bool faceArray(const Chunk& child, std::vector<Face>& faces) const {
        Chunk chunk{};
        if (!open(child.start, chunk) || !has(chunk.body(), 2)) return false;
        const std::uint16_t count = word(chunk.body());
        const std::uint32_t list = chunk.body() + 2;
        if (!has(list, std::uint64_t{count} * 8)) return false;
        faces.assign(count, Face{});
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = list + i * 8;
            faces[i] = Face{{word(at), word(at + 2), word(at + 4)}, 0};
        }
        if (count == 0) return true;  // lib3ds reads no sub-chunks then

        return children(chunk, list + count * 8u, [&](const Chunk& c) {
            std::uint32_t at = c.body();
            switch (c.id) {
            case kSmoothGroup:
                if (!has(at, std::uint64_t{count} * 4)) return false;
                for (std::size_t i = 0; i < count; ++i) faces[i].smoothing = dword(at + i * 4);
                return true;
            case kMaterialGroup: {
                if (!string(at, 64) || !has(at, 2)) return false;
                const std::uint16_t listed = word(at);
                at += 2;
                if (!has(at, std::uint64_t{listed} * 2)) return false;
                for (std::size_t i = 0; i < listed; ++i) {
                    if (word(at + i * 2) >= count) return false;
                }
                return true;
            }
            case kBoxMap:
                for (int side = 0; side < 6; ++side) {
                    if (!string(at, 64)) return false;
                }
                return true;
            default:
                return true;
            }
        });
    }

    bool kfdata(const Chunk& child) {
        Chunk chunk{};
        if (!open(child.start, chunk)) return false;
        // Node ids count up from 0 in each keyframer section unless a node
        // names its own.
        std::uint16_t nodeNumber = 0;
        return children(chunk, chunk.body(), [&](const Chunk& c) {
            if (c.id == kViewportLayout) return container(c, 14);
            if (c.id == kDefaultView) return container(c, 0);
            if (isOneOf(c.id, kNodeTags)) return node(c, nodeBit(c.id), nodeNumber++);
            if (c.id == kKeyframerHeader) {
                std::uint32_t at = after(c.body(), 2);
                if (!string(at, 13) || !has(at, 4)) return false;
                frames = static_cast<std::int32_t>(dword(at));
                return true;
            }
            return true;
        });
    }

    bool node(const Chunk& child, unsigned kind, std::uint16_t number) {
        Chunk chunk{};
        if (!open(child.start, chunk)) return false;
        NodeLink link{number, 0, {}};  // lib3ds allocates nodes zeroed: parent 0, no name
        // lib3ds adds the keys of every chunk of one kind to one track; the
        // last chunk's flags stand.
        std::map<std::uint16_t, TrackKeys> tracks;
        // The id, the header and the tracks are read straight after their
        // headers.
        const bool read = children(chunk, chunk.body(), [&](const Chunk& c) {
            std::uint32_t at = c.body();
            if (c.id == kNodeId) {
                if (!has(at, 2)) return false;
                link.id = word(at);
                return true;
            }
            if (c.id == kInstanceName) return kind != kObjectNode || string(at, 64);
            if (c.id == kNodeHeader) {
                const std::uint32_t name = at;
                if (!string(at, 64) || !has(at, 6)) return false;
                link.name.assign(reinterpret_cast<const char*>(data + name), at - name - 1);
                link.parent = word(at + 4);
                return true;
            }
            for (const TrackChunk& entry : kTracks) {
                if (c.id == entry.id && (entry.readIn & kind) != 0) return track(c, entry.kind, tracks[c.id]);
            }
            return true;
        });
        nodes.push_back(link);
        for (const auto& [id, keys] : tracks) {
            const auto entry = std::find_if(std::begin(kTracks), std::end(kTracks),
                                            [id = id](const TrackChunk& t) { return t.id == id; });
            const bool interpolated = entry->kind != Track::Bool && entry->kind != Track::Morph;
            if (interpolated && (keys.flags & kRepeat) && keys.frames.size() >= 2) {
                const auto [first, last] = std::minmax_element(keys.frames.begin(), keys.frames.end());
                const bool exact = *first >= -kFrameLimit && *last <= kFrameLimit;
                loops.push_back(Loop{*first, *last, exact});
            }
        }
        return read;
    }

    // The frames decide what lib3ds does with a track; the values are only
    // values, so the last key's may run out with the file.
    bool track(const Chunk& chunk, Track kind, TrackKeys& keysRead) const {
        if (!has(chunk.body(), 14)) return false;
        keysRead.flags = word(chunk.body());
        const auto keys = static_cast<std::int32_t>(dword(chunk.body() + 10));
        std::uint64_t at = chunk.body() + 14u;
        for (std::int32_t i = 0; i < keys; ++i) {
            if (!has(at, 6)) return false;
            keysRead.frames.push_back(static_cast<std::int32_t>(dword(at)));
            const std::uint16_t spline = word(at + 4);
            at += 6;
            for (std::uint16_t bit = 1; bit <= 0x10; bit <<= 1) {
                if (spline & bit) at += 4;
            }
            switch (kind) {
            case Track::Lin1:
                at += 4;
                break;
            case Track::Lin3:
                at += 12;
                break;
            case Track::Quat:
                at += 16;
                break;
            case Track::Bool:
                break;
            case Track::Morph: {
                if (at > size) return false;
                auto name = static_cast<std::uint32_t>(at);
                if (!string(name, 11)) return false;
                at = name;
                break;
            }
            }
        }
        return true;
    }

    // A looping track evaluated past its last key takes the time modulo the
    // keys' span and looks again for the keys around it; when it finds none
    // it follows a null link. That happens when the span is 0, and can
    // happen through rounding when frames are too large for exact floats.
    // Frame 0 is evaluated as the file loads, and a model may be drawn at any
    // frame below the file's frame count; before its last key a track only
    // interpolates, or holds its first key.
    bool loopsStayOnTheirKeys() const {
        const auto lastFrameDrawn = static_cast<float>(std::max<std::int32_t>(frames, 1) - 1);
        return std::all_of(loops.begin(), loops.end(), [&](const Loop& loop) {
            return lastFrameDrawn < static_cast<float>(loop.last) || (loop.first != loop.last && loop.exact);
        });
    }

    const std::uint8_t* data;
    std::size_t size;
    std::vector<NodeLink> nodes;
    std::int32_t frames = 0;  // the keyframer header's frame count, as lib3ds keeps it
    std::vector<Loop> loops;
};

}  // namespace

bool chunkTreeIsSafe(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr) return false;
    return Walker(data, size).file();
}
