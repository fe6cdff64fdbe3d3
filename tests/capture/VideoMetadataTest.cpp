// The chapters a video is given: which cues of the track fall inside its
// span, what the first is called, where each begins and ends counted from
// the video's first frame; and the metadata file ffmpeg reads them from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/VideoMetadata.h"

namespace {

// Cues read by frames 10, 20 and 30 of 12 ms, at their own times just
// before each of those frames starts.
const std::vector<Chapter> kCues{{"one", 10, 115}, {"two", 20, 233}, {"three", 30, 350}};

std::string listed(const std::vector<VideoChapter>& chapters) {
    std::string text;
    for (const VideoChapter& c : chapters) {
        text += c.title + " " + std::to_string(c.startMs) + "-" + std::to_string(c.endMs) + "; ";
    }
    return text;
}

}  // namespace

TEST(VideoMetadata, ChaptersAreTheCuesInsideTheSpanFromItsFirstFrame) {
    const struct {
        const char* what;
        std::uint64_t start, frames;
        const char* chapters;
    } cases[] = {
        {"the whole track", 0, 40, "start 0-115; one 115-233; two 233-350; three 350-480; "},
        {"from a cue's frame", 20, 20, "two 0-110; three 110-240; "},
        {"from between cues", 15, 10, "one 0-53; two 53-120; "},
        // The frame that would read a cue is not in the video: nor is its chapter.
        {"to a cue's frame", 0, 20, "start 0-115; one 115-240; "},
        {"before any cue", 0, 5, "start 0-60; "},
        {"after the last", 31, 4, "three 0-48; "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(listed(spanChapters(kCues, c.start, c.frames, 12)), c.chapters) << c.what;
    }
    // A cue timed at the span's first moment (read by its second frame)
    // takes the first chapter: no chapter lasts no time.
    EXPECT_EQ(listed(spanChapters({{"a", 3, 24}, {"b", 4, 36}}, 3, 3, 12)), "b 0-36; ");
}

TEST(VideoMetadata, TheFileNamesTheShowTheSpanAndEachChapterEscaped) {
    const VideoMetadata metadata = captureMetadata(kCues, 20, 20, 12, "two", "");
    EXPECT_EQ(metadata.title, "Marrowick");
    EXPECT_EQ(metadata.comment, "from two at 0:00.240 to the closing cue at 0:00.480");
    EXPECT_EQ(ffmetadataText({"a=b;c#d\\e", "two\nlines", {{"x=y", 0, 5}}}),
              ";FFMETADATA1\ntitle=a\\=b\\;c\\#d\\\\e\ncomment=two\\\nlines\n\n"
              "[CHAPTER]\nTIMEBASE=1/1000\nSTART=0\nEND=5\ntitle=x\\=y\n");
    EXPECT_EQ(captureMetadata(kCues, 0, 40, 12, "", "1:02").comment, "from the start at 0:00.000 to 1:02 at 0:00.480");
}
