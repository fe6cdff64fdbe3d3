// The moments --from and --to name: times as the user types them, and the
// one line that answers a moment the music does not have.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "show/ShowSpan.h"

// A fraction of one or two digits is tenths or hundredths, never thousandths;
// every other shape is refused rather than read as something near it.
TEST(ShowTime, EachWrittenTimeMeansItsMillisecondsAndOthersAreRefused) {
    const struct {
        const char* text;
        std::optional<std::uint64_t> ms;
    } cases[] = {
        {"42", 42000},
        {"0", 0},
        {"42.5", 42500},
        {"42.05", 42050},
        {"42.005", 42005},
        {"42.250", 42250},
        {"0.07", 70},
        {"1:02.250", 62250},
        {"1:02.5", 62500},
        {"1:02", 62000},
        {"0:59", 59000},
        {"10:00.01", 600010},
        {"1000000", 1000000000},
        {"1:99", std::nullopt},
        {"1:60", std::nullopt},
        {"4x", std::nullopt},
        {"1:2", std::nullopt},
        {"1:002", std::nullopt},
        {".5", std::nullopt},
        {"42.", std::nullopt},
        {"42.1234", std::nullopt},
        {"1:02.", std::nullopt},
        {":30", std::nullopt},
        {"1:", std::nullopt},
        {"1:02:03", std::nullopt},
        {"4.2.5", std::nullopt},
        {"-1", std::nullopt},
        {"+5", std::nullopt},
        {" 42", std::nullopt},
        {"42 ", std::nullopt},
        {"42.5x", std::nullopt},
        {"1000001", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseShowTime(c.text), c.ms) << '"' << c.text << '"';
    }
}

// A cue or a time finds its frame; anything else gets one line that names the
// cues there are, and says it is no time only when it was meant as one.
TEST(ShowSpanPoint, AMomentFindsItsFrameOrOneLineSayingWhatItIsNot) {
    const std::vector<Chapter> chapters = {{"queenRoll", 10, 108}, {"pesants", 500, 5988}};
    const std::string cues = "its cues are queenRoll, pesants";
    const std::string notATime = " is neither a cue of the music nor a time (42, 42.5, 1:02.250); " + cues;
    const struct {
        const char* moment;
        std::uint64_t frame;
        std::string error;
    } cases[] = {
        {"pesants", 500, ""},
        {"42", 3500, ""},
        {"42.5", 3542, ""},
        {"0:00.012", 1, ""},
        {"1:00", 0, "1:00 is past the end of the music (1:00.000)"},
        {"1:99", 0, "\"1:99\"" + notATime},
        {"4x", 0, "\"4x\"" + notATime},
        {".5", 0, "\".5\"" + notATime},
        {"42.1234", 0, "\"42.1234\"" + notATime},
        {"v.2", 0, "\"v.2\"" + notATime},
        {"1:\n9", 0, "\"1:\\n9\"" + notATime},
        {"noSuchCue", 0, "the music has no cue named \"noSuchCue\"; " + cues},
        {"Pesants", 0, "the music has no cue named \"Pesants\"; " + cues},
        {"scene3", 0, "the music has no cue named \"scene3\"; " + cues},
        {"a:b", 0, "the music has no cue named \"a:b\"; " + cues},
        {"end.", 0, "the music has no cue named \"end.\"; " + cues},
    };
    for (const auto& c : cases) {
        const SpanPoint point = findSpanPoint(c.moment, chapters, 60000, 12);
        EXPECT_EQ(point.error, c.error) << c.moment;
        EXPECT_EQ(point.frame, c.frame) << c.moment;
    }
}
