#include <gtest/gtest.h>
#include <lib3ds/file.h>
#include <lib3ds/mesh.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "GlContext.h"
#include "TestData.h"
#include "TestFiles.h"
#include "model/ChunkTreeCheck.h"
#include "model/Model.h"
#include "model/ModelFile.h"

using testsupport::GlTest;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes word(std::uint16_t v) { return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)}; }
Bytes dword(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
            static_cast<std::uint8_t>(v >> 24)};
}
Bytes real(float v) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &v, 4);
    return dword(bits);
}
Bytes text(const char* s) { return Bytes(s, s + std::strlen(s) + 1); }

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes chunk(std::uint16_t id, std::initializer_list<Bytes> body) {
    const Bytes inside = join(body);
    return join({word(id), dword(static_cast<std::uint32_t>(inside.size() + 6)), inside});
}

// A chunk whose size field says `size`, whatever it holds.
Bytes badChunk(std::uint16_t id, std::uint32_t size, const Bytes& inside) {
    return join({word(id), dword(size), inside});
}

Bytes points(int count) {
    Bytes out = word(static_cast<std::uint16_t>(count));
    for (int i = 0; i < count; ++i) {
        const Bytes p = join({real(static_cast<float>(i)), real(static_cast<float>(i * i)), real(0)});
        out.insert(out.end(), p.begin(), p.end());
    }
    return chunk(0x4110, {out});
}

Bytes face(std::uint16_t a, std::uint16_t b, std::uint16_t c) { return join({word(a), word(b), word(c), word(7)}); }

// A one-key track: flags, two unused words, the key count, then keys.
Bytes track(std::uint16_t id, std::uint16_t flags, std::uint32_t count, std::initializer_list<Bytes> keys) {
    return chunk(id, {word(flags), dword(0), dword(0), dword(count), join(keys)});
}
Bytes positionKey(std::int32_t frame) {
    return join({dword(static_cast<std::uint32_t>(frame)), word(0), real(1), real(2), real(3)});
}

Bytes node(std::uint16_t id, const char* name, std::uint16_t parent, const Bytes& extra = {}) {
    return chunk(0xB002, {chunk(0xB030, {word(id)}), chunk(0xB010, {text(name), word(0), word(0), word(parent)}),
                          track(0xB020, 0, 1, {positionKey(0)}), extra});
}

Bytes objectData(const Bytes& mesh, const Bytes& extraData = {}) {
    return chunk(0x3D3D, {chunk(0x4000, {text("tri"), chunk(0x4100, {mesh})}), extraData});
}

// `mesh` is what the mesh chunk holds; `tail` ends the top chunk.
Bytes file(const Bytes& mesh, const Bytes& nodes, const Bytes& extraData = {}, const Bytes& tail = {},
           std::uint32_t frames = 100) {
    return chunk(0x4D4D, {objectData(mesh, extraData),
                          chunk(0xB000, {chunk(0xB00A, {word(5), text("demo"), dword(frames)}), nodes}), tail});
}

Bytes threePoints(const Bytes& faceArray) { return join({points(3), faceArray}); }

Bytes soundFaces() {
    return chunk(0x4120,
                 {word(1), face(0, 1, 2), chunk(0x4130, {text("mat"), word(1), word(0)}), chunk(0x4150, {dword(1)})});
}

Bytes soundMesh() { return threePoints(soundFaces()); }

Bytes soundNodes() { return node(0, "tri", 0xFFFF); }

Bytes sound() { return file(soundMesh(), soundNodes()); }

Bytes withNode(const Bytes& extra, std::uint32_t frames = 100) {
    return file(soundMesh(), node(0, "tri", 0xFFFF, extra), {}, {}, frames);
}

// `faces` triangles round point 0, face i in the smoothing groups
// `groups(i)`: on a cone every face has its own normal, on a disc they all
// share one.
Bytes fan(int faces, const std::function<std::uint32_t(int)>& groups, bool disc = false) {
    Bytes list = join({word(static_cast<std::uint16_t>(faces + 1)), real(0), real(0), real(0)});
    Bytes faceList = word(static_cast<std::uint16_t>(faces));
    Bytes smoothing;
    for (int i = 0; i < faces; ++i) {
        const double angle = 2 * M_PI * i / faces;
        list = join({list, real(static_cast<float>(std::cos(angle))), real(static_cast<float>(std::sin(angle))),
                     real(disc ? 0.0f : -1.0f)});
        faceList = join(
            {faceList, face(0, static_cast<std::uint16_t>(1 + i), static_cast<std::uint16_t>(1 + (i + 1) % faces))});
        smoothing = join({smoothing, dword(groups(i))});
    }
    return join({chunk(0x4110, {list}), chunk(0x4120, {faceList, chunk(0x4150, {smoothing})})});
}

Bytes nodeChain(int depth) {
    Bytes nodes = node(0, "tri", 0xFFFF);
    for (int i = 1; i < depth; ++i) {
        nodes = join({nodes, node(static_cast<std::uint16_t>(i), "tri", static_cast<std::uint16_t>(i - 1))});
    }
    return file(soundMesh(), nodes);
}

Bytes gradient(int colours, int linearColours) {
    Bytes list;
    for (int i = 0; i < colours; ++i) list = join({list, chunk(0x0010, {real(1), real(0), real(0)})});
    for (int i = 0; i < linearColours; ++i) list = join({list, chunk(0x0013, {real(0), real(1), real(0)})});
    return file(soundMesh(), soundNodes(), chunk(0x1300, {real(0.5f), list}));
}

Bytes material(const std::string& name) { return chunk(0xAFFF, {chunk(0xA000, {text(name.c_str())})}); }

// The top chunk claims `more` bytes beyond what the file holds.
Bytes cutShort(Bytes bytes, std::uint32_t more) {
    const Bytes size = dword(static_cast<std::uint32_t>(bytes.size()) + more);
    std::copy(size.begin(), size.end(), bytes.begin() + 2);
    return bytes;
}

// An id lib3ds does not know and skips by its size.
constexpr std::uint16_t kUnknown = 0x5555;

bool safe(const Bytes& bytes) { return chunkTreeIsSafe(bytes.data(), bytes.size()); }

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string saved(const std::string& name, const Bytes& bytes) {
    const std::string path = tempModelPath(name);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

// A path lib3ds can open for bytes held in memory, so that a child process
// that crashes leaves no file behind.
std::string memoryFile(const Bytes& bytes) {
    const int fd = memfd_create("chunk-tree", 0);
    if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) return {};
    return "/proc/self/fd/" + std::to_string(fd);
}

}  // namespace

TEST(ChunkTreeCheck, RealFilesPassAndTheTextFileDoesNot) {
    SKIP_WITHOUT_TESTDATA();
    const std::string root = testsupport::testDataPath("3ds");
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".3ds" && ext != ".3DS") continue;
        ++files;
        const Bytes bytes = readFile(entry.path().string());
        EXPECT_EQ(safe(bytes), entry.path().filename() != "wrong.3ds") << entry.path();
    }
    EXPECT_EQ(files, 12);
    EXPECT_FALSE(chunkTreeIsSafe(nullptr, 0));
    EXPECT_FALSE(safe({}));
}

class ChunkTreeCheckRules : public GlTest {};

// Each rule with a file it refuses and files next to it that lib3ds reads
// safely: those load, and draw as many triangles as their nodes name.
TEST_F(ChunkTreeCheckRules, EachRuleRefusesItsFileAndPassesItsNearMisses) {
    constexpr int kRefused = -1;
    const auto alwaysOne = [](int) { return 1u; };
    const auto alternating = [](int i) { return i % 2 == 0 ? 1u : 2u; };
    const Bytes oneFace = chunk(0x4120, {word(1), face(0, 1, 2)});
    const Bytes smoothingCut = chunk(0x4120, {word(1), face(0, 1, 2), chunk(0x4150, {word(1)})});
    const struct {
        const char* what;
        Bytes bytes;
        int triangles;
    } cases[] = {
        {"a sound small file", sound(), 1},

        // lib3ds steps from header to header by the sizes until it passes
        // its parent's end, reading each header wherever that lands.
        {"a size of 0 reads one header for ever", file(soundMesh(), soundNodes(), badChunk(kUnknown, 0, real(1))),
         kRefused},
        {"a size that wraps back onto a header read before",
         file(soundMesh(), soundNodes(), join({chunk(kUnknown, {dword(0)}), badChunk(kUnknown, 0xFFFFFFF6u, {})})),
         kRefused},
        {"a wrap back onto bytes never read as a header",
         file(soundMesh(), soundNodes(), join({chunk(kUnknown, {dword(0)}), badChunk(kUnknown, 0xFFFFFFFCu, {})})), 1},
        {"an id of 0 ends its parent before a size of 0",
         file(soundMesh(), soundNodes(), join({chunk(0x0000, {}), badChunk(kUnknown, 0, {})})), 1},
        {"the last child runs past its parent's end", file(soundMesh(), soundNodes(), badChunk(0x0100, 40, real(1))),
         1},
        {"a short size steps into the middle of its own header",
         file(soundMesh(), soundNodes(), badChunk(kUnknown, 4, {})), 1},
        {"a header past the end of the file", cutShort(sound(), 1), kRefused},
        {"one byte of padding: a header partly past the end", file(soundMesh(), soundNodes(), {}, {0}), kRefused},
        {"two zero bytes of padding: an id of 0", file(soundMesh(), soundNodes(), {}, {0, 0}), 1},
        {"bytes after the top chunk", join({sound(), text("trailing")}), 1},

        // lib3ds computes normals from points, and they from their faces.
        {"a face names a point that does not exist",
         file(threePoints(chunk(0x4120, {word(1), face(0, 1, 3)})), soundNodes()), kRefused},
        {"a material group names a face that does not exist",
         file(threePoints(chunk(0x4120, {word(1), face(0, 1, 2), chunk(0x4130, {text("mat"), word(1), word(1)})})),
              soundNodes()),
         kRefused},

        // lib3ds_mesh_calculate_normals keeps at most 128 distinct normals of
        // one smoothing group around a point.
        {"129 distinct smoothed normals round a point", file(fan(129, alwaysOne), soundNodes()), kRefused},
        {"256 distinct normals round a point in two groups", file(fan(256, alternating), soundNodes()), 256},
        {"300 smoothed faces round a point sharing one normal", file(fan(300, alwaysOne, true), soundNodes()), 300},
        {"129 distinct normals round a point, none smoothed", file(fan(129, [](int) { return 0u; }), soundNodes()),
         129},

        // Values that decide what lib3ds does must be in the file.
        {"a smoothing list cut by the end of the file",
         chunk(0x4D4D, {chunk(0x3D3D, {chunk(0x4000, {text("tri"), chunk(0x4100, {threePoints(smoothingCut)})})})}),
         kRefused},
        {"a smoothing list finished by the bytes after its chunk", file(threePoints(smoothingCut), soundNodes()), 1},
        {"a track counts a key beyond the end of the file", withNode(track(0xB020, 0, 2, {positionKey(0)})), kRefused},
        {"a track's last key read from the chunk after it",
         withNode(join({track(0xB020, 0, 2, {positionKey(0)}), chunk(0x0005, {Bytes(26, 0)})})), 1},
        {"a key count that would take hours", withNode(track(0xB020, 0, 0x7FFFFFFF, {positionKey(0)})), kRefused},
        {"the same count in a roll track, which object nodes leave unread",
         withNode(track(0xB024, 0, 0x7FFFFFFF, {positionKey(0)})), 1},

        // A looping track drawn past its last key looks for keys round the
        // time modulo their span and follows a null link when it finds none:
        // a span of 0, or rounding once frames are too large for exact
        // floats. Frame 0 is drawn as the file loads; the file's frame count
        // (100 here) bounds the frames drawn after.
        {"a looping track of one frame", withNode(track(0xB020, 1, 2, {positionKey(0), positionKey(0)})), kRefused},
        {"a looping track of one frame after the last frame drawn",
         withNode(track(0xB020, 1, 2, {positionKey(200), positionKey(200)})), 1},
        {"a looping track of ten frames", withNode(track(0xB020, 1, 2, {positionKey(0), positionKey(10)})), 1},
        {"a looping track beyond 2^23 drawn past its last key",
         withNode(track(0xB020, 1, 2, {positionKey(0), positionKey((1 << 24) + 1)}), 1u << 25), kRefused},
        {"a looping track beyond 2^23 never drawn past its last key",
         withNode(track(0xB020, 1, 2, {positionKey(0), positionKey((1 << 24) + 1)})), 1},
        {"a frame beyond 2^23", withNode(track(0xB020, 0, 1, {positionKey(1 << 24)})), 1},

        // lib3ds inserts each node under the node its parent id names, then
        // inserts again every top-level node that names the new one. Parent 0
        // is what a node header holds when nobody set it: with node id 0 the
        // node names itself, and the insertions never end.
        {"a node that is its own parent", file(soundMesh(), node(0, "tri", 0)), kRefused},
        {"two nodes each the other's parent", file(soundMesh(), join({node(0, "tri", 1), node(1, "tri", 0)})), 2},
        {"two nodes with one id", file(soundMesh(), join({node(3, "tri", 0xFFFF), node(3, "tri", 0xFFFF)})), 2},
        {"a chain of 257 nodes", nodeChain(257), kRefused},
        {"a chain of 256 nodes", nodeChain(256), 256},
        {"a node under node 0", file(soundMesh(), join({node(0, "tri", 0xFFFF), node(1, "tri", 0)})), 2},

        // lib3ds gives up on these, and each file it gives up on leaves its
        // chunk-nesting string longer.
        {"a 64-character material name", file(soundMesh(), soundNodes(), material(std::string(64, 'm'))), kRefused},
        {"a 63-character material name", file(soundMesh(), soundNodes(), material(std::string(63, 'm'))), 1},
        {"a shadow bias shorter than its header", file(soundMesh(), soundNodes(), badChunk(0x1400, 4, real(1))),
         kRefused},
        {"a shadow bias", file(soundMesh(), soundNodes(), chunk(0x1400, {real(1)})), 1},

        // lib3ds keeps the gradient colours in a stack array of six, the
        // linear ones from its middle.
        {"seven plain gradient colours", gradient(7, 0), kRefused},
        {"four linear gradient colours", gradient(0, 4), kRefused},
        {"six plain and three linear gradient colours", gradient(6, 3), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(safe(c.bytes), c.triangles != kRefused);
        const std::string path = saved("rule.3ds", c.bytes);
        Lib3dsFile* loaded = loadModelFile(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(loaded != nullptr, c.triangles != kRefused);
        if (loaded == nullptr) continue;
        lib3ds_file_free(loaded);
        Model model(path.c_str());
        EXPECT_EQ(countDrawnTriangles(model), c.triangles);
    }
}

// What the check is for: lib3ds alone recurses until the stack is gone on a
// node that is its own parent, overruns its normals array round a point of
// 129 distinct smoothed normals, and after enough files it gave up on in one
// process overflows its chunk-nesting string. The check turns each into a
// plain load failure.
TEST(ChunkTreeCheckDeathTest, Lib3dsAloneCrashesOnWhatTheCheckRefuses) {
    const struct {
        Bytes bytes;
        int loads;
        const char* message;
    } cases[] = {
        {file(soundMesh(), node(0, "tri", 0)), 1, ""},
        {file(fan(129, [](int) { return 1u; }), soundNodes()), 1, "stack smashing detected"},
        {file(soundMesh(), soundNodes(), material(std::string(64, 'm'))), 100, "buffer overflow detected"},
    };
    for (const auto& c : cases) {
        EXPECT_DEATH(
            {
                const std::string path = memoryFile(c.bytes);
                for (int i = 0; i < c.loads; ++i) {
                    Lib3dsFile* loaded = lib3ds_file_load(path.c_str());
                    for (Lib3dsMesh* mesh = loaded != nullptr ? loaded->meshes : nullptr; mesh != nullptr;
                         mesh = mesh->next) {
                        std::vector<float> normals(9 * static_cast<std::size_t>(mesh->faces));
                        lib3ds_mesh_calculate_normals(mesh, reinterpret_cast<Lib3dsVector*>(normals.data()));
                    }
                }
            },
            c.message);
        EXPECT_EQ(loadModelFile(c.bytes.data(), c.bytes.size()), nullptr);
    }
}
