// A video's frame rate as a fraction of whole numbers. The rates of
// broadcast video (60000/1001, 30000/1001, 24000/1001) have no exact
// decimal or binary form, and a rate that is slightly off drifts a long
// video away from its sound; a fraction keeps the arithmetic exact.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct FrameRate {
    // Whole numbers at most this large in a rate as written; anything a
    // video format or ffmpeg's time bases can hold exactly.
    static constexpr std::uint64_t kLargestTerm = 1000000;
    static constexpr std::uint64_t kSlowest = 1;  // frames a second
    static constexpr std::uint64_t kFastest = 1000;

    std::uint64_t frames = 60;  // this many frames...
    std::uint64_t seconds = 1;  // ...in this many seconds, in lowest terms

    constexpr FrameRate() = default;
    // Whole rates convert implicitly: FrameRate{60} is 60 frames a second.
    constexpr FrameRate(std::uint64_t framesIn, std::uint64_t secondsIn = 1) : frames(framesIn), seconds(secondsIn) {}

    // "N" or "N/D" in whole numbers, reduced to lowest terms; nothing for
    // other text or a rate outside kSlowest..kFastest frames a second.
    static std::optional<FrameRate> parse(const std::string& text);

    // As ffmpeg and the messages write it: "60", "60000/1001".
    std::string text() const;
    double perSecond() const { return static_cast<double>(frames) / static_cast<double>(seconds); }

    friend bool operator==(const FrameRate& a, const FrameRate& b) {
        return a.frames == b.frames && a.seconds == b.seconds;
    }
    friend bool operator!=(const FrameRate& a, const FrameRate& b) { return !(a == b); }
};
