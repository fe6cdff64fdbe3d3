#include <GL/gl.h>
#include <gtest/gtest.h>
#include <lib3ds/node.h>

#include <array>
#include <memory>
#include <string>

#include "FatalExitExpectation.h"
#include "GlContext.h"
#include "TestData.h"
#include "TestFiles.h"
#include "model/CEnvMapShader.h"
#include "model/CPlainShader.h"
#include "model/CWireShader.h"
#include "model/Model.h"
#include "render/RenderState.h"

using testsupport::GlTest;
using testsupport::pixelAt;
using testsupport::projected;

namespace {

std::string testdata(const std::string& name) { return testsupport::testDataPath("3ds/" + name); }

std::array<GLfloat, 4> frontMaterial(GLenum what) {
    std::array<GLfloat, 4> v{-1, -1, -1, -1};
    glGetMaterialfv(GL_FRONT, what, v.data());
    return v;
}

bool isRed(const testsupport::Rgba& p) { return p[0] > 100 && p[1] < 40 && p[2] < 40; }
bool isBlack(const testsupport::Rgba& p) { return p[0] < 10 && p[1] < 10 && p[2] < 10; }

}  // namespace

class ModelTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        clearShowView();
        resetRenderState();
        // OpenGL's default first light shines along the view: a face turned
        // to the viewer shows its material's diffuse colour as it is.
        glEnable(GL_LIGHT0);
    }
};

// The numbers come from lib3ds's own listing of each file: the faces of every
// mesh that an object node (other than a group) names.
TEST_F(ModelTest, RealFilesDrawTheFacesTheirNodesName) {
    SKIP_WITHOUT_TESTDATA();
    const struct {
        const char* file;
        int triangles;
    } files[] = {
        {"assimp-nonbsd/cart_wheel.3DS", 1400},            // 13 meshes under a $$$DUMMY group
        {"assimp-nonbsd/jeep1.3ds", 0},                    // meshes but no nodes
        {"assimp/fels.3ds", 0},                            // no keyframer section at all
        {"assimp/CameraRollAnimWithChildObject.3ds", 24},  // an object under a camera
        {"assimp/RotatingCube.3DS", 12},
        {"assimp/cube_with_diffuse_texture.3DS", 12},
        {"assimp/cubes_with_alpha.3DS", 60},
        {"assimp/test1.3ds", 108},
        {"online3dviewer/cube_four_instances.3ds", 48},  // one mesh, four instance nodes
        {"online3dviewer/cube_hierarchy.3ds", 96},       // two groups of four instances
        {"online3dviewer/cube_with_materials.3ds", 12},
    };
    for (const auto& entry : files) {
        SCOPED_TRACE(entry.file);
        Model model(testdata(entry.file).c_str());
        EXPECT_EQ(countDrawnTriangles(model), entry.triangles);
        // A second draw calls the lists compiled by the first.
        EXPECT_EQ(countDrawnTriangles(model), entry.triangles);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

TEST_F(ModelTest, FrameCountComesFromTheFile) {
    SKIP_WITHOUT_TESTDATA();
    EXPECT_EQ(Model(testdata("assimp/RotatingCube.3DS").c_str()).getFrameCount(), 300);
    EXPECT_EQ(Model(testdata("assimp/cubes_with_alpha.3DS").c_str()).getFrameCount(), 2);
}

TEST_F(ModelTest, FramesAtOrBeyondTheFrameCountDrawNothing) {
    SKIP_WITHOUT_TESTDATA();
    Model model(testdata("assimp/cubes_with_alpha.3DS").c_str());  // 2 frames
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -200);
    model.draw(2);
    model.draw(3);
    for (Lib3dsNode* node = model.getFile()->nodes; node != nullptr; node = node->next) {
        EXPECT_EQ(node->user.d, 0u) << node->name;
    }
}

TEST_F(ModelTest, AFileWithZeroFramesNeverDraws) {
    const std::string path = writeTestFile("zero-frames.3ds", [](ThreeDsBuilder& file) {
        file.setFrames(0);
        file.addMaterial("red", {1, 0, 0}, {0, 0, 0}, 0);
        file.addMesh("slab", slab(4, 4, "red"));
        ThreeDsBuilder::Node node(0, ThreeDsBuilder::kNoParent, "slab");
        node.position = {0, 0, -20};
        file.addNode(node);
    });
    Model model(path.c_str());
    EXPECT_EQ(model.getFrameCount(), 0);
    glLoadIdentity();
    model.draw(0);
    EXPECT_TRUE(isBlack(pixelAt(320, 240)));
    EXPECT_EQ(countDrawnTriangles(model), 0);
}

TEST_F(ModelTest, AMissingFileEndsTheShowWithItsMessage) {
    EXPECT_FATAL_EXIT(Model("demoMesh\\nothere.3ds"),
                      "sorry but could not load demoMesh\\nothere.3ds must therfor exit!\n");
    SKIP_WITHOUT_TESTDATA();  // a text file named .3ds, written by others
    const std::string wrong = testdata("online3dviewer/wrong.3ds");
    EXPECT_FATAL_EXIT(Model(wrong.c_str()), "sorry but could not load " + wrong + " must therfor exit!\n");
}

// The slab is 8 wide and 1 tall in its file; the renderers undo the mesh's
// own frame, move it to its node and turn it 90 degrees about z, and the
// file stores it turned back, so it must lie flat across the view.
TEST_F(ModelTest, AKnownSlabLightsTheExpectedPixels) {
    Model model(writeSlabFile("slab.3ds", 3, 1, -20).c_str());
    glLoadIdentity();
    const auto centre = projected(3, 1, -20);
    const auto left = projected(3 - 3.8f, 1, -20);
    const auto right = projected(3 + 3.8f, 1, -20);
    const auto above = projected(3, 1 + 1.5f, -20);
    model.draw(0);
    EXPECT_TRUE(isRed(pixelAt(centre[0], centre[1])));
    EXPECT_TRUE(isRed(pixelAt(left[0], left[1])));
    EXPECT_TRUE(isRed(pixelAt(right[0], right[1])));
    EXPECT_TRUE(isBlack(pixelAt(above[0], above[1])));
    EXPECT_TRUE(isBlack(pixelAt(320, 240)));
}

TEST_F(ModelTest, NodeRotationPivotAndMeshFrameAllPlaceTheMesh) {
    const std::string path = writeTestFile("placed.3ds", [](ThreeDsBuilder& file) {
        file.addMaterial("red", {1, 0, 0}, {0, 0, 0}, 0);
        MeshData mesh = slab(4, 0.5f, "red");
        mesh.frame = Affine::translate({30, -7, 2});  // the stored points are far away
        file.addMesh("slab", mesh);
        ThreeDsBuilder::Node node(0, ThreeDsBuilder::kNoParent, "slab");
        node.position = {0, 0, -20};
        node.degrees = 90;  // upright, turned counter-clockwise as by glRotatef
        // Taken off in the node's turned frame, where its y is the view's -x.
        node.pivot = {0, -2, 0};
        file.addNode(node);
    });
    Model model(path.c_str());
    glLoadIdentity();
    const auto top = projected(-2, 3.8f, -20);
    const auto bottom = projected(-2, -3.8f, -20);
    const auto unpivoted = projected(0, 0, -20);
    const auto clockwise = projected(2, 0, -20);
    model.draw(0);
    EXPECT_TRUE(isRed(pixelAt(top[0], top[1])));
    EXPECT_TRUE(isRed(pixelAt(bottom[0], bottom[1])));
    EXPECT_TRUE(isBlack(pixelAt(unpivoted[0], unpivoted[1])));
    EXPECT_TRUE(isBlack(pixelAt(clockwise[0], clockwise[1])));
}

TEST_F(ModelTest, PlainFillsAndWireOutlinesEachFace) {
    const std::string path = writeTestFile("square.3ds", [](ThreeDsBuilder& file) {
        file.addMaterial("red", {1, 0, 0}, {0, 0, 0}, 0);
        file.addMesh("square", slab(4, 4, "red"));
        ThreeDsBuilder::Node node(0, ThreeDsBuilder::kNoParent, "square");
        node.position = {0, 0, -20};
        file.addNode(node);
    });
    Model model(path.c_str());
    const auto corner = [] {
        glLoadIdentity();
        return projected(-4, -4, -20);
    }();
    const int edgeX = corner[0] + 1;  // one pixel inside the left edge
    model.draw(0);
    EXPECT_TRUE(isRed(pixelAt(320, 200)));
    EXPECT_TRUE(isRed(pixelAt(edgeX, 240)));

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    model.shaders.selectWire();
    glLoadIdentity();
    model.draw(0);
    EXPECT_TRUE(isBlack(pixelAt(320, 200)));
    int lit = 0;
    for (int x = edgeX - 3; x <= edgeX + 3; ++x) lit += isRed(pixelAt(x, 240)) ? 1 : 0;
    EXPECT_GT(lit, 0);
}

TEST_F(ModelTest, GroupNodesAreNotDrawnButTheirChildrenAre) {
    const std::string path = writeTestFile("group.3ds", [](ThreeDsBuilder& file) {
        // A mesh that is named like a group: only the group rule keeps it out.
        file.addMesh("$$$DUMMY", slab(1, 1, ""));
        file.addMesh("child", slab(1, 1, ""));
        file.addNode({0, ThreeDsBuilder::kNoParent, "$$$DUMMY", "group"});
        file.addNode({1, 0, "child"});
    });
    Model model(path.c_str());
    EXPECT_EQ(countDrawnTriangles(model), 2);
}

TEST_F(ModelTest, CameraAndLightNodesAreWalkedButNotDrawn) {
    const std::string path = writeTestFile("camera.3ds", [](ThreeDsBuilder& file) {
        file.addMesh("eye", slab(1, 1, ""));   // a mesh named like the camera
        file.addMesh("lamp", slab(1, 1, ""));  // and one like the light
        file.addMesh("child", slab(1, 1, ""));
        file.addMesh("below", slab(1, 1, ""));
        ThreeDsBuilder::Node camera(0, ThreeDsBuilder::kNoParent, "eye");
        camera.type = LIB3DS_CAMERA_NODE;
        ThreeDsBuilder::Node light(1, ThreeDsBuilder::kNoParent, "lamp");
        light.type = LIB3DS_LIGHT_NODE;
        file.addNode(camera);
        file.addNode(light);
        file.addNode({2, 0, "child"});
        file.addNode({3, 1, "below"});
    });
    Model model(path.c_str());
    EXPECT_EQ(countDrawnTriangles(model), 4);
}

TEST_F(ModelTest, AMaterialsShininessBecomesAnExponentOfAtMost128) {
    const struct {
        float shininess;
        float exponent;
    } cases[] = {{0.0f, 1.0f}, {0.5f, 32.0f}, {0.7f, 128.0f}, {1.0f, 128.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shininess);
        const std::string path = writeTestFile("shiny.3ds", [&](ThreeDsBuilder& file) {
            file.addMaterial("shiny", {0.2f, 0.4f, 0.6f}, {1.0f, 0.8f, 0.6f}, c.shininess);
            file.addMesh("slab", slab(1, 1, "shiny"));
            file.addNode({0, ThreeDsBuilder::kNoParent, "slab"});
        });
        Model model(path.c_str());
        glMaterialf(GL_FRONT, GL_SHININESS, 7.0f);
        glLoadIdentity();
        model.draw(0);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));  // OpenGL refuses exponents above 128
        EXPECT_FLOAT_EQ(frontMaterial(GL_SHININESS)[0], c.exponent);
        // Colours are kept as bytes in the file.
        const auto diffuse = frontMaterial(GL_DIFFUSE);
        EXPECT_NEAR(diffuse[0], 0.2f, 1.0f / 255);
        EXPECT_NEAR(diffuse[2], 0.6f, 1.0f / 255);
        EXPECT_NEAR(frontMaterial(GL_SPECULAR)[1], 0.8f, 1.0f / 255);
        EXPECT_EQ(frontMaterial(GL_AMBIENT), (std::array<GLfloat, 4>{0, 0, 0, 1}));
    }
}

TEST_F(ModelTest, AFaceWithoutAKnownMaterialIsDefaultGrey) {
    for (const char* material : {"", "nosuch"}) {
        SCOPED_TRACE(material);
        const std::string path = writeTestFile("grey.3ds", [&](ThreeDsBuilder& file) {
            file.addMaterial("other", {1, 0, 0}, {1, 1, 1}, 0.5f);
            file.addMesh("slab", slab(1, 1, material));
            file.addNode({0, ThreeDsBuilder::kNoParent, "slab"});
        });
        Model model(path.c_str());
        glMaterialf(GL_FRONT, GL_SHININESS, 50.0f);
        glLoadIdentity();
        model.draw(0);
        EXPECT_EQ(frontMaterial(GL_AMBIENT), (std::array<GLfloat, 4>{0.2f, 0.2f, 0.2f, 1}));
        EXPECT_EQ(frontMaterial(GL_DIFFUSE), (std::array<GLfloat, 4>{0.8f, 0.8f, 0.8f, 1}));
        EXPECT_EQ(frontMaterial(GL_SPECULAR), (std::array<GLfloat, 4>{0, 0, 0, 1}));
        EXPECT_EQ(frontMaterial(GL_SHININESS)[0], 50.0f);  // left as it was
    }
}

// The renderers' private copy of the first top-level node keeps its own list,
// so switching back never compiles it again; every other node's list lives
// in the file and is forgotten on each switch, children included.
TEST_F(ModelTest, SwitchingRenderersRecompilesAllButTheFirstTopLevelNode) {
    const std::string path = writeTestFile("three.3ds", [](ThreeDsBuilder& file) {
        for (const char* name : {"a", "b", "c"}) file.addMesh(name, slab(1, 1, ""));
        file.addNode({0, ThreeDsBuilder::kNoParent, "a"});
        file.addNode({1, 0, "b"});
        file.addNode({2, ThreeDsBuilder::kNoParent, "c"});
    });
    Model model(path.c_str());
    Lib3dsNode* a = model.getFile()->nodes;
    ASSERT_STREQ(a->name, "a");
    Lib3dsNode* b = a->childs;
    Lib3dsNode* c = a->next;
    glLoadIdentity();
    model.draw(0);
    const GLuint plainList = c->user.d;
    EXPECT_NE(b->user.d, 0u);
    EXPECT_NE(plainList, 0u);
    EXPECT_EQ(a->user.d, 0u);  // drawn from the plain renderer's copy

    model.shaders.setEnvMapTexture(writeTestJpg("plain.jpg", 8, 8, [](int, int) {
                                       return std::array<unsigned char, 3>{200, 200, 200};
                                   }).c_str());
    model.shaders.selectEnvMap();
    EXPECT_EQ(b->user.d, 0u);
    EXPECT_EQ(c->user.d, 0u);
    model.draw(0);
    EXPECT_NE(c->user.d, 0u);
    EXPECT_NE(c->user.d, plainList);
    EXPECT_TRUE(glIsList(plainList));  // abandoned, not deleted

    const GLuint before = glGenLists(1);
    model.shaders.selectPlain();
    model.draw(0);
    const GLuint after = glGenLists(1);
    EXPECT_EQ(after - before, 1u + 2u);  // b and c again, not a
    EXPECT_EQ(countDrawnTriangles(model), 6);
}

namespace {

// A map whose middle is blue and whose rim is yellow: a face turned straight
// to the viewer reflects the middle of a sphere map.
std::string blueEyedMap() {
    return writeTestJpg("blue-eyed.jpg", 64, 64, [](int x, int y) {
        const bool middle = x >= 16 && x < 48 && y >= 16 && y < 48;
        return middle ? std::array<unsigned char, 3>{0, 0, 255} : std::array<unsigned char, 3>{255, 255, 0};
    });
}

std::string whiteSquareFile() {
    return writeTestFile("white-square.3ds", [](ThreeDsBuilder& file) {
        file.addMaterial("white", {1, 1, 1}, {0, 0, 0}, 0);
        file.addMesh("square", slab(4, 4, "white"));
        ThreeDsBuilder::Node node(0, ThreeDsBuilder::kNoParent, "square");
        node.position = {0, 0, -20};
        file.addNode(node);
    });
}

}  // namespace

TEST_F(ModelTest, TheEnvMapRendererReflectsItsMapAndLeavesTexturingOn) {
    Model model(whiteSquareFile().c_str());
    model.shaders.setEnvMapTexture(blueEyedMap().c_str());
    model.shaders.selectEnvMap();
    glLoadIdentity();
    model.draw(0);
    const auto middle = pixelAt(320, 240);
    EXPECT_LT(middle[0], 60);
    EXPECT_LT(middle[1], 60);
    EXPECT_GT(middle[2], 180);

    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), model.shaders.getEnvMap()->getTexture().getName());
    GLint mode = 0;
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &mode);
    EXPECT_EQ(mode, GL_SPHERE_MAP);
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &mode);
    EXPECT_EQ(mode, GL_SPHERE_MAP);

    // The plain renderer switches texturing off again: a white face.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    model.shaders.selectPlain();
    glLoadIdentity();
    model.draw(0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    const auto white = pixelAt(320, 240);
    EXPECT_GT(white[0], 240);
    EXPECT_GT(white[2], 240);
}

TEST_F(ModelTest, AMissingEnvMapEndsTheShowWithTheReadersMessage) {
    Model model(whiteSquareFile().c_str());
    EXPECT_FATAL_EXIT(model.shaders.setEnvMapTexture("ting\\gone.jpg"), "Unable to load JPG File!\n");
}

TEST_F(ModelTest, ClonesAreNewRenderersOfTheSameKind) {
    CPlainShader plain;
    const std::unique_ptr<CShader> plainCopy = plain.clone();
    EXPECT_NE(plainCopy.get(), static_cast<CShader*>(&plain));
    EXPECT_NE(dynamic_cast<CPlainShader*>(plainCopy.get()), nullptr);
    CWireShader wire;
    EXPECT_NE(dynamic_cast<CWireShader*>(wire.clone().get()), nullptr);

    // An environment-mapped clone loads its map again, into a texture of its own.
    const std::string map = blueEyedMap();
    CEnvMapShader mapped(map.c_str());
    const std::unique_ptr<CShader> copy = mapped.clone();
    auto* mappedCopy = dynamic_cast<CEnvMapShader*>(copy.get());
    ASSERT_NE(mappedCopy, nullptr);
    EXPECT_NE(mappedCopy->getTexture().getName(), 0u);
    EXPECT_NE(mappedCopy->getTexture().getName(), mapped.getTexture().getName());
    EXPECT_EQ(mappedCopy->getTexture().getFormat(), TextureFormat::Jpg);

    // One given its map later clones with that map; one without any, without.
    CEnvMapShader later;
    EXPECT_EQ(dynamic_cast<CEnvMapShader&>(*later.clone()).getTexture().getName(), 0u);
    later.setTexture(map.c_str());
    EXPECT_NE(dynamic_cast<CEnvMapShader&>(*later.clone()).getTexture().getName(), 0u);
}

TEST_F(ModelTest, TwoModelsOfOneFileAreIndependent) {
    SKIP_WITHOUT_TESTDATA();
    const std::string path = testdata("online3dviewer/cube_hierarchy.3ds");
    Model a(path.c_str());
    Model b(path.c_str());
    EXPECT_NE(a.getFile(), b.getFile());
    EXPECT_NE(a.shaders.getPlain(), b.shaders.getPlain());
    glLoadIdentity();
    a.draw(0);
    EXPECT_NE(a.getFile()->nodes->childs->user.d, 0u);
    EXPECT_EQ(b.getFile()->nodes->childs->user.d, 0u);
    a.shaders.selectWire();
    EXPECT_EQ(b.getShader(), static_cast<CShader*>(b.shaders.getPlain()));
    EXPECT_EQ(countDrawnTriangles(b), 96);
}

TEST(ModelClosingLine, EachModelWithAnOwnerSignsOffOnce) {
    SKIP_WITHOUT_TESTDATA();
    testsupport::GlContext context(16, 16);
    ::testing::internal::CaptureStdout();
    {
        ShaderSet unowned;
        Model first(testdata("assimp/RotatingCube.3DS").c_str());
        Model second(testdata("assimp/RotatingCube.3DS").c_str());
    }
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "what to do? I exit!!\nwhat to do? I exit!!\n");
}

// As in the show: models built as globals, then a later file missing. The
// process ends with the load message, each model built so far signs off on
// the way out, and the exit code stays 0.
TEST(ModelClosingLine, AFatalExitLetsEveryBuiltModelSignOff) {
    SKIP_WITHOUT_TESTDATA();
    const std::string cube = testdata("assimp/RotatingCube.3DS");
    EXPECT_FATAL_EXIT(
        {
            static Model first(cube.c_str());
            static Model second(cube.c_str());
            static Model missing("demoMesh\\gone.3ds");
        },
        "sorry but could not load demoMesh\\gone.3ds must therfor exit!\n"
        "what to do? I exit!!\nwhat to do? I exit!!\n");
}
