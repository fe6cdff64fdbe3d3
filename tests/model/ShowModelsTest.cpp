#include <GL/gl.h>
#include <gtest/gtest.h>
#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "GlContext.h"
#include "SceneViews.h"
#include "TestFiles.h"
#include "model/ChunkTreeCheck.h"
#include "model/Light.h"
#include "model/Model.h"
#include "pack/PackContext.h"
#include "pack/models/Models.h"
#include "render/RenderState.h"

using testsupport::GlTest;
using testsupport::projected;

namespace {

constexpr const char* kModels[] = {"queen.3ds",    "king_h.3ds",   "pawn.3ds",
                                   "ship_adv.3ds", "spheaker.3ds", "luvshak.3ds"};

std::string writePack(const std::string& name) {
    PackContext pack;
    pack.outDir = std::filesystem::path(tempModelPath(name));
    writeModels(pack);
    return pack.outDir.string();
}

std::string packDir() {
    static const std::string dir = writePack("marrowick-models");
    return dir;
}

std::string modelPath(const char* name) { return packDir() + "/demoMesh/" + name; }

std::vector<char> bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Every frame a test draws is also kept to be looked at.
void shot(const std::string& name) { testsupport::saveFramePng("model-shots/" + name + ".png", 640, 480); }

struct Box {
    int left = 640, top = 480, right = -1, bottom = -1, pixels = 0;
    bool empty() const { return pixels == 0; }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

// The lit pixels of the frame (y down), optionally within columns [from, to).
Box litPixels(int from = 0, int to = 640) {
    const std::vector<std::uint8_t> frame = testsupport::readFrame(640, 480);
    Box box;
    for (int y = 0; y < 480; ++y) {
        for (int x = from; x < to; ++x) {
            const std::uint8_t* p = &frame[(static_cast<std::size_t>(y) * 640 + x) * 4];
            if (p[0] + p[1] + p[2] < 30) continue;
            ++box.pixels;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}

}  // namespace

TEST(ShowModelFiles, AreWrittenTheSameByteForByteEveryTime) {
    const std::string again = writePack("marrowick-models-again");
    for (const char* name : kModels) {
        SCOPED_TRACE(name);
        const std::vector<char> first = bytes(modelPath(name));
        EXPECT_GT(first.size(), 1000u);
        EXPECT_EQ(first, bytes(again + "/demoMesh/" + name));
        EXPECT_TRUE(chunkTreeIsSafe(reinterpret_cast<const std::uint8_t*>(first.data()), first.size()));
    }
}

// What the show relies on: frames to draw, every mesh reachable through an
// object node, every face in a material of the file, curved parts smoothed.
TEST(ShowModelFiles, AreCompleteModels) {
    testsupport::GlContext context(16, 16);
    for (const char* name : kModels) {
        SCOPED_TRACE(name);
        Model loaded(modelPath(name).c_str());
        Lib3dsFile* file = loaded.getFile();
        EXPECT_GE(loaded.getFrameCount(), 1);
        ASSERT_NE(file->nodes, nullptr);
        int smoothed = 0;
        for (Lib3dsMesh* mesh = file->meshes; mesh != nullptr; mesh = mesh->next) {
            EXPECT_NE(lib3ds_file_node_by_name(file, mesh->name, LIB3DS_OBJECT_NODE), nullptr) << mesh->name;
            for (Lib3dsDword i = 0; i < mesh->faces; ++i) {
                const Lib3dsFace& face = mesh->faceL[i];
                ASSERT_NE(lib3ds_file_material_by_name(file, face.material), nullptr) << mesh->name;
                smoothed += face.smoothing != 0 ? 1 : 0;
            }
        }
        EXPECT_GT(smoothed, 100);
        EXPECT_GT(countDrawnTriangles(loaded), 500);
    }
}

TEST(ShowModelFiles, TheShipIsANodeTreeUnderAGroup) {
    testsupport::GlContext context(16, 16);
    Model ship(modelPath("ship_adv.3ds").c_str());
    const Lib3dsNode* group = ship.getFile()->nodes;
    ASSERT_NE(group, nullptr);
    EXPECT_STREQ(group->name, "$$$DUMMY");
    // group > hull > wing > engine
    const Lib3dsNode* hull = group->childs;
    ASSERT_NE(hull, nullptr);
    int engines = 0;
    for (const Lib3dsNode* part = hull->childs; part != nullptr; part = part->next) {
        for (const Lib3dsNode* below = part->childs; below != nullptr; below = below->next) {
            engines += std::strcmp(below->name, "nacelle") == 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(engines, 2);
}

class ShowModels : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        setShowProjection();
        glClearColor(0, 0, 0, 1);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        showLights(first, second, false);
        clear();
    }

    static void clear() {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        resetRenderState();
    }

    Light first;
    Light second{1, 1, 1, 1, 1, 1, -4};
};

// The pieces' frame puts the board 28 units below their origin: each piece
// must reach down to it and rise straight up from there.
TEST_F(ShowModels, ChessPiecesStandUprightOnTheBoard) {
    const struct {
        const char* file;
        float top;
    } pieces[] = {{"queen.3ds", 27.8f}, {"king_h.3ds", 34.6f}};
    for (const auto& piece : pieces) {
        SCOPED_TRACE(piece.file);
        clear();
        Model model(modelPath(piece.file).c_str());
        boardView(30, 0, 0, false);
        // The foot's widest rim is its lowest point on screen, the tip its highest.
        int rimBottom = 0;
        for (int degrees = 0; degrees < 360; degrees += 5) {
            const float a = static_cast<float>(degrees) * 3.14159265f / 180.0f;
            rimBottom = std::max(rimBottom, projected(11.7f * std::cos(a), -25.8f, 11.7f * std::sin(a))[1]);
        }
        const auto top = projected(0, piece.top, 0);
        const auto waist = projected(0, 0, 0);
        model.draw(0);
        const Box box = litPixels();
        ASSERT_FALSE(box.empty());
        EXPECT_NEAR(box.bottom, rimBottom, 4);
        EXPECT_NEAR(box.top, top[1], 4);
        EXPECT_GE(waist[0], box.left);
        EXPECT_LE(waist[0], box.right);
        EXPECT_GT(box.left, 0);
        EXPECT_LT(box.right, 639);
        EXPECT_GT(box.top, 0);

        clear();
        boardView(30, 0, 0, true);  // with the board, to be looked at
        model.draw(0);
        shot(std::string("board-") + piece.file);
    }
}

// The pawn swings round the viewer inside the tumbling cube and must cross
// the view often over the section's frames.
TEST_F(ShowModels, ThePawnCrossesTheTumblingView) {
    Model pawn(modelPath("pawn.3ds").c_str());
    int seen = 0;
    int frames = 0;
    for (int t = 2300; t < 3400; t += 50) {
        clear();
        peasantsView(static_cast<float>(t));
        pawn.draw(0);
        const Box box = litPixels();
        ++frames;
        if (box.pixels > 2000) ++seen;
        if (t == 2650) shot("peasants-pawn");
    }
    EXPECT_GE(seen * 4, frames);
}

TEST_F(ShowModels, TheShipFillsAGoodPartOfTheViewAt100Units) {
    showLights(first, second, true);
    Model ship(modelPath("ship_adv.3ds").c_str());
    for (int t : {0, 60}) {
        clear();
        shipView(static_cast<float>(t));
        ship.draw(0);
        const Box box = litPixels();
        shot("ship-" + std::to_string(t));
        EXPECT_GT(box.width(), 640 * 35 / 100) << t;
        EXPECT_GT(box.left, 0);
        EXPECT_LT(box.right, 639);
    }
}

TEST_F(ShowModels, SpeakersStandAtEitherSideAndTheWalkerGoesOffBetweenThem) {
    showLights(first, second, true);
    Model speaker(modelPath("spheaker.3ds").c_str());
    Model walker(modelPath("luvshak.3ds").c_str());

    // Where the cabinet's corners land: the speakers' outlines on screen.
    auto cabinet = [] {
        Box box;
        for (float x : {-18.0f, 18.0f}) {
            for (float y : {-30.0f, 30.0f}) {
                for (float z : {-14.0f, 14.0f}) {
                    const auto p = projected(x, y, z);
                    box.left = std::min(box.left, p[0]);
                    box.right = std::max(box.right, p[0]);
                    box.top = std::min(box.top, p[1]);
                    box.bottom = std::max(box.bottom, p[1]);
                }
            }
        }
        return box;
    };
    speakerView(-1);
    const Box leftCabinet = cabinet();
    speaker.draw(0);
    speakerView(1);
    const Box rightCabinet = cabinet();
    speaker.draw(0);
    const Box left = litPixels(0, 320);
    const Box right = litPixels(320, 640);
    shot("alien-speakers");
    for (const auto& [drawn, expected] : {std::pair{left, leftCabinet}, std::pair{right, rightCabinet}}) {
        EXPECT_NEAR(drawn.left, expected.left, 3);
        EXPECT_NEAR(drawn.right, expected.right, 3);
        EXPECT_NEAR(drawn.top, expected.top, 3);
        EXPECT_NEAR(drawn.bottom, expected.bottom, 3);
    }
    EXPECT_LT(left.right, 300);
    EXPECT_GT(right.left, 340);

    // Seen from behind: the hump on its back, not its belly, is in the middle.
    for (float chase : {40.0f, 90.0f}) {
        clear();
        walkerView(chase);
        const auto back = projected(0, 0, 12.6f);
        const auto feet = projected(0, 0, 0);
        walker.draw(0);
        const Box box = litPixels();
        const auto middle = testsupport::pixelAt(back[0], back[1]);
        shot("alien-walker-" + std::to_string(static_cast<int>(chase)));
        EXPECT_NEAR((box.left + box.right) / 2, 320, 20) << chase;
        EXPECT_NEAR(box.bottom, feet[1], 10) << chase;
        EXPECT_GT(middle[2], middle[1]) << chase;  // purple, not the yellow-green front
    }
}
