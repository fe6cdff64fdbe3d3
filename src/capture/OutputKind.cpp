#include "capture/OutputKind.h"

#include <stdexcept>

namespace {

using C = CaptureOptions::Container;

using Arguments = std::vector<std::string>;

Arguments joined(Arguments first, const Arguments& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// What the 4:2:0 the capture sends is, written into the file, so that no
// player has to guess the colours from the frame size.
const Arguments kBt709{"-pix_fmt", "yuv420p",    "-colorspace", "bt709",        "-color_primaries",
                       "bt709",    "-color_trc", "bt709",       "-color_range", "tv"};

// ultrafast keeps x264 ahead of the renderer at every size; -crf 18 is
// close to transparent, and -qp 0 is x264's lossless.
const Arguments kH264 = joined({"-c:v", "libx264", "-preset", "ultrafast", "-crf", "18"}, kBt709);
const Arguments kH264Lossless = joined({"-c:v", "libx264", "-preset", "ultrafast", "-qp", "0"}, kBt709);
// VP9's slower modes take many times the show's length even for small
// frames; realtime at its fastest, with rows encoded in parallel, keeps up.
const Arguments kVp9 =
    joined({"-c:v", "libvpx-vp9", "-deadline", "realtime", "-cpu-used", "8", "-row-mt", "1", "-crf", "28", "-b:v", "0"},
           kBt709);
const Arguments kVp9Lossless =
    joined({"-c:v", "libvpx-vp9", "-deadline", "realtime", "-cpu-used", "8", "-row-mt", "1", "-lossless", "1"}, kBt709);
// FFV1 keeps the red, green and blue the renderer drew, untouched by any
// conversion to luma and chroma; slices let it use every core.
const Arguments kFfv1{"-c:v", "ffv1", "-level", "3", "-slices", "4", "-slicecrc", "1", "-pix_fmt", "bgr0"};

// The -b:a reaches every audio codec as it always has; FLAC ignores it.
const std::vector<OutputKind> kKinds{
    {C::Mp4,
     false,
     "mp4",
     "H.264 4:2:0 + AAC",
     kH264,
     kH264Lossless,
     true,
     {"-c:a", "aac", "-b:a", "192k"},
     {"-movflags", "+faststart"}},
    {C::WebM, false, "webm", "VP9 4:2:0 + Opus", kVp9, kVp9Lossless, true, {"-c:a", "libopus", "-b:a", "192k"}, {}},
    {C::Mkv, false, "matroska", "H.264 4:2:0 + FLAC", kH264, kH264Lossless, true, {"-c:a", "flac", "-b:a", "192k"}, {}},
    {C::Mkv, true, "matroska", "FFV1 RGB (lossless) + FLAC", kFfv1, {}, false, {"-c:a", "flac"}, {}},
};

}  // namespace

const OutputKind& outputKind(CaptureOptions::Container container, bool archive) {
    for (const OutputKind& kind : kKinds) {
        if (kind.container == container && kind.archive == archive) return kind;
    }
    throw std::invalid_argument("no such kind of capture");
}

const std::vector<OutputKind>& outputKinds() { return kKinds; }
