#include <gtest/gtest.h>

#include <jpeglib.h>

#include <string>
#include <vector>

#include "FatalExitExpectation.h"
#include "GlContext.h"
#include "ImageFiles.h"
#include "TestData.h"
#include "render/JpgReader.h"
#include "render/PictureReadAhead.h"
#include "render/Texture.h"

using testsupport::testDataPath;

namespace {

std::string tempFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = ::testing::TempDir() + name;
    testsupport::writeBytes(path, bytes);
    return path;
}

bool sameLevels(const std::vector<MipLevel>& a, const std::vector<MipLevel>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].width != b[i].width || a[i].height != b[i].height || a[i].pixels != b[i].pixels) return false;
    }
    return true;
}

}  // namespace

// Read ahead, a file is the picture loadJpg gives with GLU's mipmaps; any file
// that would make loadJpg say a word is left to it, without a word here.
TEST(PictureReadAhead, GivesLoadJpgsPicturesAndLeavesEveryTroubleToIt) {
    SKIP_WITHOUT_TESTDATA();
    std::vector<std::uint8_t> half = testsupport::readBytes(testDataPath("jpg/pillow/hopper.jpg"));
    half.resize(half.size() / 2);
    const std::string cmyk = ::testing::TempDir() + "ahead-cmyk.jpg";
    testsupport::writeJpg(cmyk, JCS_CMYK, 4, 8, 8, std::vector<std::uint8_t>(8 * 8 * 4, 128));
    struct Row {
        std::string file;
        bool readAhead;
    };
    const std::vector<Row> rows = {
        {testDataPath("jpg/pillow/hopper.jpg"), true},
        {tempFile("ahead-half.jpg", half), false},  // libjpeg warns about the missing data
        {testDataPath("jpg/jpeg-decoder/jpg-gray.jpg"), true},
        {::testing::TempDir() + "ahead-absent.jpg", false},
        {tempFile("ahead-gif.jpg", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}), false},  // libjpeg's fatal error
        {cmyk, false},
        {testDataPath("jpg/jpeg-decoder/jpg-size-33x33.jpg"), true},
    };
    std::vector<std::string> names;
    for (const Row& row : rows) names.push_back(row.file);
    names.push_back(rows[0].file);  // loaded twice

    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    PictureReadAhead ahead(names, 2);
    std::vector<std::shared_ptr<const DecodedPicture>> taken;
    for (const Row& row : rows) taken.push_back(ahead.take(row.file));
    const auto second = ahead.take(rows[0].file);
    const auto third = ahead.take(rows[0].file);
    const auto unnamed = ahead.take("never-named.jpg");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");

    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].file);
        ASSERT_EQ(taken[i] != nullptr, rows[i].readAhead);
        if (!taken[i]) continue;
        const ImageData reference = loadJpg(rows[i].file.c_str()).value();
        const ImageData& image = taken[i]->image;
        EXPECT_EQ(image.components, reference.components);
        EXPECT_EQ(image.width, reference.width);
        EXPECT_EQ(image.height, reference.height);
        EXPECT_TRUE(image.pixels == reference.pixels);
        EXPECT_TRUE(sameLevels(taken[i]->levels, halvedLevels(reference.pixels.data(), reference.width,
                                                              reference.height, reference.components)));
    }
    EXPECT_EQ(second, taken[0]) << "decoded once for both loads";
    EXPECT_EQ(third, nullptr);
    EXPECT_EQ(unnamed, nullptr);
    EXPECT_EQ(ahead.unmatched(), (std::vector<std::string>{rows[0].file, "never-named.jpg"}));
}

class PictureReadAheadDeathTest : public testsupport::GlTest {};

TEST_F(PictureReadAheadDeathTest, AMissingFileStillEndsTheProcessAtItsLoad) {
    SKIP_WITHOUT_TESTDATA();
    const std::string present = testDataPath("jpg/pillow/hopper.jpg");
    const std::string absent = ::testing::TempDir() + "ahead-absent.jpg";
    EXPECT_FATAL_EXIT(
        {
            PictureReadAhead ahead({absent, present}, 1);
            setPictureReadAhead(&ahead);
            Texture texture;
            texture.setFormat(TextureFormat::Jpg);
            texture.load(present.c_str());
            std::cout << (texture.getName() != 0 ? "loaded, " : "not loaded, ");
            texture.load(absent.c_str());
        },
        "loaded, Unable to load JPG File!\n");
}
