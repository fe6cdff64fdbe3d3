#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "GlContext.h"
#include "ImageFiles.h"
#include "pack/PackContext.h"
#include "pack/pictures/PictureKit.h"
#include "render/JpgReader.h"
#include "render/Picture.h"
#include "render/Texture.h"
#include "render/TgaReader.h"

namespace fs = std::filesystem;
using testsupport::GlTest;
using testsupport::pixelAt;

namespace {

// Every picture of the pack, its file size and the rectangle the show draws
// it in (0 x 0 for pictures that are only tiled or mapped).
struct Planned {
    const char* file;
    int width, height;
    int screenWidth, screenHeight;
};

const Planned kPictures[] = {
    {"chess.jpg", 512, 512, 0, 0},
    {"black.jpg", 256, 256, 0, 0},
    {"env1.jpg", 512, 512, 0, 0},
    {"sky.jpg", 512, 512, 0, 0},
    {"grass.jpg", 512, 512, 0, 0},
    {"smoke.jpg", 128, 128, 0, 0},
    {"cockAttack.jpg", 256, 512, 183, 480},
    {"ting/kingThing.jpg", 256, 256, 0, 0},
    {"ting/blod.jpg", 256, 256, 0, 0},
    {"ting/queen.jpg", 1024, 512, 640, 480},
    {"ting/king.jpg", 1024, 512, 640, 480},
    {"ting/peasants.jpg", 1024, 512, 640, 480},
    {"ting/quillory.jpg", 128, 512, 100, 480},
    {"ting/gsg.jpg", 1024, 512, 640, 480},
    {"ting/applause.jpg", 1024, 128, 640, 100},
    {"ting/1337.jpg", 256, 512, 150, 480},
    {"ting/toon1.jpg", 128, 512, 100, 480},
    {"ting/toon2.jpg", 128, 512, 100, 480},
    {"ting/toon3.jpg", 128, 512, 100, 480},
    {"ting/boom.jpg", 1024, 512, 640, 480},
    {"ting/credits.jpg", 1024, 512, 640, 480},
    {"ting/salute.jpg", 1024, 512, 640, 480},
    {"ting/watgsg512_inv.tga", 512, 512, 0, 0},
};

std::string packFile(const std::string& name) { return std::string(MARROWICK_PACK_DIR) + "/" + name; }

bool powerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

struct Levels {
    double mean = 0;
    double deviation = 0;
};

Levels luminance(const ImageData& image) {
    double sum = 0;
    double squares = 0;
    const std::size_t count = image.pixels.size() / image.components;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = image.pixels.data() + i * image.components;
        const double y = 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2];
        sum += y;
        squares += y * y;
    }
    const double mean = sum / count;
    return {mean, std::sqrt(std::max(0.0, squares / count - mean * mean))};
}

std::vector<std::uint8_t> fileBytes(const fs::path& path) { return testsupport::readBytes(path.string()); }

}  // namespace

TEST(PackPictures, EveryPictureIsThereAtItsPowerOfTwoSizeAndNotFlat) {
    for (const Planned& planned : kPictures) {
        SCOPED_TRACE(planned.file);
        const std::string path = packFile(planned.file);
        const bool tga = fs::path(path).extension() == ".tga";
        std::optional<ImageData> image;
        if (tga) {
            const std::vector<std::uint8_t> bytes = fileBytes(path);
            image = decodeTga(bytes.data(), bytes.size());
        } else {
            image = loadJpg(path.c_str());
        }
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width, planned.width);
        EXPECT_EQ(image->height, planned.height);
        EXPECT_TRUE(powerOfTwo(image->width) && powerOfTwo(image->height));
        EXPECT_EQ(image->components, tga ? 4 : 3);
        const Levels levels = luminance(*image);
        EXPECT_GT(levels.deviation, 1.5) << "a flat picture";
    }
    // The dark room stays dark: near black with only a little texture.
    const auto black = loadJpg(packFile("black.jpg").c_str());
    ASSERT_TRUE(black);
    EXPECT_LT(luminance(*black).mean, 30);
}

TEST(PackPictures, LogoTgaIsRunLengthWithRealTransparency) {
    const std::vector<std::uint8_t> bytes = fileBytes(packFile("ting/watgsg512_inv.tga"));
    ASSERT_GT(bytes.size(), 18u);
    EXPECT_EQ(bytes[2], 10);
    EXPECT_EQ(bytes[16], 32);
    const auto image = decodeTga(bytes.data(), bytes.size());
    ASSERT_TRUE(image);
    std::size_t clear = 0, solid = 0;
    for (std::size_t i = 3; i < image->pixels.size(); i += 4) {
        clear += image->pixels[i] == 0;
        solid += image->pixels[i] == 255;
    }
    const std::size_t total = image->pixels.size() / 4;
    EXPECT_GT(clear, total / 4);
    EXPECT_GT(solid, total / 20);
    EXPECT_LT(bytes.size(), image->pixels.size() / 2);  // runs found in the clear ground
}

TEST(PackPictures, SameSeedSameBytesOtherSeedOtherPicture) {
    const fs::path root = fs::path(::testing::TempDir()) / "pack-pictures";
    fs::remove_all(root);
    // Noise, scattered strokes, lettering and the TGA encoder: every kind of work.
    auto write = [&](const std::string& name, std::uint32_t seed, bool withCards) {
        PackContext pack;
        pack.outDir = root / name;
        if (seed != 0) pack.seed = seed;
        PictureKit kit(pack);
        writeSurfaces(kit);
        if (withCards) writeClosingCards(kit);
        return pack.outDir;
    };
    const fs::path first = write("first", 0, true);
    const fs::path second = write("second", 0, true);
    const fs::path reseeded = write("reseeded", 12345, false);
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(first)) {
        if (!entry.is_regular_file()) continue;
        ++files;
        const fs::path relative = fs::relative(entry.path(), first);
        SCOPED_TRACE(relative.string());
        EXPECT_EQ(fileBytes(entry.path()), fileBytes(second / relative));
    }
    EXPECT_EQ(files, 8);
    EXPECT_NE(fileBytes(first / "grass.jpg"), fileBytes(reseeded / "grass.jpg"));
}

class PicturesOnScreen : public GlTest {};

TEST_F(PicturesOnScreen, EachPictureFillsExactlyItsRectangle) {
    setShowProjection();
    for (const Planned& planned : kPictures) {
        if (planned.screenWidth == 0) continue;
        SCOPED_TRACE(planned.file);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        Picture picture;
        picture.load(packFile(planned.file).c_str());
        picture.draw(1000, -1, planned.screenWidth, planned.screenHeight, 0, 0, 1.0f);  // first frame: opaque
        testsupport::saveFramePng("test-screenshots/pack/" + fs::path(planned.file).stem().string() + ".png", kWidth,
                                  kHeight);
        // Lit somewhere along every column band of the rectangle, black outside it.
        const int bands = 4;
        for (int band = 0; band < bands; ++band) {
            const int x0 = planned.screenWidth * band / bands;
            const int x1 = planned.screenWidth * (band + 1) / bands;
            int brightest = 0;
            for (int x = x0; x < x1; x += 2)
                for (int y = 0; y < planned.screenHeight; y += 4) {
                    const auto p = pixelAt(x, y);
                    brightest = std::max({brightest, int(p[0]), int(p[1]), int(p[2])});
                }
            EXPECT_GT(brightest, 60) << "band " << band;
        }
        if (planned.screenWidth < kWidth) {
            EXPECT_EQ(pixelAt(planned.screenWidth + 2, planned.screenHeight / 2), (testsupport::Rgba{0, 0, 0, 255}));
        }
        if (planned.screenHeight < kHeight) {
            EXPECT_EQ(pixelAt(planned.screenWidth / 2, planned.screenHeight + 2), (testsupport::Rgba{0, 0, 0, 255}));
        }
    }
}

TEST_F(PicturesOnScreen, ReflectionsReadAsChromeGoldAndBlood) {
    setShowProjection();
    struct Sum {
        double r = 0, g = 0, b = 0, darkest = 255, brightest = 0;
    };
    auto sphere = [&](const char* file) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_LIGHTING);
        glEnable(GL_DEPTH_TEST);
        Texture texture;
        texture.setFormat(TextureFormat::Jpg);
        texture.load(packFile(file).c_str());
        texture.bind();
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0, 0, -6);
        GLUquadric* quadric = gluNewQuadric();
        gluQuadricNormals(quadric, GLU_SMOOTH);
        gluSphere(quadric, 2.0, 64, 64);
        gluDeleteQuadric(quadric);
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
        testsupport::saveFramePng(
            std::string("test-screenshots/pack/sphere-") + fs::path(file).stem().string() + ".png", kWidth, kHeight);
        Sum sum;
        int count = 0;
        for (int y = 100; y < 380; y += 3)
            for (int x = 180; x < 460; x += 3) {
                const auto p = pixelAt(x, y);
                if (std::hypot(x - 320, y - 240) > 130) continue;  // inside the sphere only
                sum.r += p[0], sum.g += p[1], sum.b += p[2];
                const double level = 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2];
                sum.darkest = std::min(sum.darkest, level);
                sum.brightest = std::max(sum.brightest, level);
                ++count;
            }
        sum.r /= count, sum.g /= count, sum.b /= count;
        return sum;
    };
    const Sum gold = sphere("ting/kingThing.jpg");
    EXPECT_GT(gold.r, gold.g);
    EXPECT_GT(gold.g, gold.b * 1.5);
    EXPECT_GT(gold.brightest - gold.darkest, 150);  // highlights and a dark horizon, not a flat tint
    const Sum blood = sphere("ting/blod.jpg");
    EXPECT_GT(blood.r, 2.5 * blood.g);
    EXPECT_GT(blood.r, 2.5 * blood.b);
    const Sum chrome = sphere("env1.jpg");
    EXPECT_GT(chrome.brightest - chrome.darkest, 150);
    EXPECT_LT(std::fabs(chrome.r - chrome.b), 60);  // sky and ground balance out: no strong tint
}
