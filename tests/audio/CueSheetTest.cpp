// The browser edition's stand-in for the track: its cue sheet must move the
// show as the WAV does, and a sheet that is not whole and sound is refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "WavBuilder.h"
#include "WorkingDirectory.h"
#include "audio/CueSheet.h"
#include "audio/StreamingTrack.h"
#include "audio/WavFile.h"

using audio::StreamingTrack;

TEST(CueSheet, ATrackAndItsCueSheetOpenAlikeButSilent) {
    const testsupport::ScratchDirectory scratch;
    const std::string wav = (scratch.path() / "track.wav").string();
    testsupport::writeWav(wav, 22050, 2, 30001, {{5, "first"}, {22050, std::nullopt}, {30000, "last one"}});
    std::ifstream in(wav, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::unique_ptr<WavReader> reader = WavReader::open(bytes.data(), bytes.size());
    ASSERT_NE(reader, nullptr);
    const std::string sheet = (scratch.path() / "track.cues").string();
    std::ofstream(sheet) << audio::writeCueSheet({reader->sampleRate(), reader->channels(), 30001, reader->cues()});

    const std::unique_ptr<StreamingTrack> fromWav = StreamingTrack::open(wav, 100000);
    const std::unique_ptr<StreamingTrack> fromSheet = StreamingTrack::open(sheet, 0);
    ASSERT_NE(fromWav, nullptr);
    ASSERT_NE(fromSheet, nullptr);
    EXPECT_EQ(fromSheet->sampleRate(), fromWav->sampleRate());
    EXPECT_EQ(fromSheet->channels(), fromWav->channels());
    EXPECT_TRUE(fromSheet->progress().whole) << "a sheet is whole at once";
    EXPECT_EQ(fromSheet->whole().frames(), fromWav->whole().frames());
    ASSERT_EQ(fromSheet->cues().size(), fromWav->cues().size());
    for (std::size_t i = 0; i < fromWav->cues().size(); ++i) {
        const WavCue& a = fromWav->cues()[i];
        const WavCue& b = fromSheet->cues()[i];
        EXPECT_EQ(std::tie(a.id, a.frame, a.label, a.labelled), std::tie(b.id, b.frame, b.label, b.labelled)) << i;
    }
    const std::vector<std::int16_t>& silence = fromSheet->whole().samples;
    EXPECT_EQ(std::count(silence.begin(), silence.end(), 0), static_cast<long>(silence.size()));
}

TEST(CueSheet, OnlyAWholeSoundSheetIsRead) {
    const std::string good = "cue-sheet 1\nrate 44100\nchannels 2\nframes 1000\ncue 1 999 end\n";
    ASSERT_TRUE(audio::readCueSheet(good));
    const struct {
        const char* what;
        std::string text;
    } bad[] = {
        {"another format", "RIFF....WAVE"},
        {"no length", "cue-sheet 1\nrate 44100\nchannels 2\n"},
        {"no rate", "cue-sheet 1\nchannels 2\nframes 10\n"},
        {"a rate of nothing", "cue-sheet 1\nrate 0\nchannels 2\nframes 10\n"},
        {"too many channels", "cue-sheet 1\nrate 44100\nchannels 99\nframes 10\n"},
        {"a cue past the end", "cue-sheet 1\nrate 44100\nchannels 2\nframes 1000\ncue 1 1000 late\n"},
        {"a cue without its frame", "cue-sheet 1\nrate 44100\nchannels 2\nframes 1000\ncue 1\n"},
        {"a line it does not know", "cue-sheet 1\nrate 44100\nchannels 2\nframes 1000\nloop 1\n"},
        {"a number that is not", "cue-sheet 1\nrate fast\nchannels 2\nframes 1000\n"},
    };
    for (const auto& b : bad) EXPECT_FALSE(audio::readCueSheet(b.text)) << b.what;
}
