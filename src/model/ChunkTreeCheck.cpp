#include "model/ChunkTreeCheck.h"

#include <algorithm>
#include <map>
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
constexpr std::uint16_t kNodeTags[] = {0xB001, 0xB002, 0xB003, 0xB004, 0xB005, 0xB006, 0xB007};

enum class Track { Lin1, Lin3, Quat, Bool, Morph };
struct TrackChunk {
    std::uint16_t id;
    Track kind;
};
constexpr TrackChunk kTracks[] = {
    {0xB020, Track::Lin3}, {0xB021, Track::Quat},  {0xB022, Track::Lin3}, {0xB023, Track::Lin1}, {0xB024, Track::Lin1},
    {0xB025, Track::Lin3}, {0xB026, Track::Morph}, {0xB027, Track::Lin1}, {0xB028, Track::Lin1}, {0xB029, Track::Bool}};

constexpr std::uint16_t kNoParent = 65535;
constexpr std::uint16_t kRepeat = 0x0001;
// Frames beyond 2^23 lose exactness as floats, and lib3ds's looping tracks
// then miss every key interval and follow a null link.
constexpr std::int32_t kFrameLimit = 1 << 23;
// Deeper node trees than this are no model; lib3ds and the renderers recurse
// once per level.
constexpr int kMaxNodeDepth = 256;
// lib3ds collects the distinct face normals around a vertex in a fixed array
// of 128 while smoothing.
constexpr unsigned kMaxFacesPerPoint = 128;

template <std::size_t N>
bool isOneOf(std::uint16_t id, const std::uint16_t (&ids)[N]) {
    return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

struct Chunk {
    std::uint16_t id;
    std::size_t body;  // first byte after the six-byte header
    std::size_t end;   // one past the last byte
    std::size_t length() const { return end - body; }
};

struct Face {
    std::uint16_t points[3];
};

struct NodeLink {
    std::uint16_t id;
    std::uint16_t parent;
};

class Walker {
public:
    Walker(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    bool file() {
        Chunk top{};
        if (!header(0, size, top)) return false;
        switch (top.id) {
        case kMdata:
            if (!mdata(top)) return false;
            break;
        case kM3dMagic:
        case kMlibMagic:
        case kCMagic:
            if (!children(top, top.body, [this](const Chunk& c) {
                    if (c.id == kMdata) return mdata(c);
                    if (c.id == kKfdata) return kfdata(c);
                    return true;
                }))
                return false;
            break;
        default:
            return false;
        }
        return nodeTreeIsSound();
    }

private:
    std::uint16_t word(std::size_t at) const { return static_cast<std::uint16_t>(data[at] | data[at + 1] << 8); }
    std::uint32_t dword(std::size_t at) const {
        return static_cast<std::uint32_t>(word(at)) | static_cast<std::uint32_t>(word(at + 2)) << 16;
    }

    bool header(std::size_t at, std::size_t limit, Chunk& chunk) const {
        if (limit < 6 || at > limit - 6) return false;
        const std::uint32_t length = dword(at + 2);
        if (length < 6 || length > limit - at) return false;
        chunk = Chunk{word(at), at + 6, at + length};
        return true;
    }

    // Children must tile the rest of the parent exactly: lib3ds steps from
    // child to child by their sizes until it reaches the parent's end.
    template <class Visit>
    bool children(const Chunk& parent, std::size_t from, Visit visit) const {
        if (from > parent.end) return false;
        for (std::size_t at = from; at < parent.end;) {
            Chunk child{};
            if (!header(at, parent.end, child)) return false;
            if (child.id == 0) return true;  // lib3ds stops reading the parent here
            if (!visit(child)) return false;
            at = child.end;
        }
        return true;
    }

    bool leavesOnly(const Chunk& parent, std::size_t from) const {
        return children(parent, from, [](const Chunk&) { return true; });
    }

    // A NUL-terminated string of fewer than `capacity` characters inside the
    // chunk, as lib3ds_io_read_string accepts it; `at` moves past the NUL.
    bool string(std::size_t& at, const Chunk& chunk, std::size_t capacity) const {
        for (std::size_t n = 0; at < chunk.end && n < capacity; ++n) {
            if (data[at++] == 0) return true;
        }
        return false;
    }

    static bool fits(const Chunk& chunk, std::size_t at, std::size_t bytes) {
        return at <= chunk.end && bytes <= chunk.end - at;
    }

    bool mdata(const Chunk& chunk) {
        return children(chunk, chunk.body, [this](const Chunk& c) {
            switch (c.id) {
            case kAmbientLight:
            case kSolidBackground:
            case kDefaultView:
                return leavesOnly(c, c.body);
            case kViewportLayout:
                return viewportLayout(c);
            case kGradient:
                return gradient(c);
            case kFog:
            case kLayerFog:
            case kDistanceCue:
                return fits(c, c.body, 16) && leavesOnly(c, c.body + 16);
            case kMaterial:
                return material(c);
            case kNamedObject:
                return namedObject(c);
            default:
                return true;
            }
        });
    }

    bool viewportLayout(const Chunk& chunk) const {
        return fits(chunk, chunk.body, 14) && leavesOnly(chunk, chunk.body + 14);
    }

    // lib3ds keeps at most three gradient colours of each kind on its stack.
    bool gradient(const Chunk& chunk) const {
        int colours = 0;
        int linearColours = 0;
        return fits(chunk, chunk.body, 4) && children(chunk, chunk.body + 4, [&](const Chunk& c) {
                   if (c.id == kColorF) ++colours;
                   if (c.id == kLinColorF) ++linearColours;
                   return colours <= 3 && linearColours <= 3;
               });
    }

    bool material(const Chunk& chunk) const {
        return children(chunk, chunk.body, [this](const Chunk& c) {
            if (isOneOf(c.id, kMaterialColours) || isOneOf(c.id, kMaterialPercentages) ||
                isOneOf(c.id, kMaterialMaps)) {
                return leavesOnly(c, c.body);
            }
            return true;
        });
    }

    bool namedObject(const Chunk& chunk) const {
        std::size_t at = chunk.body;
        if (!string(at, chunk, 64)) return false;
        return children(chunk, at, [this](const Chunk& c) {
            switch (c.id) {
            case kTriObject:
                return mesh(c);
            case kCamera:
                return fits(c, c.body, 32) && leavesOnly(c, c.body + 32);
            case kDirectLight:
                return fits(c, c.body, 12) && children(c, c.body + 12, [this](const Chunk& l) {
                           return l.id != kSpotlight || (fits(l, l.body, 20) && leavesOnly(l, l.body + 20));
                       });
            default:
                return true;
            }
        });
    }

    // A counted array: a word, then `count` elements of `stride` bytes.
    bool array(const Chunk& chunk, std::size_t stride, std::uint16_t& count) const {
        if (!fits(chunk, chunk.body, 2)) return false;
        count = word(chunk.body);
        return fits(chunk, chunk.body + 2, count * stride);
    }

    bool mesh(const Chunk& chunk) const {
        std::uint16_t points = 0;
        std::vector<Face> faces;
        const bool read = children(chunk, chunk.body, [&](const Chunk& c) {
            std::uint16_t count = 0;
            switch (c.id) {
            case kPointArray:
                if (!array(c, 12, count)) return false;
                points = count;
                return true;
            case kPointFlagArray:
                return array(c, 2, count);
            case kTexVerts:
                return array(c, 8, count);
            case kFaceArray:
                return faceArray(c, faces);
            default:
                return true;
            }
        });
        if (!read) return false;

        // lib3ds computes every face normal from the final point list as it
        // finishes the mesh, and the renderers index it again when they draw.
        std::vector<unsigned> uses(points, 0);
        for (const Face& face : faces) {
            for (std::uint16_t point : face.points) {
                if (point >= points || ++uses[point] > kMaxFacesPerPoint) return false;
            }
        }
        return true;
    }

    bool faceArray(const Chunk& chunk, std::vector<Face>& faces) const {
        std::uint16_t count = 0;
        if (!array(chunk, 8, count)) return false;
        faces.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = chunk.body + 2 + i * 8;
            faces[i] = Face{{word(at), word(at + 2), word(at + 4)}};
        }
        if (count == 0) return true;  // lib3ds reads no sub-chunks then

        return children(chunk, chunk.body + 2 + count * 8, [&](const Chunk& c) {
            std::size_t at = c.body;
            switch (c.id) {
            case kSmoothGroup:
                return fits(c, at, count * 4);
            case kMaterialGroup: {
                if (!string(at, c, 64) || !fits(c, at, 2)) return false;
                const std::uint16_t listed = word(at);
                at += 2;
                if (!fits(c, at, listed * 2)) return false;
                for (std::size_t i = 0; i < listed; ++i) {
                    if (word(at + i * 2) >= count) return false;
                }
                return true;
            }
            case kBoxMap:
                for (int side = 0; side < 6; ++side) {
                    if (!string(at, c, 64)) return false;
                }
                return true;
            default:
                return true;
            }
        });
    }

    bool kfdata(const Chunk& chunk) {
        // Node ids count up from 0 in each keyframer section unless a node
        // names its own.
        std::uint16_t nodeNumber = 0;
        return children(chunk, chunk.body, [&](const Chunk& c) {
            if (c.id == kViewportLayout) return viewportLayout(c);
            if (c.id == kDefaultView) return leavesOnly(c, c.body);
            if (isOneOf(c.id, kNodeTags)) return node(c, nodeNumber++);
            return true;
        });
    }

    bool node(const Chunk& chunk, std::uint16_t number) {
        NodeLink link{number, 0};  // lib3ds allocates nodes zeroed: parent 0
        const bool read = children(chunk, chunk.body, [&](const Chunk& c) {
            std::size_t at = c.body;
            if (c.id == kNodeId) {
                if (!fits(c, at, 2)) return false;
                link.id = word(at);
                return true;
            }
            if (c.id == kNodeHeader) {
                if (!string(at, c, 64) || !fits(c, at, 6)) return false;
                link.parent = word(at + 4);
                return true;
            }
            for (const TrackChunk& entry : kTracks) {
                if (c.id == entry.id) return track(c, entry.kind);
            }
            return true;
        });
        nodes.push_back(link);
        return read;
    }

    bool track(const Chunk& chunk, Track kind) const {
        if (!fits(chunk, chunk.body, 14)) return false;
        const std::uint16_t flags = word(chunk.body);
        const auto keys = static_cast<std::int32_t>(dword(chunk.body + 10));
        std::size_t at = chunk.body + 14;
        std::int32_t first = 0;
        std::int32_t last = 0;
        for (std::int32_t i = 0; i < keys; ++i) {
            if (!fits(chunk, at, 6)) return false;
            const auto frame = static_cast<std::int32_t>(dword(at));
            if (frame > kFrameLimit || frame < -kFrameLimit) return false;
            first = i == 0 ? frame : std::min(first, frame);
            last = i == 0 ? frame : std::max(last, frame);
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
            case Track::Morph:
                if (!string(at, chunk, 11)) return false;
                break;
            }
            if (at > chunk.end) return false;
        }
        // A looping track whose keys all share one frame has a loop length of
        // 0: lib3ds finds no interval and follows a null link.
        const bool interpolated = kind == Track::Lin1 || kind == Track::Lin3 || kind == Track::Quat;
        return !(interpolated && (flags & kRepeat) && keys >= 2 && first == last);
    }

    // lib3ds links each node under the node whose id it names as parent. A
    // node that names itself, directly or round a loop, sends its insertion
    // into endless recursion; two nodes with one id make the links ambiguous.
    bool nodeTreeIsSound() const {
        std::map<std::uint16_t, std::uint16_t> parentOf;
        for (const NodeLink& link : nodes) {
            if (link.id == kNoParent) continue;
            if (!parentOf.emplace(link.id, link.parent).second) return false;
        }
        for (const NodeLink& link : nodes) {
            std::uint16_t parent = link.parent;
            for (int depth = 1;; ++depth) {
                if (depth > kMaxNodeDepth) return false;
                const auto up = parent == kNoParent ? parentOf.end() : parentOf.find(parent);
                if (up == parentOf.end()) break;
                parent = up->second;
            }
        }
        return true;
    }

    const std::uint8_t* data;
    std::size_t size;
    std::vector<NodeLink> nodes;
};

}  // namespace

bool chunkTreeIsSafe(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr) return false;
    return Walker(data, size).file();
}
