#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "GlCallLog.h"
#include "GlContext.h"
#include "TestData.h"
#include "effects/SkyBox.h"

namespace {

const std::string jpgs = testsupport::testDataPath("jpg/");

// Names bound with glBindTexture, and glBegin count, inside the display list
// being compiled (inList) or outside it.
std::vector<double> bound(bool inList) {
    std::vector<double> names;
    bool compiling = false;
    for (const auto& call : glcalls::log()) {
        compiling = call.name == "glNewList" || (compiling && call.name != "glEndList");
        if (call.name == "glBindTexture" && compiling == inList) names.push_back(call.args[1]);
    }
    return names;
}

int begins(bool inList) {
    int count = 0;
    bool compiling = false;
    for (const auto& call : glcalls::log()) {
        compiling = call.name == "glNewList" || (compiling && call.name != "glEndList");
        count += call.name == "glBegin" && compiling == inList;
    }
    return count;
}

// Pixels something was drawn on: the depth buffer no longer holds the clear value.
int coveredPixels() {
    std::vector<GLfloat> depth(640 * 480);
    glReadPixels(0, 0, 640, 480, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    int covered = 0;
    for (GLfloat d : depth) covered += d < 1.0f;
    return covered;
}

template <typename Draw>
void logged(Draw draw) {
    glcalls::start();
    draw();
    glcalls::stop();
}

class SkyBoxTest : public testsupport::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        clearShowView();
        glEnable(GL_DEPTH_TEST);  // as the show's start-up leaves it
    }

    SkyBoxScroll scroll;  // what the boxes of one show share
};

}  // namespace

TEST_F(SkyBoxTest, FirstDrawCompilesAndDrawsLaterDrawsReplayTheList) {
    SKIP_WITHOUT_TESTDATA();
    SkyBox box{scroll};
    void (SkyBox::*loaders[6])(const char*) = {&SkyBox::loadTexturePlusZ,  &SkyBox::loadTexturePlusX,
                                               &SkyBox::loadTextureMinusZ, &SkyBox::loadTextureMinusX,
                                               &SkyBox::loadTextureBottom, &SkyBox::loadTextureTop};
    std::vector<double> slot;  // each load leaves its texture bound, which names the slot
    for (auto load : loaders) {
        logged([&] { (box.*load)((jpgs + "jpeg-decoder/jpg-size-16x16.jpg").c_str()); });
        slot.push_back(bound(false).back());
    }
    box.setWidth(20);
    box.setHeight(20);
    box.setDepth(20);

    logged([&] { box.draw(); });
    ASSERT_NE(box.getDisplayList(), 0u);
    EXPECT_EQ(glcalls::count("glGenLists"), 1);
    EXPECT_EQ(glcalls::named("glNewList").at(0).args[0], box.getDisplayList());
    EXPECT_EQ(glcalls::named("glNewList").at(0).args[1], GL_COMPILE);
    // Five faces in the list (-z, +x, +z, -x, bottom), replayed at once; the top after it.
    EXPECT_EQ(bound(true), (std::vector<double>{slot[2], slot[1], slot[0], slot[3], slot[4]}));
    EXPECT_EQ(begins(true), 5);
    EXPECT_EQ(glcalls::named("glCallList").at(0).args[0], box.getDisplayList());
    EXPECT_EQ(bound(false), std::vector<double>{slot[5]});
    EXPECT_EQ(begins(false), 1);
    EXPECT_EQ(coveredPixels(), 640 * 480);  // from inside, the box fills the view

    logged([&] { box.draw(); });
    EXPECT_EQ(glcalls::count("glNewList") + glcalls::count("glGenLists"), 0);
    EXPECT_EQ(glcalls::named("glCallList").at(0).args[0], box.getDisplayList());
    EXPECT_EQ(glcalls::count("glBegin"), 1);
}

TEST_F(SkyBoxTest, TopThatDoesNotScrollIsCompiledWithTheOtherFaces) {
    SkyBox box{scroll};
    box.setScrollingTop(false);
    box.setTopScrollSpeed(50);
    logged([&] {
        box.draw();
        box.draw();
    });
    EXPECT_EQ(begins(true), 6);
    EXPECT_EQ(begins(false), 0);
    EXPECT_EQ(glcalls::count("glCallList"), 2);
}

TEST_F(SkyBoxTest, DrawEndsWithCullingOnAndTheIdentityModelview) {
    SkyBox box{scroll};
    box.setPosition(1, 2, 3);
    glDisable(GL_CULL_FACE);
    glTranslatef(4, 5, 6);
    glRotatef(30, 0, 1, 0);
    box.draw();
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    std::array<GLfloat, 16> modelview{};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview.data());
    EXPECT_EQ(modelview, (std::array<GLfloat, 16>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
}

TEST_F(SkyBoxTest, BoxesShareTheTopScrollAndTheFaceOffsets) {
    SkyBox room{scroll}, cube{scroll};
    room.setTopScrollSpeed(50);
    room.setTextureStepV(5);
    cube.setTopScrollSpeed(20);
    // The t coordinate of the first vertex compiled and of the last one sent,
    // (0, o) on a scrolling top.
    std::vector<double> faceT, topT;
    for (SkyBox* box : {&room, &cube, &room}) {
        logged([&] { box->draw(); });
        if (glcalls::count("glNewList")) faceT.push_back(glcalls::named("glTexCoord2d").front().args[1]);
        topT.push_back(glcalls::named("glTexCoord2d").back().args[1]);
    }
    // Each scrolling box moves the one shared offset by its own speed / 5000.
    EXPECT_NEAR(topT[1] - topT[0], 50.0 / 5000, 1e-6);
    EXPECT_NEAR(topT[2] - topT[1], 20.0 / 5000, 1e-6);
    // The room's step came after its own faces, so the cube's faces sit 5 higher.
    ASSERT_EQ(faceT.size(), 2u);
    EXPECT_NEAR(faceT[1] - faceT[0], 5.0, 1e-6);
}

TEST_F(SkyBoxTest, NewSizeAppliesToABoxAlreadyCompiled) {
    SkyBox box{scroll};
    // 10 units in front of the eye, which the show's view puts at z = -10.
    box.setPosition(0, 0, -20);
    // A draw ends on an identity modelview; the scenes keep their view by
    // pushing around it, and so both draws here see the same one.
    const auto drawInView = [&] {
        glPushMatrix();
        box.draw();
        glPopMatrix();
    };
    drawInView();
    const int small = coveredPixels();
    EXPECT_GT(small, 1000);
    glClear(GL_DEPTH_BUFFER_BIT);
    box.setWidth(3);
    box.setHeight(2);
    logged(drawInView);
    EXPECT_EQ(glcalls::count("glNewList"), 0);
    EXPECT_NEAR(coveredPixels(), 6.0 * small, 0.5 * small);  // three times as wide, twice as high
}

TEST_F(SkyBoxTest, BoxesAsTheScenesSetThemUp) {
    SKIP_WITHOUT_TESTDATA();
    // Stand-ins for the show's pictures: chess, black, env1, sky and grass.
    const std::string chess = jpgs + "libjpeg-turbo/testorig.jpg", black = jpgs + "jpeg-decoder/jpg-gray.jpg",
                      env = jpgs + "jpeg-decoder/progressive3.jpg", sky = jpgs + "pillow/hopper.jpg",
                      grass = jpgs + "pillow/app13-multiple.jpg";
    struct Configured {
        const char* name;
        float width, height, depth, speed, stepV;
        std::string sides, top, bottom;
        bool afterPeasants;  // light 0 on and light 1 with white ambient, as from that cue on
    };
    const Configured boxes[3] = {{"chess-room", 20, 20, 20, 50, 5, black, black, chess, false},
                                 {"chess-cube", 20, 20, 20, 0, 0, chess, chess, chess, true},
                                 {"ship-sky", 200, 100, 300, 20, 0, env, sky, grass, true}};
    for (const Configured& c : boxes) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SkyBox box{scroll};
        box.setDepth(c.depth);
        box.setHeight(c.height);
        box.setWidth(c.width);
        for (auto load : {&SkyBox::loadTextureMinusZ, &SkyBox::loadTexturePlusZ, &SkyBox::loadTextureMinusX,
                          &SkyBox::loadTexturePlusX}) {
            (box.*load)(c.sides.c_str());
        }
        box.loadTextureTop(c.top.c_str());
        box.loadTextureBottom(c.bottom.c_str());
        box.setTextureStepV(c.stepV);
        box.setTopScrollSpeed(c.speed);

        const GLfloat white[4] = {1, 1, 1, 1}, black4[4] = {0, 0, 0, 1};
        const GLfloat light1At[4] = {0, 40, -10, 1}, light0At[4] = {0, 50, 0, 1};
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT1);
        glLightfv(GL_LIGHT1, GL_AMBIENT, c.afterPeasants ? white : black4);
        glLightfv(GL_LIGHT1, GL_POSITION, light1At);
        if (c.afterPeasants) glEnable(GL_LIGHT0);
        glLightfv(GL_LIGHT0, GL_POSITION, light0At);

        glPushMatrix();
        if (c.afterPeasants) {  // centred on the viewer, tumbling
            glTranslatef(0, 0, c.width > 100 ? -50 : 0);
            glRotatef(200, std::sin(2.0), std::cos(0.4), std::cos(200 / 150.0));
        } else {  // the board view, looking down at the floor
            glRotatef(65, 1, 0, 0);
            glTranslatef(0, -20, -10);
            glRotatef(30, 0, 1, 0);
            glTranslatef(0, 18, 0);
        }
        box.draw();
        glPopMatrix();
        testsupport::saveFramePng(MARROWICK_BINARY_DIR "/test-screenshots/skybox-" + std::string(c.name) + ".png",
                                  kWidth, kHeight);
        EXPECT_EQ(coveredPixels(), 640 * 480) << c.name;
        // The room's faces point away from the light inside it, so until the
        // peasants cue only the scene's ambient light shows it: a dim room.
        const auto centre = testsupport::pixelAt(320, 400);
        EXPECT_GT(centre[0] + centre[1] + centre[2], c.afterPeasants ? 60 : 5) << c.name;
    }
}

TEST_F(SkyBoxTest, ABoxPutBackToBeforeItsFirstDrawCompilesAgain) {
    // A seek back to the start puts every box as it was then: the room not
    // yet compiled, the shared offsets not yet moved on by its compile.
    SkyBox room{scroll}, cube{scroll};
    room.setTextureStepV(5);
    const SkyBoxScroll before = scroll;
    const bool roomCompiledBefore = room.isCompiled();
    room.draw();
    scroll = before;
    room.setCompiled(roomCompiledBefore);
    // So the room compiles again and the cube, compiled after it for the
    // first time, still sits 5 higher.
    std::vector<double> faceT;
    for (SkyBox* box : {&room, &cube}) {
        logged([&] { box->draw(); });
        if (glcalls::count("glNewList")) faceT.push_back(glcalls::named("glTexCoord2d").front().args[1]);
    }
    ASSERT_EQ(faceT.size(), 2u);
    EXPECT_NEAR(faceT[1] - faceT[0], 5.0, 1e-6);
}
