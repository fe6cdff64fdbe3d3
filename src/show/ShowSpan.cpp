#include "show/ShowSpan.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <memory>

#include "music/Cues.h"
#include "platform/DataPath.h"
#include "show/FrameTiming.h"
#include "show/UserText.h"

namespace {

// Digits only, as a whole number.
std::optional<std::uint64_t> digits(const std::string& text) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

std::string cueNames(const std::vector<Chapter>& chapters) {
    std::string names;
    for (const Chapter& chapter : chapters) names += (names.empty() ? "" : ", ") + chapter.name;
    return names;
}

// What a time typed wrong still looks like: a digit first, or a ':' or '.'
// among digits.
bool looksLikeATime(const std::string& text) {
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (text.empty()) return false;
    if (isDigit(text.front())) return true;
    const bool separator = text.find_first_of(":.") != std::string::npos;
    return separator && std::any_of(text.begin(), text.end(), isDigit);
}

}  // namespace

std::optional<std::uint64_t> parseShowTime(const std::string& text) {
    std::string whole = text;
    std::uint64_t ms = 0;
    const std::size_t dot = text.find('.');
    if (dot != std::string::npos) {
        const std::string fraction = text.substr(dot + 1);
        if (fraction.empty() || fraction.size() > 3 || !digits(fraction)) return std::nullopt;
        ms = *digits(fraction + std::string(3 - fraction.size(), '0'));
        whole = text.substr(0, dot);
    }
    const std::size_t colon = whole.find(':');
    if (colon == std::string::npos) {
        const std::optional<std::uint64_t> seconds = digits(whole);
        if (!seconds || *seconds > 1000000) return std::nullopt;
        return *seconds * 1000 + ms;
    }
    const std::optional<std::uint64_t> minutes = digits(whole.substr(0, colon));
    const std::string secondsText = whole.substr(colon + 1);
    const std::optional<std::uint64_t> seconds = digits(secondsText);
    if (!minutes || *minutes > 10000 || secondsText.size() != 2 || !seconds || *seconds > 59) return std::nullopt;
    return (*minutes * 60 + *seconds) * 1000 + ms;
}

std::string formatShowTime(std::uint64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%llu:%02llu.%03llu", static_cast<unsigned long long>(ms / 60000),
                  static_cast<unsigned long long>(ms / 1000 % 60), static_cast<unsigned long long>(ms % 1000));
    return text;
}

std::optional<TrackCues> readTrackCues(const std::string& dataName) {
    const std::optional<std::vector<std::uint8_t>> bytes = platform::readDataFile(dataName);
    if (!bytes) return std::nullopt;
    const std::unique_ptr<WavReader> reader = WavReader::open(bytes->data(), bytes->size());
    if (reader == nullptr) return std::nullopt;
    return TrackCues{reader->sampleRate(), reader->promisedFrames(), reader->cues()};
}

SpanPoint findSpanPoint(const std::string& moment, const std::vector<Chapter>& chapters, std::uint64_t trackMs,
                        std::uint32_t periodMs) {
    for (const Chapter& chapter : chapters) {
        if (chapter.name == moment) return {chapter.frame, ""};
    }
    if (const std::optional<std::uint64_t> ms = parseShowTime(moment)) {
        if (*ms >= trackMs)
            return {0, shownInMessage(moment) + " is past the end of the music (" + formatShowTime(trackMs) + ")"};
        return {(*ms + periodMs - 1) / periodMs, ""};
    }
    // "1:99" or "4x" was meant as a time: calling it an unknown cue would
    // send the user looking for a name they never meant.
    if (looksLikeATime(moment)) {
        return {0, "\"" + shownInMessage(moment) + "\" is neither a cue of the music nor a time (42, 42.5, " +
                       "1:02.250); its cues are " + cueNames(chapters)};
    }
    return {0, "the music has no cue named \"" + shownInMessage(moment) + "\"; its cues are " + cueNames(chapters)};
}

std::vector<Chapter> chaptersOf(const std::vector<WavCue>& cues, int sampleRate, std::uint32_t periodMs) {
    const FrameTiming timing{periodMs, 1, static_cast<std::uint64_t>(sampleRate)};
    std::vector<Chapter> chapters;
    for (const WavCue& cue : cues) {
        if (!cue.labelled) continue;
        const std::uint64_t ms = (static_cast<std::uint64_t>(cue.frame) * 2000 / sampleRate + 1) / 2;
        chapters.push_back({cue.label, timing.frameContaining(cue.frame) + 1, ms});
    }
    std::stable_sort(chapters.begin(), chapters.end(),
                     [](const Chapter& a, const Chapter& b) { return a.frame < b.frame; });
    return chapters;
}

SpanOrError resolveSpan(const std::string& from, const std::string& to, const TrackCues& track,
                        std::uint32_t periodMs) {
    const std::vector<Chapter> chapters = chaptersOf(track.cues, track.sampleRate, periodMs);
    ShowSpan span;
    if (!from.empty()) {
        const SpanPoint point = findSpanPoint(from, chapters, track.lengthMs(), periodMs);
        if (!point.error.empty()) return {{}, "--from: " + point.error};
        span.start = point.frame;
    }
    if (!to.empty()) {
        const SpanPoint point = findSpanPoint(to, chapters, track.lengthMs(), periodMs);
        if (!point.error.empty()) return {{}, "--to: " + point.error};
        if (point.frame <= span.start && !from.empty()) {
            return {{},
                    "--to " + shownInMessage(to) + " comes before --from " + shownInMessage(from) + " in the music"};
        }
        if (point.frame == 0) {
            return {{},
                    "--to " + shownInMessage(to) +
                        " is where the show starts: there is nothing to show; its cues are " + cueNames(chapters)};
        }
        span.stop = point.frame;
    }
    // The frame that reads the closing cue ends the show before it draws.
    for (const Chapter& chapter : chapters) {
        if (chapter.name == cue::kFadeToCredits && span.start >= chapter.frame) {
            return {{},
                    "--from " + shownInMessage(from) + " is at or after the closing cue, " + chapter.name + " (" +
                        formatShowTime(chapter.ms) + "): there is nothing to show; its cues are " + cueNames(chapters)};
        }
    }
    return {span, ""};
}
