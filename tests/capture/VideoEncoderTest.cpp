// Each kind of video the capture writes, end to end below the show: frames
// drawn by OpenGL and read back as the capture reads them go through the
// encoder with a sound, and ffprobe and ffmpeg read the file back: its
// codecs, pixel format, size, rate and lengths, and its pictures against
// those drawn. The archive must give back exactly the pixels drawn.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "GlContext.h"
#include "VideoFile.h"
#include "WorkingDirectory.h"
#include "capture/OutputKind.h"
#include "capture/Supersampler.h"
#include "capture/VideoEncoder.h"
#include "platform/ChildProcess.h"

namespace {

constexpr int kWidth = 64, kHeight = 48;
constexpr int kFrames = 24;
constexpr int kSampleRate = 44100;

// A frame that differs from the one before everywhere: a shaded backdrop
// and a turning triangle, in the drawn size's pixels.
void drawFrame(int frame, int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    const float t = static_cast<float>(frame) / kFrames;
    glBegin(GL_QUADS);
    glColor3f(0.1f + 0.5f * t, 0.2f, 0.6f);
    glVertex2f(-1, -1);
    glColor3f(0.9f, 0.3f + 0.4f * t, 0.1f);
    glVertex2f(1, -1);
    glColor3f(0.2f, 0.8f, 0.3f);
    glVertex2f(1, 1);
    glColor3f(0.7f - 0.5f * t, 0.7f, 0.9f);
    glVertex2f(-1, 1);
    glEnd();
    glRotatef(360.0f * t, 0, 0, 1);
    glBegin(GL_TRIANGLES);
    glColor3f(1, 1, 0.2f);
    glVertex2f(-0.6f, -0.5f);
    glColor3f(0.1f, 0.1f, 0.1f);
    glVertex2f(0.7f, -0.3f);
    glColor3f(1, 0.2f, 1);
    glVertex2f(0.0f, 0.8f);
    glEnd();
}

// A BGRA frame, bottom row first, as a 64x48 RGB picture, top row first,
// each pixel the rounded mean of its factor x factor block.
capture::Picture videoPicture(const std::vector<std::uint8_t>& drawn, int factor) {
    capture::Picture picture(kWidth * kHeight * 3);
    const int drawnWidth = kWidth * factor;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < factor; ++dy) {
                    for (int dx = 0; dx < factor; ++dx) {
                        const int drawnY = (kHeight - 1 - y) * factor + dy;
                        sum += drawn[(static_cast<std::size_t>(drawnY) * drawnWidth + x * factor + dx) * 4 + 2 - c];
                    }
                }
                const int area = factor * factor;
                picture[(static_cast<std::size_t>(y) * kWidth + x) * 3 + c] =
                    static_cast<std::uint8_t>((sum + area / 2) / area);
            }
        }
    }
    return picture;
}

}  // namespace

TEST(VideoEncoder, EachKindHoldsWhatItPromisesAndGivesBackThePicture) {
    const std::optional<std::string> ffmpeg = platform::findOnPath("ffmpeg");
    ASSERT_TRUE(ffmpeg) << "ffmpeg is not on the PATH";
    using C = CaptureOptions::Container;
    const struct {
        const char* file;
        C container;
        bool archive, lossless;
        FrameRate rate;
        int supersample;
        const char *picture, *pixelFormat, *sound;
        double largestDifference;  // mean over the pixels of a frame, per colour
    } kinds[] = {
        {"show.mp4", C::Mp4, false, false, {60000, 1001}, 1, "h264", "yuv420p", "aac", 6.0},
        {"show.webm", C::WebM, false, false, {24000, 1001}, 1, "vp9", "yuv420p", "opus", 8.0},
        {"show.mkv", C::Mkv, false, false, {50}, 1, "h264", "yuv420p", "flac", 6.0},
        // Lossless H.264 is still 4:2:0: colour at half the resolution.
        {"lossless.mkv", C::Mkv, false, true, {30}, 2, "h264", "yuv420p", "flac", 4.0},
        {"archive.mkv", C::Mkv, true, false, {30000, 1001}, 1, "ffv1", "bgr0", "flac", 0.0},
        {"archive-supersampled.mkv", C::Mkv, true, false, {60}, 3, "ffv1", "bgr0", "flac", 0.0},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.file);
        testsupport::ScratchDirectory scratch;
        const std::string file = (scratch.path() / kind.file).string();
        const int drawnWidth = kWidth * kind.supersample, drawnHeight = kHeight * kind.supersample;
        testsupport::GlContext context(drawnWidth, drawnHeight);

        std::vector<capture::Picture> drawn;
        {
            VideoEncoder encoder(*ffmpeg, EncoderSettings{file,
                                                          &outputKind(kind.container, kind.archive),
                                                          kWidth,
                                                          kHeight,
                                                          kind.rate,
                                                          kind.lossless,
                                                          {kind.supersample, {}}});
            for (int frame = 0; frame < kFrames; ++frame) {
                drawFrame(frame, drawnWidth, drawnHeight);
                std::uint8_t* pixels = encoder.nextBuffer();
                glPixelStorei(GL_PACK_ALIGNMENT, 1);
                glReadPixels(0, 0, drawnWidth, drawnHeight, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
                const std::vector<std::uint8_t> bytes(pixels, pixels + std::size_t{4} * drawnWidth * drawnHeight);
                drawn.push_back(videoPicture(bytes, kind.supersample));
                encoder.submit(static_cast<std::uint64_t>(frame), 1);
            }
            // As much sound as the frames last, to the sample: a tone.
            CapturedSound sound{kSampleRate, 2, {}};
            const auto samples = static_cast<long>(kFrames * kSampleRate * kind.rate.seconds / kind.rate.frames);
            for (long s = 0; s < samples; ++s) {
                const auto value = static_cast<std::int16_t>(8000 * std::sin(s * 0.05));
                sound.samples.insert(sound.samples.end(), {value, value});
            }
            encoder.finish(sound, {});
        }

        const std::vector<capture::Stream> streams = capture::probe(file);
        ASSERT_EQ(streams.size(), 2u);
        const capture::Stream &picture = streams[0], &sound = streams[1];
        EXPECT_EQ(picture.codec, kind.picture);
        EXPECT_EQ(picture.pixelFormat, kind.pixelFormat);
        EXPECT_EQ(picture.width, kWidth);
        EXPECT_EQ(picture.height, kHeight);
        EXPECT_EQ(picture.rate, std::to_string(kind.rate.frames) + "/" + std::to_string(kind.rate.seconds));
        EXPECT_EQ(picture.frames, kFrames);
        EXPECT_EQ(sound.codec, kind.sound);
        const double frameSeconds = 1.0 / kind.rate.perSecond();
        EXPECT_NEAR(picture.seconds, kFrames * frameSeconds, frameSeconds);
        EXPECT_NEAR(sound.seconds, picture.seconds, frameSeconds);

        const std::vector<capture::Picture> decoded = capture::decodeAll(file, "rgb24", 3);
        ASSERT_EQ(decoded.size(), drawn.size());
        double worst = 0;
        for (std::size_t i = 0; i < decoded.size(); ++i) {
            worst = std::max(worst, capture::difference(decoded[i], drawn[i], kWidth));
            if (kind.largestDifference == 0.0) {
                ASSERT_EQ(decoded[i], drawn[i]) << "frame " << i << " is not the frame drawn";
            } else {
                EXPECT_LT(capture::difference(decoded[i], drawn[i], kWidth), kind.largestDifference) << "frame " << i;
            }
        }
        std::printf("%-26s frames differ from those drawn by %.2f at most\n", kind.file, worst);
    }
}
