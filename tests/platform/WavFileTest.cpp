#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/RiffLabels.h"
#include "platform/WavFile.h"

namespace {

const std::string kWavDir = std::string(MARROWICK_TESTDATA_DIR) + "/wav/";

std::vector<unsigned char> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

WavSound load(const std::string& name) {
    std::optional<WavSound> wav = loadWav(kWavDir + name);
    if (!wav) ADD_FAILURE() << name << " did not decode";
    return wav.value_or(WavSound{});
}

struct ExpectedCue {
    std::uint32_t id;
    std::uint32_t frame;
    const char* label;
};

void expectCues(const std::string& name, const std::vector<ExpectedCue>& expected) {
    SCOPED_TRACE(name);
    const WavSound wav = load(name);
    ASSERT_EQ(wav.cues.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(wav.cues[i].id, expected[i].id);
        EXPECT_EQ(wav.cues[i].frame, expected[i].frame);
        EXPECT_TRUE(wav.cues[i].labelled);
        EXPECT_EQ(wav.cues[i].label, expected[i].label);
    }
}

// Where the `data` chunk's bytes are, found by walking the chunks.
std::pair<std::size_t, std::size_t> dataChunk(const std::vector<unsigned char>& bytes) {
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        std::uint32_t size;
        std::memcpy(&size, &bytes[at + 4], 4);
        if (std::memcmp(&bytes[at], "data", 4) == 0) return {at + 8, std::min<std::size_t>(size, bytes.size() - at - 8)};
        at += 8 + size + (size & 1);
    }
    return {0, 0};
}

}  // namespace

TEST(WavFile, EveryCueAndLabelOfTheMarkerFiles) {
    expectCues("wavefile-js/test-cue-reaper.wav", {{1, 8000, "test cue reaper"}});
    expectCues("wavefile-js/16bit-16kHz-2markers-mono.wav", {{1, 24000, "wave1"}, {2, 72000, "wave2"}});
    expectCues("wavefile-js/16bit-8kHz-1c-reaper-utf8cue.wav", {{1, 4000, "\xCE\xA9"}});
    expectCues("wavefile-js/16bit-9khz-1c-1region-reaper.wav", {{1, 4000, ""}});
    expectCues("wavefile-js/Audacity-16bit-lots-of-markers.wav",
               {{1, 11025, "m2"},
                {2, 23108, "maker2"},
                {3, 34133, "marker with a really long name"},
                {4, 52655, "more markers"},
                {5, 74264, "this is marker 5"},
                {6, 122333, "marker 6"},
                {7, 164669, "a marker close to the end"}});
}

TEST(WavFile, LabelsBetweenTextChunksAreAllFound) {
    // Each labl is followed by an ltxt; libsndfile alone stops after the first.
    std::vector<ExpectedCue> expected;
    const char* labels[16] = {"Hat + Kick", "Hat", "Hat", "Hat", "Snare + Clap + Hat", "Hat", "Hat", "Hat",
                              "Kick + Hat", "Hat", "Hat", "Hat", "Clap + Snare + Hat", "Hat", "Kick + Hat", "Hat"};
    for (std::uint32_t i = 0; i < 16; ++i) expected.push_back({i + 1, i * 6750, labels[i]});
    expectCues("go-audio/flloop.wav", expected);
}

TEST(WavFile, PositionComesFromTheSampleOffsetAndLabelsFromALowerCaseList) {
    // Every dwPosition in this file is 0; the real place is the sample offset.
    expectCues("wavinfo/STE-000.wav", {{1, 29616, "01"}, {2, 74592, "02"}, {3, 121200, "03"}});
}

TEST(WavFile, FilesWithoutCuesHaveNone) {
    for (const char* name : {"go-audio/kick.wav", "raylib/coin.wav", "wavinfo/umid.wav", "go-audio/listChunkInHeader.wav"}) {
        SCOPED_TRACE(name);
        const WavSound wav = load(name);
        EXPECT_TRUE(wav.cues.empty());
        EXPECT_GT(wav.frames(), 0u);
    }
}

TEST(WavFile, UnusualFormatsDecodeToTheirSamples) {
    // The 16-bit value each source sample should become: 8-bit data is
    // unsigned around 128, wider integers keep their top 16 bits (rounded).
    struct Case {
        const char* name;
        int channels;
        int rate;
        std::uint32_t frames;
        int bytesPerSample;  // of the raw data; 0: compare frame count only
    };
    const Case cases[] = {
        {"scipy/test-8000Hz-le-2ch-1byteu.wav", 2, 8000, 800, 1},
        {"raylib/boom.wav", 1, 22050, 13619, 1},  // odd data size, pad byte missing
        {"raylib/coin.wav", 1, 22050, 18069, 1},
        {"go-audio/listChunkInHeader.wav", 2, 44100, 15318, 3},
        {"wavinfo/umid.wav", 1, 44100, 44100, 3},  // bext before fmt
        {"hound/waveformatextensible-24bit-192kHz-mono.wav", 1, 192000, 4, 3},
        {"raylib/sound.wav", 1, 44100, 24367, 4},
        {"wavefile-rb/format_chunk_extra_bytes_with_odd_size_and_padding_byte.wav", 1, 44100, 2240, 1},
        {"wavefile-rb/with_smpl_chunk_before_data_chunk.wav", 2, 44100, 2240, 2},
        {"hound/nonstandard-01.wav", 2, 48000, 1, 3},
        {"wavefile-js/27bit-8kHz-noBext-mono.wav", 1, 8000, 48000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WavSound wav = load(c.name);
        EXPECT_EQ(wav.channels, c.channels);
        EXPECT_EQ(wav.sampleRate, c.rate);
        ASSERT_EQ(wav.frames(), c.frames);
        if (c.bytesPerSample == 0) continue;
        const std::vector<unsigned char> bytes = fileBytes(kWavDir + c.name);
        const auto [offset, size] = dataChunk(bytes);
        ASSERT_GE(size, wav.samples.size() * c.bytesPerSample);
        int mismatches = 0;
        for (std::size_t i = 0; i < wav.samples.size(); ++i) {
            const unsigned char* raw = &bytes[offset + i * c.bytesPerSample];
            long expected;
            if (c.bytesPerSample == 1) {
                expected = (raw[0] - 128) * 256;
            } else {
                // Little-endian two's complement, top two bytes plus rounding from the rest.
                std::int64_t value = static_cast<std::int8_t>(raw[c.bytesPerSample - 1]);
                for (int b = c.bytesPerSample - 2; b >= 0; --b) value = value * 256 + raw[b];
                const int dropBits = 8 * (c.bytesPerSample - 2);
                expected = std::min<std::int64_t>((value + (dropBits ? (1LL << (dropBits - 1)) : 0)) >> dropBits, 32767);
            }
            // Rounding of an exact half may go either way.
            if (std::abs(wav.samples[i] - expected) > 1) ++mismatches;
        }
        EXPECT_EQ(mismatches, 0);
    }
}

TEST(WavFile, FloatBeyondFullScaleIsClippedAndMuLawIsDecoded) {
    // Raw float values 2, 3, -16411, 1019: far beyond full scale.
    const WavSound floats = load("hound/waveformatextensible-ieeefloat-44100Hz-mono.wav");
    EXPECT_EQ(floats.samples, (std::vector<std::int16_t>{32767, 32767, -32768, 32767}));

    // G.711 mu-law, decoded by the standard's rule, not read as 8-bit PCM.
    const WavSound ulaw = load("scipy/test-8000Hz-le-1ch-1byte-ulaw.wav");
    const std::vector<unsigned char> bytes = fileBytes(kWavDir + "scipy/test-8000Hz-le-1ch-1byte-ulaw.wav");
    const auto [offset, size] = dataChunk(bytes);
    ASSERT_EQ(ulaw.frames(), size);
    for (std::size_t i = 0; i < size; ++i) {
        const int code = ~bytes[offset + i] & 0xFF;
        const int magnitude = (((code & 0x0F) << 3) + 0x84) << ((code & 0x70) >> 4);
        const int expected = (code & 0x80) ? 0x84 - magnitude : magnitude - 0x84;
        EXPECT_EQ(ulaw.samples[i], expected) << "sample " << i;
    }
}

TEST(WavFile, TruncatedFileGivesWhatIsThereAndNonsenseGivesNothing) {
    const WavSound truncated = load("scipy/test-44100Hz-le-1ch-4bytes-early-eof.wav");
    EXPECT_GT(truncated.frames(), 0u);
    EXPECT_LT(truncated.frames(), 4410u) << "only the bytes present are samples";

    EXPECT_FALSE(loadWav(kWavDir + "no-such-file.wav"));
    const char text[] = "this is not a sound file at all";
    EXPECT_FALSE(decodeWav(reinterpret_cast<const unsigned char*>(text), sizeof text));
    EXPECT_FALSE(decodeWav(nullptr, 0));
}

TEST(RiffLabels, SurvivesChunkSizesThatLieAndIgnoresOtherLists) {
    // RIFF WAVE, an INFO list with a labl-looking chunk (not adtl: ignored),
    // then an adtl list whose last labl has an odd size, no pad and a size
    // that runs past the end of the file.
    std::vector<unsigned char> riff;
    auto put = [&](const std::string& s) { riff.insert(riff.end(), s.begin(), s.end()); };
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) riff.push_back(static_cast<unsigned char>(v >> (8 * i)));
    };
    put("RIFF");
    put32(0xFFFFFFF0u);
    put("WAVE");
    put("LIST");
    put32(4 + 8 + 6);
    put("INFO");
    put("labl");
    put32(6);
    put32(9);
    put(std::string("x\0", 2));
    put("LIST");
    put32(4 + 8 + 7 + 1 + 8 + 40);
    put("adtl");
    put("labl");
    put32(7);
    put32(1);
    put(std::string("ab\0", 3));
    riff.push_back(0);  // pad
    put("labl");
    put32(40);
    put32(2);
    put("unterminated");

    const auto labels = readCueLabels(riff.data(), riff.size());
    EXPECT_EQ(labels, (std::map<std::uint32_t, std::string>{{1, "ab"}, {2, "unterminated"}}));
    // A file cut anywhere gives at most these labels, each possibly cut short.
    for (std::size_t n = 0; n < riff.size(); ++n) {
        for (const auto& [id, text] : readCueLabels(riff.data(), n)) {
            ASSERT_TRUE(id == 1 || id == 2) << "cut at " << n;
            EXPECT_EQ(labels.at(id).compare(0, text.size(), text), 0) << "cut at " << n;
        }
    }
}
