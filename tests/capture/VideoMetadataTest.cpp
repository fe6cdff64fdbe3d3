// The chapters a video is given: which cues fall inside its span, what the
// first is called, where each begins and ends counted from the video's first
// frame; and the metadata file ffmpeg reads them from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/VideoMetadata.h"

TEST(VideoMetadata, ChaptersAreTheCuesInsideTheSpanFromItsFirstFrame) {
    // Cues read by frames 10, 20 and 30 of 12 ms, timed just before each.
    const std::vector<Chapter> cues{{"one", 10, 115}, {"two", 20, 233}, {"three", 30, 350}};
    const struct {
        std::uint64_t start, frames;
        const char* chapters;
    } cases[] = {
        {0, 40, "start 0-115 one 115-233 two 233-350 three 350-480 "},
        {20, 20, "two 0-110 three 110-240 "},  // from a cue's frame
        {15, 10, "one 0-53 two 53-120 "},      // from between cues
        {0, 20, "start 0-115 one 115-240 "},   // the frame reading "two" is not captured
        {31, 4, "three 0-48 "},
    };
    for (const auto& c : cases) {
        std::string listed;
        for (const VideoChapter& v : spanChapters(cues, c.start, c.frames, 12)) {
            listed += v.title + " " + std::to_string(v.startMs) + "-" + std::to_string(v.endMs) + " ";
        }
        EXPECT_EQ(listed, c.chapters) << "from frame " << c.start;
    }
    const VideoMetadata metadata = captureMetadata(cues, 20, 20, 12, "two", "");
    EXPECT_EQ(metadata.comment, "from two at 0:00.240 to the closing cue at 0:00.480");
    EXPECT_EQ(ffmetadataText({"Marrowick", "a=b;c#d\\e\nf", {{"x=y", 0, 5}}}),
              ";FFMETADATA1\ntitle=Marrowick\ncomment=a\\=b\\;c\\#d\\\\e\\\nf\n\n"
              "[CHAPTER]\nTIMEBASE=1/1000\nSTART=0\nEND=5\ntitle=x\\=y\n");
}
