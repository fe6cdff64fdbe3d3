#include <gtest/gtest.h>
#include <lib3ds/file.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "TestData.h"
#include "TestFiles.h"
#include "model/ChunkTreeCheck.h"
#include "model/ModelFile.h"

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

Bytes file(const Bytes& faceArray, const Bytes& nodes, const Bytes& extraData = {}) {
    return chunk(0x4D4D,
                 {chunk(0x3D3D, {chunk(0x4000, {text("tri"), chunk(0x4100, {points(3), faceArray})}), extraData}),
                  chunk(0xB000, {chunk(0xB00A, {word(5), text("demo"), dword(100)}), nodes})});
}

Bytes soundFaces() {
    return chunk(0x4120,
                 {word(1), face(0, 1, 2), chunk(0x4130, {text("mat"), word(1), word(0)}), chunk(0x4150, {dword(1)})});
}

Bytes soundNodes() { return node(0, "tri", 0xFFFF); }

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

// lib3ds itself reads a file the check lets through.
void expectLib3dsReads(const std::string& name, const Bytes& bytes) {
    Lib3dsFile* loaded = loadModelFile(saved(name, bytes));
    ASSERT_NE(loaded, nullptr) << name;
    lib3ds_file_eval(loaded, 0);
    lib3ds_file_free(loaded);
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
}

TEST(ChunkTreeCheck, ASoundSmallFilePassesAndLib3dsReadsIt) {
    const Bytes sound = file(soundFaces(), soundNodes());
    EXPECT_TRUE(safe(sound));
    expectLib3dsReads("sound.3ds", sound);
    EXPECT_FALSE(chunkTreeIsSafe(nullptr, 0));
    EXPECT_FALSE(safe({}));
}

// lib3ds steps from chunk to chunk by their sizes: a size of 0 never moves on.
TEST(ChunkTreeCheck, ChunkSizesMustTileTheirParent) {
    const Bytes zero = file(soundFaces(), soundNodes(), badChunk(0x0100, 0, real(1)));
    EXPECT_FALSE(safe(zero));
    const Bytes tiny = file(soundFaces(), soundNodes(), badChunk(0x0100, 4, {}));
    EXPECT_FALSE(safe(tiny));

    // The last leaf of the mesh data claims bytes past its parent's end.
    EXPECT_FALSE(safe(file(soundFaces(), soundNodes(), badChunk(0x0100, 40, real(1)))));

    Bytes truncated = file(soundFaces(), soundNodes());
    truncated.pop_back();
    EXPECT_FALSE(safe(truncated));

    Bytes notA3ds = file(soundFaces(), soundNodes());
    notA3ds[0] = 0x12;
    EXPECT_FALSE(safe(notA3ds));
}

TEST(ChunkTreeCheck, AZeroIdEndsAParentAsLib3dsReadsIt) {
    // lib3ds stops reading a parent at a child of id 0 and never looks at
    // what follows it, so neither does the check.
    const Bytes stop = file(soundFaces(), soundNodes(), join({chunk(0x0000, {}), badChunk(0x0100, 0, {})}));
    EXPECT_TRUE(safe(stop));
    expectLib3dsReads("stop.3ds", stop);
}

TEST(ChunkTreeCheck, FacesMayOnlyNameExistingPointsAndMaterialGroupsExistingFaces) {
    EXPECT_FALSE(safe(file(chunk(0x4120, {word(1), face(0, 1, 3)}), soundNodes())));
    EXPECT_FALSE(safe(
        file(chunk(0x4120, {word(1), face(0, 1, 2), chunk(0x4130, {text("mat"), word(1), word(1)})}), soundNodes())));
    // More faces listed than the chunk holds.
    EXPECT_FALSE(safe(file(chunk(0x4120, {word(2), face(0, 1, 2)}), soundNodes())));
    // A smoothing list shorter than the faces.
    EXPECT_FALSE(safe(file(chunk(0x4120, {word(1), face(0, 1, 2), chunk(0x4150, {word(1)})}), soundNodes())));
}

// lib3ds gathers the normals around a point in a fixed array of 128.
TEST(ChunkTreeCheck, APointMayBeSharedByAtMost128Faces) {
    auto fan = [](int faces) {
        Bytes list = word(static_cast<std::uint16_t>(faces));
        for (int i = 0; i < faces; ++i) {
            const Bytes f = face(0, 1, 2);
            list.insert(list.end(), f.begin(), f.end());
        }
        return file(chunk(0x4120, {list}), soundNodes());
    };
    EXPECT_TRUE(safe(fan(128)));
    EXPECT_FALSE(safe(fan(129)));
}

TEST(ChunkTreeCheck, TracksMustHoldTheKeysTheyCount) {
    const Bytes counted = track(0xB020, 0, 2, {positionKey(0), positionKey(5)});
    EXPECT_TRUE(safe(file(soundFaces(), node(0, "tri", 0xFFFF, counted))));
    const Bytes overcounted = track(0xB020, 0, 0x7FFFFFFF, {positionKey(0)});
    EXPECT_FALSE(safe(file(soundFaces(), node(0, "tri", 0xFFFF, overcounted))));
    // Spline flags add a float per flag to a key.
    const Bytes splined =
        track(0xB020, 0, 1, {join({dword(0), word(0x0003), real(0), real(0), real(1), real(2), real(3)})});
    EXPECT_TRUE(safe(file(soundFaces(), node(0, "tri", 0xFFFF, splined))));
    const Bytes splineMissing = track(0xB020, 0, 1, {join({dword(0), word(0x0003), real(1), real(2), real(3)})});
    EXPECT_FALSE(safe(file(soundFaces(), node(0, "tri", 0xFFFF, splineMissing))));
}

// A looping track of keys that all share one frame makes lib3ds find no key
// interval and follow a null link; so do frames too large to be exact floats.
TEST(ChunkTreeCheck, LoopingTracksNeedAPositiveLength) {
    const Bytes loop = track(0xB020, 1, 2, {positionKey(0), positionKey(10)});
    EXPECT_TRUE(safe(file(soundFaces(), node(0, "tri", 0xFFFF, loop))));
    const Bytes stuck = track(0xB020, 1, 2, {positionKey(0), positionKey(0)});
    EXPECT_FALSE(safe(file(soundFaces(), node(0, "tri", 0xFFFF, stuck))));
    const Bytes far = track(0xB020, 0, 1, {positionKey(1 << 24)});
    EXPECT_FALSE(safe(file(soundFaces(), node(0, "tri", 0xFFFF, far))));
}

TEST(ChunkTreeCheck, NodesMustFormATree) {
    // Parent 0 is what a node header holds when nobody set it: with node id
    // 0 the node is its own parent.
    EXPECT_FALSE(safe(file(soundFaces(), node(0, "tri", 0))));
    EXPECT_TRUE(safe(file(soundFaces(), join({node(0, "tri", 0xFFFF), node(1, "tri", 0)}))));
    EXPECT_FALSE(safe(file(soundFaces(), join({node(0, "tri", 1), node(1, "tri", 0)}))));
    EXPECT_FALSE(safe(file(soundFaces(), join({node(3, "tri", 0xFFFF), node(3, "tri", 0xFFFF)}))));

    auto chain = [](int depth) {
        Bytes nodes = node(0, "tri", 0xFFFF);
        for (int i = 1; i < depth; ++i) {
            const Bytes next = node(static_cast<std::uint16_t>(i), "tri", static_cast<std::uint16_t>(i - 1));
            nodes.insert(nodes.end(), next.begin(), next.end());
        }
        return file(soundFaces(), nodes);
    };
    EXPECT_TRUE(safe(chain(256)));
    EXPECT_FALSE(safe(chain(257)));
}

TEST(ChunkTreeCheck, ABackgroundGradientHoldsAtMostThreeColours) {
    auto gradient = [](int colours) {
        Bytes list;
        for (int i = 0; i < colours; ++i) {
            const Bytes c = chunk(0x0010, {real(1), real(0), real(0)});
            list.insert(list.end(), c.begin(), c.end());
        }
        return file(soundFaces(), soundNodes(), chunk(0x1300, {real(0.5f), list}));
    };
    EXPECT_TRUE(safe(gradient(3)));
    EXPECT_FALSE(safe(gradient(4)));
}

// What the check is for: lib3ds recurses until the stack is gone on a node
// that is its own parent. The check turns that into a plain load failure.
TEST(ChunkTreeCheckDeathTest, Lib3dsAloneCrashesOnASelfParentedNode) {
    const Bytes selfParented = file(soundFaces(), node(0, "tri", 0));
    EXPECT_DEATH(
        {
            // From memory: the crashing child leaves no file behind.
            const int fd = memfd_create("self-parent", 0);
            ASSERT_EQ(write(fd, selfParented.data(), selfParented.size()), static_cast<ssize_t>(selfParented.size()));
            lib3ds_file_load(("/proc/self/fd/" + std::to_string(fd)).c_str());
        },
        "");
    const std::string path = saved("self-parent.3ds", selfParented);
    EXPECT_EQ(loadModelFile(path), nullptr);
}
