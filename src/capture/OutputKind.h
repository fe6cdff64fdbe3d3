// What a capture's file holds, chosen by the file's ending and --archive:
// its container, the picture's codec and pixel format, and the sound's
// codec. One row each; VideoEncoder builds ffmpeg's arguments from them.
#pragma once

#include <string>
#include <vector>

#include "capture/CaptureOptions.h"

struct OutputKind {
    CaptureOptions::Container container;
    bool archive;
    const char* muxer;  // ffmpeg's name for the finished file's container
    const char* name;   // as the user sees it: "H.264 4:2:0 + AAC"
    // ffmpeg's output options for the picture, from the codec on; the
    // second set with --lossless (empty when the kind is lossless anyway).
    std::vector<std::string> picture;
    std::vector<std::string> losslessPicture;
    // The picture goes down the pipe in 4:2:0, converted beside the
    // read-back (the picture options then only encode it), or as drawn.
    bool yuv420;
    std::vector<std::string> sound;   // and for the sound
    std::vector<std::string> muxing;  // options of the finished file's container
};

// The kind a capture writes; throws std::invalid_argument for a pairing
// the options do not allow (--archive without .mkv).
const OutputKind& outputKind(CaptureOptions::Container container, bool archive);

// Every kind, in the order the help and the README list them.
const std::vector<OutputKind>& outputKinds();
