#include "capture/VideoMetadata.h"

namespace {

// In FFMETADATA these begin a comment or a section, end a key, or escape.
std::string escaped(const std::string& value) {
    std::string out;
    for (const char c : value) {
        if (c == '=' || c == ';' || c == '#' || c == '\\' || c == '\n') out += '\\';
        out += c;
    }
    return out;
}

}  // namespace

std::vector<VideoChapter> spanChapters(const std::vector<Chapter>& cues, std::uint64_t start, std::uint64_t frames,
                                       std::uint32_t periodMs) {
    const std::uint64_t startMs = start * periodMs;
    std::vector<VideoChapter> chapters{{"start", 0, 0}};
    for (const Chapter& cue : cues) {
        if (cue.frame <= start) {
            chapters.front().title = cue.name;
        } else if (cue.frame < start + frames) {
            const std::uint64_t at = cue.ms > startMs ? cue.ms - startMs : 0;
            // A chapter that would last no time at all gives way to the next.
            if (at <= chapters.back().startMs) chapters.pop_back();
            chapters.push_back({cue.name, at, 0});
        }
    }
    for (std::size_t i = 0; i < chapters.size(); ++i) {
        chapters[i].endMs = i + 1 < chapters.size() ? chapters[i + 1].startMs : frames * periodMs;
    }
    return chapters;
}

VideoMetadata captureMetadata(const std::vector<Chapter>& cues, std::uint64_t start, std::uint64_t frames,
                              std::uint32_t periodMs, const std::string& from, const std::string& to) {
    const std::string comment = "from " + (from.empty() ? std::string("the start") : from) + " at " +
                                formatShowTime(start * periodMs) + " to " +
                                (to.empty() ? std::string("the closing cue") : to) + " at " +
                                formatShowTime((start + frames) * periodMs);
    return {"Marrowick", comment, spanChapters(cues, start, frames, periodMs)};
}

std::string ffmetadataText(const VideoMetadata& metadata) {
    std::string text =
        ";FFMETADATA1\ntitle=" + escaped(metadata.title) + "\ncomment=" + escaped(metadata.comment) + "\n";
    for (const VideoChapter& chapter : metadata.chapters) {
        text += "\n[CHAPTER]\nTIMEBASE=1/1000\nSTART=" + std::to_string(chapter.startMs) +
                "\nEND=" + std::to_string(chapter.endMs) + "\ntitle=" + escaped(chapter.title) + "\n";
    }
    return text;
}
