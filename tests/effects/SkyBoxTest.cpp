#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "GlCallLog.h"
#include "GlContext.h"
#include "effects/SkyBox.h"

using testsupport::GlTest;

namespace {

// The calls between glNewList and glEndList, and those after it.
struct Split {
    std::vector<glcalls::Call> compiled, replayed;
};

Split splitAtList() {
    Split split;
    bool inList = false;
    for (const auto& call : glcalls::log()) {
        if (call.name == "glNewList") inList = true;
        if (call.name == "glEndList") inList = false;
        (inList ? split.compiled : split.replayed).push_back(call);
    }
    return split;
}

int countOf(const std::vector<glcalls::Call>& calls, const char* name) {
    int n = 0;
    for (const auto& call : calls) n += call.name == name;
    return n;
}

std::vector<double> boundNames(const std::vector<glcalls::Call>& calls) {
    std::vector<double> names;
    for (const auto& call : calls) {
        if (call.name == "glBindTexture") names.push_back(call.args[1]);
    }
    return names;
}

// The t coordinate of the last vertex sent: (0, o) on a scrolling top.
double lastT() { return glcalls::named("glTexCoord2d").back().args[1]; }

// Pixels something was drawn on: the depth buffer no longer holds the clear value.
int coveredPixels() {
    std::vector<GLfloat> depth(640 * 480);
    glReadPixels(0, 0, 640, 480, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    int covered = 0;
    for (GLfloat d : depth) covered += d < 1.0f;
    return covered;
}

class SkyBoxTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        setShowProjection();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);  // as the show's start-up leaves it
    }
};

}  // namespace

TEST_F(SkyBoxTest, FirstDrawCompilesAndDrawsLaterDrawsReplayTheList) {
    SkyBox box;
    // Each load leaves its texture bound, which tells us the slot's name.
    const char* files[6] = {"jpg-size-16x16.jpg", "jpg-size-31x31.jpg", "jpg-size-33x33.jpg",
                            "jpg-gray.jpg",       "restarts.jpg",       "jpg-size-17x17.jpg"};
    void (SkyBox::*loaders[6])(const char*) = {&SkyBox::loadTexturePlusZ,  &SkyBox::loadTexturePlusX,
                                               &SkyBox::loadTextureMinusZ, &SkyBox::loadTextureMinusX,
                                               &SkyBox::loadTextureBottom, &SkyBox::loadTextureTop};
    std::vector<double> slot;
    for (int i = 0; i < 6; ++i) {
        glcalls::start();
        (box.*loaders[i])((std::string(MARROWICK_TESTDATA_DIR "/jpg/jpeg-decoder/") + files[i]).c_str());
        glcalls::stop();
        slot.push_back(boundNames(glcalls::log()).back());
    }
    box.setWidth(20);
    box.setHeight(20);
    box.setDepth(20);

    glcalls::start();
    box.draw();
    glcalls::stop();
    const Split first = splitAtList();
    ASSERT_NE(box.getDisplayList(), 0u);
    EXPECT_EQ(countOf(first.replayed, "glGenLists"), 1);
    EXPECT_EQ(glcalls::named("glNewList").at(0).args[0], box.getDisplayList());
    EXPECT_EQ(glcalls::named("glNewList").at(0).args[1], GL_COMPILE);
    // Five faces in the list, in the order -z, +x, +z, -x, bottom; the top after it.
    EXPECT_EQ(countOf(first.compiled, "glBegin"), 5);
    EXPECT_EQ(boundNames(first.compiled), (std::vector<double>{slot[2], slot[1], slot[0], slot[3], slot[4]}));
    EXPECT_EQ(glcalls::named("glCallList").at(0).args[0], box.getDisplayList());
    EXPECT_EQ(countOf(first.replayed, "glBegin"), 1);
    EXPECT_EQ(boundNames(first.replayed), std::vector<double>{slot[5]});
    // From inside, the box fills the whole view.
    EXPECT_EQ(coveredPixels(), 640 * 480);

    glcalls::start();
    box.draw();
    glcalls::stop();
    EXPECT_EQ(glcalls::count("glNewList"), 0);
    EXPECT_EQ(glcalls::count("glGenLists"), 0);
    EXPECT_EQ(glcalls::named("glCallList").at(0).args[0], box.getDisplayList());
    EXPECT_EQ(glcalls::count("glBegin"), 1);
}

TEST_F(SkyBoxTest, TopThatDoesNotScrollIsCompiledWithTheOtherFaces) {
    SkyBox box;
    box.setScrollingTop(false);
    box.setTopScrollSpeed(50);
    glcalls::start();
    box.draw();
    box.draw();
    glcalls::stop();
    const Split split = splitAtList();
    EXPECT_EQ(countOf(split.compiled, "glBegin"), 6);
    EXPECT_EQ(countOf(split.replayed, "glBegin"), 0);
    EXPECT_EQ(countOf(split.replayed, "glCallList"), 2);
}

TEST_F(SkyBoxTest, DrawEndsWithCullingOnAndTheIdentityModelview) {
    SkyBox box;
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
    SkyBox room, cube;
    room.setTopScrollSpeed(50);
    room.setTextureStepV(5);
    cube.setTopScrollSpeed(20);

    glcalls::start();
    room.draw();
    const double roomFaceT = glcalls::named("glTexCoord2d").at(0).args[1];
    const double first = lastT();
    cube.draw();
    const double second = lastT();
    room.draw();
    const double third = lastT();
    glcalls::stop();

    // Each scrolling box moves the one shared offset by its own speed / 5000.
    EXPECT_NEAR(second - first, 50.0 / 5000, 1e-6);
    EXPECT_NEAR(third - second, 20.0 / 5000, 1e-6);
    // The room's step was added after its faces were compiled, so the cube's
    // faces, compiled later, sit 5 higher.
    const auto lists = glcalls::named("glNewList");
    ASSERT_EQ(lists.size(), 2u);
    double cubeT = 0;
    bool inCube = false;
    for (const auto& call : glcalls::log()) {
        if (call.name == "glNewList") inCube = call.args[0] == lists[1].args[0];
        if (inCube && call.name == "glTexCoord2d") {
            cubeT = call.args[1];
            break;
        }
    }
    EXPECT_NEAR(cubeT - roomFaceT, 5.0, 1e-6);
}

TEST_F(SkyBoxTest, NewSizeAppliesToABoxAlreadyCompiled) {
    SkyBox box;
    box.setPosition(0, 0, -10);
    glDisable(GL_LIGHTING);
    box.draw();
    const int small = coveredPixels();
    EXPECT_GT(small, 0);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    box.setWidth(3);
    box.setHeight(2);
    glDisable(GL_LIGHTING);
    glcalls::start();
    box.draw();
    glcalls::stop();
    EXPECT_EQ(glcalls::count("glNewList"), 0);
    // Three times as wide and twice as high on screen.
    EXPECT_NEAR(coveredPixels(), 6.0 * small, 0.5 * small);
}

namespace {

// Stand-ins for the show's pictures, from the shared real files.
const std::string jpgDir = MARROWICK_TESTDATA_DIR "/jpg/";
const std::string floorPicture = jpgDir + "libjpeg-turbo/testorig.jpg";  // "chess.jpg"
const std::string wallPicture = jpgDir + "jpeg-decoder/jpg-gray.jpg";     // "black.jpg"
const std::string sidePicture = jpgDir + "jpeg-decoder/progressive3.jpg"; // "env1.jpg"
const std::string skyPicture = jpgDir + "pillow/hopper.jpg";              // "sky.jpg"
const std::string grassPicture = jpgDir + "pillow/app13-multiple.jpg";    // "grass.jpg"

// The lights as the show has them: light 1 from start-up; after the chess
// scene's peasants cue light 1 also gives white ambient light and light 0 is
// on, for the rest of the show.
void showLights(bool afterPeasants) {
    glLoadIdentity();
    glEnable(GL_LIGHTING);
    const GLfloat white[4] = {1, 1, 1, 1}, black[4] = {0, 0, 0, 1};
    const GLfloat light1At[4] = {0, 40, -10, 1}, light0At[4] = {0, 50, 0, 1};
    glEnable(GL_LIGHT1);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT1, GL_SPECULAR, white);
    glLightfv(GL_LIGHT1, GL_AMBIENT, afterPeasants ? white : black);
    glLightfv(GL_LIGHT1, GL_POSITION, light1At);
    if (afterPeasants) {
        glEnable(GL_LIGHT0);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
        glLightfv(GL_LIGHT0, GL_SPECULAR, white);
        glLightfv(GL_LIGHT0, GL_POSITION, light0At);
    }
}

void tumble(float t) { glRotatef(t, std::sin(t / 100.0), std::cos(t / 500.0), std::cos(t / 150.0)); }

double meanBrightness(int x0, int y0, int x1, int y1) {
    double sum = 0;
    for (int y = y0; y < y1; y += 4)
        for (int x = x0; x < x1; x += 4) {
            const auto p = testsupport::pixelAt(x, y);
            sum += (p[0] + p[1] + p[2]) / 3.0;
        }
    return sum / (((x1 - x0 + 3) / 4) * ((y1 - y0 + 3) / 4));
}

}  // namespace

TEST_F(SkyBoxTest, ChessRoomSeenFromTheBoardView) {
    SkyBox room;
    room.setDepth(20);
    room.setHeight(20);
    room.setWidth(20);
    room.loadTextureMinusZ(wallPicture.c_str());
    room.loadTexturePlusZ(wallPicture.c_str());
    room.loadTextureBottom(floorPicture.c_str());
    room.loadTextureMinusX(wallPicture.c_str());
    room.loadTexturePlusX(wallPicture.c_str());
    room.loadTextureTop(wallPicture.c_str());
    room.setTextureStepV(5);
    room.setTopScrollSpeed(50);
    room.setScrollingTop(true);
    showLights(false);

    glRotatef(65, 1, 0, 0);
    glTranslatef(0, 0, -10);
    glTranslatef(0, -20, 0);
    glPushMatrix();
    glRotatef(30, 0, 1, 0);
    glTranslatef(0, 18, 0);
    room.draw();
    glPopMatrix();
    testsupport::saveFramePng(MARROWICK_BINARY_DIR "/test-screenshots/skybox-chess-room.png", kWidth, kHeight);
    // Looking down at the floor; the room encloses the whole view. Its faces
    // point outwards, away from the light inside, so before the peasants cue
    // only the scene's ambient light shows them: a dim room.
    EXPECT_EQ(coveredPixels(), 640 * 480);
    EXPECT_GT(meanBrightness(0, 240, 640, 480), 5);
}

TEST_F(SkyBoxTest, ChessCubeAndShipSkySurroundTheViewer) {
    struct Configured {
        const char* png;
        float width, height, depth, speed, distance;
        std::string sides, top, bottom;
    };
    const Configured boxes[2] = {
        {"skybox-chess-cube.png", 20, 20, 20, 0, 0, floorPicture, floorPicture, floorPicture},
        {"skybox-ship-sky.png", 200, 100, 300, 20, 50, sidePicture, skyPicture, grassPicture},
    };
    for (const Configured& c : boxes) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SkyBox box;
        box.setDepth(c.depth);
        box.setHeight(c.height);
        box.setWidth(c.width);
        box.setScrollingTop(true);
        box.setTopScrollSpeed(c.speed);
        box.loadTextureMinusZ(c.sides.c_str());
        box.loadTexturePlusZ(c.sides.c_str());
        box.loadTextureMinusX(c.sides.c_str());
        box.loadTexturePlusX(c.sides.c_str());
        box.loadTextureTop(c.top.c_str());
        box.loadTextureBottom(c.bottom.c_str());
        showLights(true);
        glPushMatrix();
        glTranslatef(0, 0, -c.distance);
        tumble(200);
        box.draw();
        glPopMatrix();
        testsupport::saveFramePng(std::string(MARROWICK_BINARY_DIR "/test-screenshots/") + c.png, kWidth, kHeight);
        EXPECT_EQ(coveredPixels(), 640 * 480) << c.png;
        EXPECT_GT(meanBrightness(0, 0, 640, 480), 40) << c.png;
    }
}
