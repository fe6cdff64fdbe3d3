#include <gtest/gtest.h>

#include <fcntl.h>
#include <jpeglib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "FatalExitExpectation.h"
#include "GlContext.h"
#include "ImageFiles.h"
#include "TestData.h"
#include "WorkingDirectory.h"
#include "render/JpgReader.h"
#include "render/PictureReadAhead.h"
#include "render/Texture.h"

using testsupport::testDataPath;
using namespace std::chrono_literals;

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

// A picture decoded ahead goes to its load as soon as it is done, while the
// threads are still held up by later files: start-up must not wait for them
// to run out of work. Files that are FIFOs hold a thread for as long as the
// test likes: its open or its read blocks until the test writes.
TEST(PictureReadAhead, HandsAPictureOverWhileEveryThreadIsStillBusy) {
    const testsupport::ScratchDirectory scratch;
    const std::string source = (scratch.path() / "source.jpg").string();
    testsupport::writeJpg(source, JCS_RGB, 3, 16, 8, std::vector<std::uint8_t>(16 * 8 * 3, 200));
    const std::vector<std::uint8_t> bytes = testsupport::readBytes(source);
    const std::string held = (scratch.path() / "held.jpg").string();
    const std::string picture = (scratch.path() / "picture.jpg").string();
    const std::string next = (scratch.path() / "next.jpg").string();
    for (const std::string& fifo : {held, picture, next}) ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0) << fifo;

    // In order: one thread is held by the first file, the other takes the
    // picture and, once done, is held by the next.
    PictureReadAhead ahead({held, picture, next}, 2);
    const int writer = ::open(picture.c_str(), O_WRONLY);  // returns once a thread opened it to read
    ASSERT_GE(writer, 0);
    auto taken = std::async(std::launch::async, [&] { return ahead.take(picture); });
    EXPECT_EQ(taken.wait_for(200ms), std::future_status::timeout) << "take() did not wait for its picture";
    EXPECT_EQ(::write(writer, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(writer);
    const bool handedOver = taken.wait_for(20s) == std::future_status::ready;

    // Now the threads may go: both files end at once, and so their threads.
    for (const std::string& fifo : {held, next}) ::close(::open(fifo.c_str(), O_WRONLY));
    EXPECT_TRUE(handedOver) << "take() waited for the threads, not for its picture";
    const std::shared_ptr<const DecodedPicture> got = taken.get();
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(got->image.width, 16);
    EXPECT_EQ(got->image.height, 8);
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
