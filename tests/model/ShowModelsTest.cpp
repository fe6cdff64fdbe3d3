#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "GlContext.h"
#include "PackContext.h"
#include "SceneViews.h"
#include "model/Light.h"
#include "model/Model.h"
#include "models/Models.h"
#include "render/RenderState.h"

using testsupport::GlTest;

namespace {

std::string packDir() {
    static const std::string dir = [] {
        PackContext pack;
        pack.outDir = std::filesystem::path(::testing::TempDir()) / "marrowick-models";
        writeModels(pack);
        return pack.outDir.string();
    }();
    return dir;
}

std::string model(const char* name) { return packDir() + "/demoMesh/" + name; }

void shot(const std::string& name) { testsupport::saveFramePng("model-shots/" + name + ".png", 640, 480); }

}  // namespace

class ShowModels : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        setShowProjection();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        resetRenderState();
    }
};

TEST_F(ShowModels, Preview) {
    Light first;
    Light second(1, 1, 1, 1, 1, 1, -4);
    showLights(first, second, false);
    Model queen(model("queen.3ds").c_str());
    boardView(30, 0, 0, true);
    queen.draw(0);
    shot("queen-board");

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    resetRenderState();
    boardView(30, -50, 14, true);
    queen.draw(0);
    shot("queen-rolled");

    Model king(model("king_h.3ds").c_str());
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    resetRenderState();
    boardView(30, 0, 0, true);
    king.draw(0);
    shot("king-board");

    Model pawn(model("pawn.3ds").c_str());
    for (int t : {2300, 2350, 2400, 2650, 2700, 3000}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        resetRenderState();
        peasantsView(static_cast<float>(t));
        pawn.draw(0);
        shot("pawn-" + std::to_string(t));
    }

    showLights(first, second, true);
    Model ship(model("ship_adv.3ds").c_str());
    for (int t : {0, 60, 200}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        resetRenderState();
        shipView(static_cast<float>(t));
        ship.draw(0);
        shot("ship-" + std::to_string(t));
    }

    Model speaker(model("spheaker.3ds").c_str());
    Model walker(model("luvshak.3ds").c_str());
    for (int chase : {15, 40, 90}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        resetRenderState();
        speakerView(-1);
        speaker.draw(0);
        speakerView(1);
        speaker.draw(0);
        walkerView(static_cast<float>(chase));
        walker.draw(0);
        alienShipView(60, 0);
        ship.draw(0);
        shot("alien-" + std::to_string(chase));
    }
    for (int turn : {90, 180}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        resetRenderState();
        walkerView(130);
        glRotatef(static_cast<float>(turn), 0, 0, 1);
        walker.draw(0);
        shot("walker-turned-" + std::to_string(turn));
    }
}
