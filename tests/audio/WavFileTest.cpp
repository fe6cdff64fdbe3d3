#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "TestData.h"
#include "audio/RiffLabels.h"
#include "audio/WavFile.h"

namespace {

const std::string kWavDir = testsupport::testDataPath("wav/");

WavSound load(const std::string& name) {
    std::optional<WavSound> wav = loadWav(kWavDir + name);
    if (!wav) ADD_FAILURE() << name << " did not decode";
    return wav.value_or(WavSound{});
}

// id, frame, label of each cue
using Cues = std::vector<std::tuple<std::uint32_t, std::uint32_t, std::string>>;

Cues cuesOf(const std::string& name) {
    Cues cues;
    for (const WavCue& cue : load(name).cues) cues.emplace_back(cue.id, cue.frame, cue.labelled ? cue.label : "<none>");
    return cues;
}

// The raw bytes of the file's `data` chunk.
std::vector<unsigned char> dataBytes(const std::string& name) {
    std::ifstream in(kWavDir + name, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        std::uint32_t size;
        std::memcpy(&size, &bytes[at + 4], 4);
        const auto body = bytes.begin() + static_cast<std::ptrdiff_t>(at + 8);
        if (std::memcmp(&bytes[at], "data", 4) == 0) {
            return {body, body + static_cast<std::ptrdiff_t>(std::min<std::size_t>(size, bytes.size() - at - 8))};
        }
        at += 8 + size + (size & 1);
    }
    return {};
}

// A silent 16-bit mono file at 8000 Hz with `count` cue points, one every 10
// frames from frame 0, numbered from 1 and each labelled "cue <id>". Every
// dwPosition is 0, as some writers leave it.
std::vector<unsigned char> wavWithCues(std::uint32_t count) {
    std::vector<unsigned char> bytes;
    const auto put = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
    };
    const auto tag = [&](const char* fourcc) { bytes.insert(bytes.end(), fourcc, fourcc + 4); };
    const std::uint32_t frames = 10 * count + 10;
    tag("RIFF");
    put(0, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);  // PCM
    put(1, 2);
    put(8000, 4);
    put(16000, 4);
    put(2, 2);
    put(16, 2);
    tag("data");
    put(2 * frames, 4);
    bytes.insert(bytes.end(), 2 * frames, 0);
    tag("cue ");
    put(4 + 24 * count, 4);
    put(count, 4);
    for (std::uint32_t i = 0; i < count; ++i) {
        put(i + 1, 4);
        put(0, 4);
        tag("data");
        put(0, 4);
        put(0, 4);
        put(10 * i, 4);
    }
    tag("LIST");
    const std::size_t listSize = bytes.size();
    put(0, 4);
    tag("adtl");
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string text = "cue " + std::to_string(i + 1);
        tag("labl");
        put(static_cast<std::uint32_t>(4 + text.size() + 1), 4);
        put(i + 1, 4);
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.push_back(0);
        if ((text.size() + 1) % 2 != 0) bytes.push_back(0);
    }
    const auto patch = [&](std::size_t at, std::size_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    patch(listSize, bytes.size() - listSize - 4);
    patch(4, bytes.size() - 8);
    return bytes;
}

}  // namespace

TEST(WavFile, EveryCuePointWhateverTheirNumber) {
    // libsndfile's SF_CUES declares room for 100 points and reads up to 2500.
    // 141 is the count of the file fuzz_wav found beyond those 100.
    for (const std::uint32_t count : {1u, 100u, 101u, 141u, 2500u}) {
        SCOPED_TRACE(count);
        const std::vector<unsigned char> bytes = wavWithCues(count);
        const std::optional<WavSound> wav = decodeWav(bytes.data(), bytes.size());
        ASSERT_TRUE(wav);
        EXPECT_EQ(wav->frames(), 10 * count + 10);
        Cues expected;
        for (std::uint32_t i = 0; i < count; ++i) expected.emplace_back(i + 1, 10 * i, "cue " + std::to_string(i + 1));
        Cues read;
        for (const WavCue& cue : wav->cues) read.emplace_back(cue.id, cue.frame, cue.labelled ? cue.label : "<none>");
        EXPECT_EQ(read, expected);
    }
}

TEST(WavFile, EveryCueAndLabelOfTheMarkerFiles) {
    SKIP_WITHOUT_TESTDATA();
    EXPECT_EQ(cuesOf("wavefile-js/test-cue-reaper.wav"), (Cues{{1, 8000, "test cue reaper"}}));
    EXPECT_EQ(cuesOf("wavefile-js/16bit-16kHz-2markers-mono.wav"), (Cues{{1, 24000, "wave1"}, {2, 72000, "wave2"}}));
    EXPECT_EQ(cuesOf("wavefile-js/16bit-8kHz-1c-reaper-utf8cue.wav"), (Cues{{1, 4000, "\xCE\xA9"}}));
    EXPECT_EQ(cuesOf("wavefile-js/16bit-9khz-1c-1region-reaper.wav"), (Cues{{1, 4000, ""}}));
    EXPECT_EQ(cuesOf("wavefile-js/Audacity-16bit-lots-of-markers.wav"),
              (Cues{{1, 11025, "m2"},
                    {2, 23108, "maker2"},
                    {3, 34133, "marker with a really long name"},
                    {4, 52655, "more markers"},
                    {5, 74264, "this is marker 5"},
                    {6, 122333, "marker 6"},
                    {7, 164669, "a marker close to the end"}}));
    // Each labl followed by an ltxt: libsndfile alone stops after the first.
    const char* beats[16] = {"Hat + Kick", "Hat", "Hat", "Hat", "Snare + Clap + Hat", "Hat", "Hat",        "Hat",
                             "Kick + Hat", "Hat", "Hat", "Hat", "Clap + Snare + Hat", "Hat", "Kick + Hat", "Hat"};
    Cues loop;
    for (std::uint32_t i = 0; i < 16; ++i) loop.emplace_back(i + 1, i * 6750, beats[i]);
    EXPECT_EQ(cuesOf("go-audio/flloop.wav"), loop);
    // Every dwPosition here is 0: the place is the sample offset. The list chunk is a lower-case "list".
    EXPECT_EQ(cuesOf("wavinfo/STE-000.wav"), (Cues{{1, 29616, "01"}, {2, 74592, "02"}, {3, 121200, "03"}}));
    EXPECT_EQ(cuesOf("go-audio/kick.wav"), Cues{});
    EXPECT_EQ(cuesOf("wavinfo/umid.wav"), Cues{});
}

TEST(WavFile, UnusualFormatsDecodeToTheirSamples) {
    SKIP_WITHOUT_TESTDATA();
    // 8-bit data is unsigned around 128; wider integers keep their top 16 bits.
    struct Case {
        const char* name;
        int channels;
        int rate;
        std::uint32_t frames;
        std::size_t bytesPerSample;
    };
    const Case cases[] = {
        {"scipy/test-8000Hz-le-2ch-1byteu.wav", 2, 8000, 800, 1},
        {"wavefile-js/Audacity-16bit-lots-of-markers.wav", 2, 44100, 217705, 2},  // read as stored
        {"wavefile-rb/mono_pcm_16_44100_junk_chunk_final_chunk_missing_padding_byte.wav", 1, 44100, 2240, 2},
        {"raylib/boom.wav", 1, 22050, 13619, 1},  // odd data size, pad byte missing
        {"go-audio/listChunkInHeader.wav", 2, 44100, 15318, 3},
        {"wavinfo/umid.wav", 1, 44100, 44100, 3},  // bext before fmt
        {"hound/waveformatextensible-24bit-192kHz-mono.wav", 1, 192000, 4, 3},
        {"raylib/sound.wav", 1, 44100, 24367, 4},
        {"wavefile-rb/format_chunk_extra_bytes_with_odd_size_and_padding_byte.wav", 1, 44100, 2240, 1},
        {"hound/nonstandard-01.wav", 2, 48000, 1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WavSound wav = load(c.name);
        EXPECT_EQ(wav.channels, c.channels);
        EXPECT_EQ(wav.sampleRate, c.rate);
        ASSERT_EQ(wav.frames(), c.frames);
        const std::vector<unsigned char> raw = dataBytes(c.name);
        ASSERT_GE(raw.size(), wav.samples.size() * c.bytesPerSample);
        int mismatches = 0;
        for (std::size_t i = 0; i < wav.samples.size(); ++i) {
            const unsigned char* s = &raw[i * c.bytesPerSample];
            const int high = c.bytesPerSample == 1
                                 ? (s[0] - 128) * 256
                                 : static_cast<std::int8_t>(s[c.bytesPerSample - 1]) * 256 + s[c.bytesPerSample - 2];
            // Rounding from the dropped bytes moves a value by at most one.
            if (std::abs(wav.samples[i] - high) > 1) ++mismatches;
        }
        EXPECT_EQ(mismatches, 0);
    }
    // Float values 2, 3, -16411 and 1019, far beyond full scale: clipped, not wrapped.
    EXPECT_EQ(load("hound/waveformatextensible-ieeefloat-44100Hz-mono.wav").samples,
              (std::vector<std::int16_t>{32767, 32767, -32768, 32767}));
    EXPECT_EQ(load("wavefile-js/27bit-8kHz-noBext-mono.wav").frames(), 48000u);

    // G.711 mu-law, decoded by the standard's rule rather than read as 8-bit PCM.
    const WavSound ulaw = load("scipy/test-8000Hz-le-1ch-1byte-ulaw.wav");
    const std::vector<unsigned char> codes = dataBytes("scipy/test-8000Hz-le-1ch-1byte-ulaw.wav");
    ASSERT_EQ(ulaw.frames(), codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const int code = ~codes[i] & 0xFF;
        const int magnitude = (((code & 0x0F) << 3) + 0x84) << ((code & 0x70) >> 4);
        EXPECT_EQ(ulaw.samples[i], (code & 0x80) ? 0x84 - magnitude : magnitude - 0x84) << "sample " << i;
    }
}

TEST(WavFile, TruncatedFileGivesWhatIsThereAndNonsenseGivesNothing) {
    SKIP_WITHOUT_TESTDATA();
    const WavSound truncated = load("scipy/test-44100Hz-le-1ch-4bytes-early-eof.wav");
    EXPECT_GT(truncated.frames(), 0u);
    EXPECT_LT(truncated.frames(), 4410u) << "only the bytes present are samples";
    EXPECT_FALSE(loadWav(kWavDir + "no-such-file.wav"));
    const char text[] = "this is not a sound file at all";
    EXPECT_FALSE(decodeWav(reinterpret_cast<const unsigned char*>(text), sizeof text));
    EXPECT_FALSE(decodeWav(nullptr, 0));
}

// Each file is read from a heap block of exactly its size, whole and cut
// anywhere, so that a read past the end is an address-sanitizer error.
TEST(RiffLabels, SurvivesChunkSizesThatLieAndIgnoresOtherLists) {
    const auto exactCopy = [](const std::string& bytes, std::size_t size) {
        auto copy = std::make_unique<unsigned char[]>(size);
        std::memcpy(copy.get(), bytes.data(), size);
        return copy;
    };
    // An INFO list holding a labl-like chunk (ignored), then an adtl list
    // whose first labl has an odd size and whose last runs past the end.
    std::string lying = "RIFF\xF0\xFF\xFF\xFFWAVE";
    lying += std::string("LIST\x12\0\0\0INFOlabl\x06\0\0\0\x09\0\0\0x\0", 26);
    lying += std::string("LIST\x44\0\0\0adtl", 12);
    lying += std::string("labl\x07\0\0\0\x01\0\0\0ab\0\0", 16);
    lying += std::string("labl\x28\0\0\0\x02\0\0\0unterminated", 24);
    // An even-sized labl whose text has no NUL, right before another chunk:
    // the text ends with the labl chunk.
    std::string unterminated("RIFF\x2C\0\0\0WAVE", 12);
    unterminated += std::string("LIST\x20\0\0\0adtl", 12);
    unterminated += std::string("labl\x08\0\0\0\x03\0\0\0abcd", 16);
    unterminated += std::string("ltxt\x04\0\0\0\x03\0\0\0", 12);
    const struct {
        const char* what;
        std::string riff;
        std::map<std::uint32_t, std::string> labels;
    } files[] = {
        {"sizes that lie", lying, {{1, "ab"}, {2, "unterminated"}}},
        {"an unterminated text before another chunk", unterminated, {{3, "abcd"}}},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.what);
        EXPECT_EQ(readCueLabels(exactCopy(file.riff, file.riff.size()).get(), file.riff.size()), file.labels);
        // Cut anywhere, the file gives some of these labels, each perhaps cut short.
        for (std::size_t n = 0; n < file.riff.size(); ++n) {
            for (const auto& [id, text] : readCueLabels(exactCopy(file.riff, n).get(), n)) {
                ASSERT_EQ(file.labels.count(id), 1u) << "cut at " << n;
                EXPECT_EQ(file.labels.at(id).compare(0, text.size(), text), 0) << "cut at " << n;
            }
        }
    }
}
