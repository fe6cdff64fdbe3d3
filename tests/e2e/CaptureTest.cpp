// `marrowick --capture` over the short pack, read back with ffprobe and
// ffmpeg: the video's length and streams, where its pictures sit, that two
// runs are the same frame for frame, that each section shows at the frame
// its cue predicts, that each kind of video, rate, supersampling and blend
// gives what it promises, that bad input leaves nothing behind and that any
// name given for the video is only ever a file name; that every kind of
// video has the span's cues as chapters, and that a still is the very frame
// an archive holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "CaptureRun.h"
#include "ImageFiles.h"
#include "ShowProcess.h"
#include "WorkingDirectory.h"
#include "audio/WavFile.h"
#include "music/Cues.h"
#include "show/FrameTiming.h"

namespace fs = std::filesystem;
using capture::difference;
using capture::Picture;

namespace {

class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        pack = e2e::shortPackDir();
        track = loadWav(pack + "/demot.wav").value();
        for (const WavCue& cue : track.cues) cueSamples.emplace(cue.label, cue.frame);
    }

    // The show frame that reads the cue: the one after the frame that passes it.
    std::uint64_t readingFrame(const char* cue, const FrameTiming& timing) const {
        return timing.frameContaining(cueSamples.at(cue)) + 1;
    }
    std::string file(const std::string& name) const { return (out / name).string(); }

    std::string pack;
    WavSound track;
    std::map<std::string, std::uint32_t> cueSamples;
    testsupport::ScratchDirectory scratch;
    const fs::path& out = scratch.path();
};

}  // namespace

TEST_F(CaptureTest, Mp4HoldsEveryFrameAndTheSoundWithThePictureWhereItBelongs) {
    // 16:9 frames: the 4:3 picture is 240 pixels wide with 40-pixel bars,
    // unless it is stretched over all of it.
    for (const bool stretch : {false, true}) {
        const std::string video = file(stretch ? "stretched.mp4" : "show.mp4");
        std::vector<std::string> arguments{"--capture", video, "--size", "320x180"};
        if (stretch) arguments.push_back("--stretch");
        const capture::Result run = capture::runShow(arguments, pack);
        ASSERT_EQ(run.exitCode, 0) << run.err;

        const FrameTiming timing{12, 60, static_cast<std::uint64_t>(track.sampleRate)};
        const std::vector<capture::Stream> streams = capture::probe(video);
        ASSERT_EQ(streams.size(), 2u);
        const capture::Stream& picture = streams[0];
        const capture::Stream& sound = streams[1];
        EXPECT_EQ(picture.codec, "h264");
        EXPECT_EQ(sound.codec, "aac");
        EXPECT_EQ(picture.width, 320);
        EXPECT_EQ(picture.height, 180);
        const auto expectedFrames =
            static_cast<long>(timing.videoFramesThrough(readingFrame(cue::kFadeToCredits, timing)));
        EXPECT_NEAR(picture.frames, expectedFrames, 1);
        EXPECT_NEAR(sound.seconds, picture.seconds, 1.0 / 60);

        // The queen's card is up, whole, on the first video frame that shows
        // the frame reading her cue; the video frame before has no card.
        const long cardFrame = static_cast<long>(timing.videoFramesThrough(readingFrame(cue::kQueenText, timing)));
        const std::vector<Picture> frames = capture::decodeFrames(video, {cardFrame - 1, cardFrame});
        ASSERT_EQ(frames.size(), 2u);
        const int left = stretch ? 0 : 40, width = stretch ? 320 : 240;
        const Picture card = capture::scaledJpg(pack + "/ting/queen.jpg", width, 180);
        Picture placed(320 * 180 * 3, 0);
        for (int y = 0; y < 180; ++y) {
            std::copy_n(&card[static_cast<std::size_t>(y) * width * 3], width * 3, &placed[(y * 320 + left) * 3]);
        }
        const double onCard = difference(frames[1], placed, 320, left, 0, left + width, 180);
        const double before = difference(frames[0], placed, 320, left, 0, left + width, 180);
        std::printf("stretch %d: card frame %ld differs by %.1f, the frame before by %.1f\n", stretch, cardFrame,
                    onCard, before);
        EXPECT_LT(onCard, 12.0);
        EXPECT_GT(before, 2 * onCard);
        if (!stretch) {
            const Picture black(320 * 180 * 3, 0);
            EXPECT_LT(difference(frames[1], black, 320, 0, 0, 40, 180), 2.0) << "left bar";
            EXPECT_LT(difference(frames[1], black, 320, 280, 0, 320, 180), 2.0) << "right bar";
        }
    }
}

TEST_F(CaptureTest, EverySectionShowsItsOwnPicturesAtTheFramesItsCuesPredict) {
    // 250 frames a second: every show frame (12 ms) fills exactly three video
    // frames, so show frame n is video frame 3n. Lossless, so what is
    // compared is what was drawn.
    const std::string video = file("sections.mkv");
    const capture::Result run =
        capture::runShow({"--capture", video, "--size", "160x120", "--stretch", "--fps", "250", "--lossless"}, pack);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const FrameTiming timing{12, 250, static_cast<std::uint64_t>(track.sampleRate)};
    std::vector<std::string> labels, score(std::begin(cue::kScore), std::end(cue::kScore));
    for (const WavCue& cue : track.cues) labels.push_back(cue.label);
    ASSERT_EQ(labels, score) << "the track's cues are not the score, in order";

    // Moments where one full-screen picture is up, by the cue that brings it
    // and the frames after the reading frame: a missing, skipped or reordered
    // section puts the wrong picture there.
    const struct {
        const char* cue;
        std::int64_t after;
        const char* picture;
    } moments[] = {
        {cue::kQueenText, 0, "ting/queen.jpg"},   {cue::kPesants, 0, "ting/peasants.jpg"},
        {cue::kGraphical2, 2, "ting/gsg.jpg"},  // the ship's first frame: its title
        {cue::kKubeShow, 45, "ting/boom.jpg"},  // the alien's finale, faded in
        {cue::kHandJobb, -1, "ting/credits.jpg"}, {cue::kFadeToCredits, -1, "ting/salute.jpg"},  // the last frame shown
    };
    std::vector<long> indices;
    std::vector<Picture> references;
    for (const auto& moment : moments) {
        indices.push_back(3 * static_cast<long>(readingFrame(moment.cue, timing) + moment.after));
        references.push_back(capture::scaledJpg(pack + "/" + moment.picture, 160, 120));
    }
    const std::vector<Picture> frames = capture::decodeFrames(video, indices);
    ASSERT_EQ(frames.size(), std::size(moments));
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const double own = difference(frames[i], references[i], 160);
        std::printf("%-14s video frame %5ld: %.1f from %s\n", moments[i].cue, indices[i], own, moments[i].picture);
        EXPECT_LT(own, 20.0) << moments[i].picture;
        for (std::size_t j = 0; j < references.size(); ++j) {
            if (j == i) continue;
            EXPECT_LT(own, difference(frames[i], references[j], 160))
                << moments[i].cue << " looks like " << moments[j].picture;
        }
    }
}

TEST_F(CaptureTest, RunsAreTheSameFrameForFrameAndFromReachesTheSamePictures) {
    const std::vector<std::string> common{"--size", "64x48", "--fps", "250", "--lossless"};
    auto captureTo = [&](const std::string& name, std::vector<std::string> extra) {
        std::vector<std::string> arguments{"--capture", file(name)};
        arguments.insert(arguments.end(), common.begin(), common.end());
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        const capture::Result run = capture::runShow(arguments, pack);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return capture::frameHashes(file(name));
    };
    const std::vector<std::string> first = captureTo("a.mkv", {});
    std::vector<std::string> second;
    {
        e2e::BusyCores busy;  // a loaded machine draws more slowly, but not differently
        second = captureTo("b.mkv", {});
    }
    const std::vector<std::string> span = captureTo("span.mkv", {"--from", cue::kPesants, "--to", cue::kScene3});
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, second);

    const FrameTiming timing{12, 250, static_cast<std::uint64_t>(track.sampleRate)};
    const std::uint64_t from = readingFrame(cue::kPesants, timing), to = readingFrame(cue::kScene3, timing);
    ASSERT_EQ(span.size(), 3 * (to - from));
    const std::vector<std::string> sameSpan(first.begin() + static_cast<long>(3 * from),
                                            first.begin() + static_cast<long>(3 * to));
    EXPECT_EQ(span, sameSpan) << "fast-forwarding to --from drew different pictures";
    EXPECT_NEAR(capture::probe(file("span.mkv")).at(1).seconds, (to - from) * 0.012, 0.004);
}

TEST_F(CaptureTest, BadInputGetsOneClearLineAndLeavesNoFile) {
    // A stand-in ffmpeg that takes a little of the picture, then fails.
    const fs::path fakeBin = out / "bin";
    fs::create_directories(fakeBin);
    {
        std::FILE* script = std::fopen((fakeBin / "ffmpeg").c_str(), "w");
        std::fputs("#!/bin/sh\nhead -c 100000 >/dev/null\necho 'Conversion failed!'\nexit 1\n", script);
        std::fclose(script);
        fs::permissions(fakeBin / "ffmpeg", fs::perms::owner_all);
    }
    const std::string video = file("bad.mp4");
    const std::string emptyDir = (out / "empty").string();
    fs::create_directories(emptyDir);
    // The pack seen from a folder of its own, for videos named relative to it.
    const fs::path named = out / "named";
    fs::create_directories(named);
    for (const auto& entry : fs::directory_iterator(pack))
        fs::create_symlink(entry.path(), named / entry.path().filename());
    const std::vector<std::string> quick{"--size", "64x48", "--to", cue::kQueenText, "--capture"};
    auto quickTo = [&](const std::string& name) {
        std::vector<std::string> arguments = quick;
        arguments.push_back(name);
        return arguments;
    };
    const struct {
        std::vector<std::string> arguments;
        std::string dir, path;
        int exitCode;
        const char* says;      // on standard error, or on standard output for a data file
        bool showPrintsToo;    // the show's own lines come before the error
        bool writes = false;   // a video under exactly the name given, in `dir`
        bool oneLine = false;  // the whole complaint is one line, with no usage after it
    } cases[] = {
        {{"--capture", video, "--bogus"}, pack, "", 2, "unknown option --bogus", false},
        {{"--capture", video, "--size", "12x9"}, pack, "", 2, "--size", false},
        {{"--capture", video, "--fps", "zero"}, pack, "", 2, "--fps", false},
        {{"--capture", file("show.avi")}, pack, "", 2, ".mp4, .webm or .mkv", false},
        {{"--capture", file("show.webm"), "--archive"}, pack, "", 2, "--archive needs a .mkv file", false},
        {{"--capture", file("show.mkv"), "--archive", "--lossless"}, pack, "", 2, "leave out --lossless", false},
        {{"--capture", video, "--supersample", "5"}, pack, "", 2, "--supersample", false},
        // A still is one frame as drawn, and needs a folder it can be written in.
        {{"--capture", file("still.png"), "--fps", "60"}, pack, "", 2, "--fps is for a video, not a still", false},
        {{"--capture", file("still.png"), "--blend"}, pack, "", 2, "--blend is for a video", false},
        {{"--lossless", "--capture", file("still.png")}, pack, "", 2, "--lossless is for a video", false},
        {{"--capture", file("still.png"), "--archive"}, pack, "", 2, "--archive is for a video", false},
        {{"--capture", file("still.png"), "--to", cue::kPesants}, pack, "", 2, "--to is for a video", false},
        {{"--capture", file("no/such/dir/still.png")}, pack, "", 2, "cannot write", false, false, true},
        {{"--capture", "/proc/still.png", "--from", cue::kScene3}, pack, "", 2, "cannot write", false, false, true},
        {{"--capture", video, "--fps", "0/1"}, pack, "", 2, "--fps", false},
        // Checked against the track before anything is built, naming the cues there are.
        {{"--capture", video, "--from", "noSuchCue"},
         pack,
         "",
         2,
         "no cue named \"noSuchCue\"; its cues are queenRoll,",
         false,
         false,
         true},
        {{"--capture", video, "--from", cue::kScene3, "--to", cue::kPesants},
         pack,
         "",
         2,
         "comes before",
         false,
         false,
         true},
        {{"--capture", video, "--to", "9:59"}, pack, "", 2, "past the end of the music", false, false, true},
        {{"--capture", video, "--from", cue::kFadeToCredits},
         pack,
         "",
         2,
         "at or after the closing cue",
         false,
         false,
         true},
        {{"--capture", video}, pack, "/nonexistent", 1, "ffmpeg program is not on the PATH", false},
        {{"--capture", file("no/such/dir/show.mp4")}, pack, "", 1, "cannot write", false},
        {{"--capture", "/proc/show.mp4"}, pack, "", 1, "cannot write", false},
        {{"--capture", video, "--size", "64x48"},
         pack,
         fakeBin.string() + ":/usr/bin:/bin",
         1,
         "Conversion failed!",
         true},
        {{"--capture", video}, emptyDir, "", 0, "not a TileFile, exiting....", false},
        // Names that ffmpeg would read as an option or a protocol, or a shell
        // as more than one word and a command, are only file names.
        {quickTo("-x.mp4"), named.string(), "", 0, "TileFile 1 6408", false, true},
        {quickTo("take:2 it's a \"show\" $(touch ran).mkv"), named.string(), "", 0, "TileFile 1 6408", false, true},
    };
    for (const auto& c : cases) {
        const capture::Result run = capture::runShow(c.arguments, c.dir, c.path);
        const std::string what = c.arguments.back();
        EXPECT_EQ(run.exitCode, c.exitCode) << what << ": " << run.err;
        const std::string& said = c.exitCode == 0 ? run.out : run.err;
        EXPECT_NE(said.find(c.says), std::string::npos) << what << " said: " << said;
        if (c.oneLine) {
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << what << " said: " << run.err;
        } else if (c.exitCode == 2) {
            // A usage error points to --help.
            EXPECT_NE(run.err.find(" --help' for more information."), std::string::npos)
                << what << " said: " << run.err;
        }
        if (c.exitCode != 0 && !c.showPrintsToo) {
            EXPECT_EQ(run.out, "") << what;
        }
        for (const auto& entry : fs::directory_iterator(out)) {
            EXPECT_TRUE(entry.is_directory()) << what << " left " << entry.path();
        }
        EXPECT_FALSE(run.leftBehind) << what << " left temporary files";
        if (c.writes) {
            const fs::path written = fs::path(c.dir) / what;
            const std::vector<capture::Stream> streams = capture::probe(written.string());
            EXPECT_EQ(streams.size(), 2u) << what << " is not a video with its sound";
            if (!streams.empty()) {
                EXPECT_EQ(streams[0].codec, "h264") << what;
            }
            fs::remove(written);
            for (const auto& entry : fs::directory_iterator(c.dir)) {
                EXPECT_TRUE(entry.is_symlink()) << what << " left " << entry.path();
            }
        }
    }
}

// A file the user keeps beside the video, under any name the capture might
// have taken for its own, is left as it was: by a capture that makes its
// video, and by one whose ffmpeg fails half-way.
TEST_F(CaptureTest, FilesBesideTheVideoAreLeftAsTheyWere) {
    const fs::path fakeBin = out / "bin";
    fs::create_directories(fakeBin);
    {
        std::FILE* script = std::fopen((fakeBin / "ffmpeg").c_str(), "w");
        std::fputs("#!/bin/sh\nhead -c 100000 >/dev/null\nexit 1\n", script);
        std::fclose(script);
        fs::permissions(fakeBin / "ffmpeg", fs::perms::owner_all);
    }
    const fs::path folder = out / "videos";
    fs::create_directories(folder);
    const std::string kept = "the user's own, not the capture's\n";
    const std::vector<std::string> names = {"show.mp4.part", "show.mp4.tmp", "show.part"};
    for (const std::string& name : names) std::ofstream(folder / name) << kept;
    const std::string video = (folder / "show.mp4").string();
    const std::vector<std::string> arguments{"--size", "64x48", "--to", cue::kQueenText, "--capture", video};
    const struct {
        const char* what;
        std::string path;
        int exitCode;
        bool writes;
    } cases[] = {{"a capture", "", 0, true}, {"a failed capture", fakeBin.string() + ":/usr/bin:/bin", 1, false}};
    for (const auto& c : cases) {
        const capture::Result run = capture::runShow(arguments, pack, c.path);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.what << ": " << run.err;
        EXPECT_EQ(fs::exists(video), c.writes) << c.what;
        for (const std::string& name : names) {
            std::ifstream in(folder / name);
            const std::string now((std::istreambuf_iterator<char>(in)), {});
            EXPECT_EQ(now, kept) << c.what << " changed or removed " << name;
        }
        std::size_t files = 0;
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path() != video) ++files;
        }
        EXPECT_EQ(files, names.size()) << c.what << ": beside the video, other files than the user's";
        fs::remove(video);
    }
}

TEST_F(CaptureTest, EachKindOfVideoHoldsWhatItPromises) {
    // A second of the show, from its start to the first cue.
    const struct {
        const char* name;
        std::vector<std::string> options;
        FrameRate rate;
        const char *picture, *pixelFormat, *sound;
    } kinds[] = {
        {"show.webm", {}, {60}, "vp9", "yuv420p", "opus"},
        {"archive.mkv", {"--archive", "--supersample", "2"}, {60}, "ffv1", "bgr0", "flac"},
        {"blend.mp4", {"--fps", "60000/1001", "--blend"}, {60000, 1001}, "h264", "yuv420p", "aac"},
        {"film.mkv",
         {"--fps", "24000/1001", "--supersample", "3", "--lossless"},
         {24000, 1001},
         "h264",
         "yuv420p",
         "flac"},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        std::vector<std::string> arguments{"--capture", file(kind.name), "--size", "64x48", "--to", cue::kQueenRoll};
        arguments.insert(arguments.end(), kind.options.begin(), kind.options.end());
        const capture::Result run = capture::runShow(arguments, pack);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::vector<capture::Stream> streams = capture::probe(file(kind.name));
        ASSERT_EQ(streams.size(), 2u);
        const capture::Stream &picture = streams[0], &sound = streams[1];
        EXPECT_EQ(picture.codec, kind.picture);
        EXPECT_EQ(picture.pixelFormat, kind.pixelFormat);
        EXPECT_EQ(sound.codec, kind.sound);
        EXPECT_EQ(picture.width, 64);
        EXPECT_EQ(picture.height, 48);
        EXPECT_EQ(picture.rate, std::to_string(kind.rate.frames) + "/" + std::to_string(kind.rate.seconds));
        const FrameTiming timing{12, kind.rate, static_cast<std::uint64_t>(track.sampleRate)};
        const std::uint64_t showFrames = readingFrame(cue::kQueenRoll, timing);
        EXPECT_EQ(picture.frames, static_cast<long>(timing.videoFramesThrough(showFrames)));
        // Matroska's times are whole milliseconds.
        const double frameSeconds = 1.0 / kind.rate.perSecond(), rounding = 0.002;
        EXPECT_NEAR(picture.seconds, static_cast<double>(showFrames) * 0.012, frameSeconds + rounding);
        EXPECT_NEAR(sound.seconds, picture.seconds, frameSeconds + rounding);
        EXPECT_EQ(capture::decodeAll(file(kind.name), "rgb24", 3).size(), static_cast<std::size_t>(picture.frames));
    }
}

TEST_F(CaptureTest, EveryRateHoldsEveryFrameAndEverySampleOfTheWholeShow) {
    // FLAC keeps the sound to the sample. From the first frame to the one
    // that reads the closing cue (never shown).
    const struct {
        FrameRate rate;
        bool blend;
    } rates[] = {{{24000, 1001}, false}, {{25}, true}, {{60000, 1001}, true}, {{144}, false}};
    for (const auto& r : rates) {
        const std::string name = "rate-" + std::to_string(r.rate.frames) + (r.blend ? "-blend" : "") + ".mkv";
        SCOPED_TRACE(name);
        std::vector<std::string> arguments{"--capture", file(name), "--size", "64x48", "--fps", r.rate.text()};
        if (r.blend) arguments.push_back("--blend");
        const capture::Result run = capture::runShow(arguments, pack);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const FrameTiming timing{12, r.rate, static_cast<std::uint64_t>(track.sampleRate)};
        const std::uint64_t showFrames = readingFrame(cue::kFadeToCredits, timing);
        const std::vector<capture::Stream> streams = capture::probe(file(name));
        ASSERT_EQ(streams.size(), 2u);
        const long frames = streams[0].frames, samples = capture::soundSamples(file(name));
        EXPECT_EQ(frames, static_cast<long>(timing.videoFramesThrough(showFrames)));
        EXPECT_EQ(samples, static_cast<long>(timing.sampleAt(showFrames)));
        // The picture lasts as long as the sound, to within one video frame.
        const double frameSeconds = 1.0 / r.rate.perSecond();
        EXPECT_NEAR(static_cast<double>(frames) * frameSeconds, static_cast<double>(samples) / track.sampleRate,
                    frameSeconds);
    }
}

TEST_F(CaptureTest, ASupersampledFrameIsTheLargerFrameReduced) {
    // The same span drawn at the video's size times the factor, and averaged
    // here block by block, gives the supersampled video's pixels exactly
    // (both archives: the pixels as drawn).
    for (const int factor : {2, 3}) {
        SCOPED_TRACE("--supersample " + std::to_string(factor));
        const std::string size = std::to_string(64 * factor) + "x" + std::to_string(48 * factor);
        const std::string reduced = file("reduced.mkv"), large = file("large.mkv");
        const capture::Result a = capture::runShow({"--capture", reduced, "--archive", "--size", "64x48",
                                                    "--supersample", std::to_string(factor), "--to", cue::kQueenRoll},
                                                   pack);
        const capture::Result b =
            capture::runShow({"--capture", large, "--archive", "--size", size, "--to", cue::kQueenRoll}, pack);
        ASSERT_EQ(a.exitCode, 0) << a.err;
        ASSERT_EQ(b.exitCode, 0) << b.err;
        const std::vector<Picture> small = capture::decodeAll(reduced, "rgb24", 3);
        const std::vector<Picture> big = capture::decodeAll(large, "rgb24", 3);
        ASSERT_EQ(small.size(), big.size());
        ASSERT_FALSE(small.empty());
        const int bigWidth = 64 * factor, area = factor * factor;
        for (std::size_t i = 0; i < small.size(); ++i) {
            Picture expected(64 * 48 * 3);
            for (int y = 0; y < 48; ++y) {
                for (int x = 0; x < 64; ++x) {
                    for (int c = 0; c < 3; ++c) {
                        int sum = 0;
                        for (int dy = 0; dy < factor; ++dy) {
                            for (int dx = 0; dx < factor; ++dx) {
                                sum += big[i][((y * factor + dy) * bigWidth + x * factor + dx) * 3 + c];
                            }
                        }
                        expected[(y * 64 + x) * 3 + c] = static_cast<std::uint8_t>((sum + area / 2) / area);
                    }
                }
            }
            ASSERT_EQ(small[i], expected) << "video frame " << i;
        }
    }
}

TEST_F(CaptureTest, AStillSpanIsTheSameWithAndWithoutBlend) {
    // From the alien's entrance to its first cue the picture stands still
    // (after the section's first frame). Where the plain video holds one
    // picture over three video frames, the middle one's interval lies in the
    // still span, and its blend must be the picture, bit for bit.
    for (const char* rate : {"24000/1001", "60000/1001"}) {
        SCOPED_TRACE(rate);
        std::vector<std::vector<Picture>> videos;
        for (const bool blend : {false, true}) {
            const std::string name = file(blend ? "blend.mkv" : "plain.mkv");
            std::vector<std::string> arguments{"--capture",       name, "--archive", "--size",     "64x48",
                                               "--fps",           rate, "--from",    cue::kScene3, "--to",
                                               cue::kAlienSuicide};
            if (blend) arguments.push_back("--blend");
            const capture::Result run = capture::runShow(arguments, pack);
            ASSERT_EQ(run.exitCode, 0) << run.err;
            videos.push_back(capture::decodeAll(name, "rgb24", 3));
        }
        const std::vector<Picture>&plain = videos[0], &blended = videos[1];
        ASSERT_EQ(plain.size(), blended.size());
        std::size_t still = 0, moving = 0;
        for (std::size_t j = 1; j + 1 < plain.size(); ++j) {
            if (plain[j - 1] == plain[j] && plain[j] == plain[j + 1]) {
                ++still;
                EXPECT_EQ(blended[j], plain[j]) << "video frame " << j;
            } else {
                ++moving;
            }
        }
        // The span must be still for the test to mean anything.
        EXPECT_GT(still, 3 * moving) << still << " still video frames, " << moving << " others";
    }
}

TEST_F(CaptureTest, EveryKindOfVideoHasTheCuesOfItsSpanAsChapters) {
    // From scene3 the video starts at the frame that reads it; each later cue
    // that a captured frame reads is a chapter at its own time, counted from
    // the video's first frame; the closing cue's frame is never captured.
    const FrameTiming timing{12, 60, static_cast<std::uint64_t>(track.sampleRate)};
    const double startSeconds = static_cast<double>(readingFrame(cue::kScene3, timing)) * 0.012;
    const std::uint64_t closing = readingFrame(cue::kFadeToCredits, timing);
    std::vector<capture::ChapterMark> expected{{cue::kScene3, 0.0}};
    for (const WavCue& cue : track.cues) {
        const std::uint64_t frame = timing.frameContaining(cue.frame) + 1;
        if (frame > readingFrame(cue::kScene3, timing) && frame < closing) {
            expected.push_back({cue.label, static_cast<double>(cue.frame) / track.sampleRate - startSeconds});
        }
    }
    ASSERT_GE(expected.size(), 4u) << "too few cues after scene3 for the test to mean anything";
    const struct {
        const char* name;
        std::vector<std::string> options;
    } kinds[] = {{"show.mp4", {}}, {"show.webm", {}}, {"show.mkv", {}}, {"archive.mkv", {"--archive"}}};
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        std::vector<std::string> arguments{"--capture", file(kind.name), "--size", "64x48", "--from", cue::kScene3};
        arguments.insert(arguments.end(), kind.options.begin(), kind.options.end());
        const capture::Result run = capture::runShow(arguments, pack);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::vector<capture::ChapterMark> chapters = capture::chapters(file(kind.name));
        ASSERT_EQ(chapters.size(), expected.size());
        for (std::size_t i = 0; i < chapters.size(); ++i) {
            EXPECT_EQ(chapters[i].title, expected[i].title);
            EXPECT_NEAR(chapters[i].start, expected[i].start, 1.0 / 60) << chapters[i].title;
        }
        EXPECT_EQ(capture::formatTag(file(kind.name), "title"), "Marrowick");
        const std::string comment = capture::formatTag(file(kind.name), "comment");
        EXPECT_EQ(comment.rfind("from scene3 at ", 0), 0u) << comment;
        EXPECT_NE(comment.find(" to the closing cue at "), std::string::npos) << comment;
        EXPECT_FALSE(run.leftBehind);
        for (const auto& entry : fs::directory_iterator(out)) {
            EXPECT_EQ(entry.path().extension(), fs::path(kind.name).extension()) << "left " << entry.path();
        }
        fs::remove(file(kind.name));
    }
}

TEST_F(CaptureTest, AStillIsThatFrameOfAnArchivePixelForPixel) {
    // The still runs with nothing on the PATH: no ffmpeg. Each archive runs
    // to the next cue; the still's frame is its first.
    const struct {
        std::vector<std::string> options;  // the still's and the archive's
        const char* archiveTo;
        int width, height;
    } cases[] = {
        {{"--from", cue::kKubeShow, "--size", "320x240", "--supersample", "2"}, cue::kLittleChase, 320, 240},
        {{"--size", "96x54", "--stretch"}, cue::kQueenRoll, 96, 54},  // frame 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options[1]);
        std::vector<std::string> still{"--capture", file("still.png")},
            archive{"--capture", file("archive.mkv"), "--archive", "--to", c.archiveTo};
        still.insert(still.end(), c.options.begin(), c.options.end());
        archive.insert(archive.end(), c.options.begin(), c.options.end());
        const capture::Result stillRun = capture::runShow(still, pack, "/nonexistent");
        ASSERT_EQ(stillRun.exitCode, 0) << stillRun.err;
        ASSERT_EQ(capture::runShow(archive, pack).exitCode, 0);

        const std::vector<std::uint8_t> bytes = testsupport::readBytes(file("still.png"));
        ASSERT_GT(bytes.size(), 26u);
        EXPECT_EQ(bytes[24], 8) << "bits a channel";
        EXPECT_EQ(bytes[25], 2) << "colour type: RGB";
        const testsupport::RgbaImage png = testsupport::readPng(file("still.png"));
        ASSERT_EQ(png.width, c.width);
        ASSERT_EQ(png.height, c.height);
        Picture pixels;
        for (std::size_t i = 0; i < png.pixels.size(); i += 4) {
            pixels.insert(pixels.end(), &png.pixels[i], &png.pixels[i + 3]);
        }
        const std::vector<Picture> first = capture::decodeFrames(file("archive.mkv"), {0});
        ASSERT_EQ(first.size(), 1u);
        EXPECT_TRUE(pixels == first[0]) << "differs by " << difference(pixels, first[0], c.width) << " on average";
        EXPECT_GT(difference(pixels, Picture(pixels.size(), 0), c.width), 10.0) << "the still is nearly black";
        fs::remove(file("still.png"));
    }
}
