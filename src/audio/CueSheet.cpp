#include "audio/CueSheet.h"

#include <cstring>
#include <sstream>

namespace audio {

namespace {

constexpr const char kMagic[] = "cue-sheet 1\n";
constexpr int kMostChannels = 8;
constexpr int kFastestRate = 768000;

}  // namespace

std::string writeCueSheet(const CueSheet& sheet) {
    std::ostringstream out;
    out << kMagic << "rate " << sheet.sampleRate << "\nchannels " << sheet.channels << "\nframes " << sheet.frames
        << "\n";
    for (const WavCue& cue : sheet.cues) {
        out << "cue " << cue.id << ' ' << cue.frame;
        if (cue.labelled) out << ' ' << cue.label;
        out << '\n';
    }
    return out.str();
}

bool looksLikeCueSheet(const unsigned char* data, std::size_t size) {
    const std::size_t magic = sizeof kMagic - 1;
    return size >= magic && std::memcmp(data, kMagic, magic) == 0;
}

std::optional<CueSheet> readCueSheet(const std::string& text) {
    if (!looksLikeCueSheet(reinterpret_cast<const unsigned char*>(text.data()), text.size())) return std::nullopt;
    std::istringstream in(text.substr(sizeof kMagic - 1));
    CueSheet sheet;
    bool rate = false, channels = false, frames = false;
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string key;
        fields >> key;
        if (key == "rate" && fields >> sheet.sampleRate) {
            rate = sheet.sampleRate > 0 && sheet.sampleRate <= kFastestRate;
        } else if (key == "channels" && fields >> sheet.channels) {
            channels = sheet.channels > 0 && sheet.channels <= kMostChannels;
        } else if (key == "frames" && fields >> sheet.frames) {
            frames = true;
        } else if (key == "cue") {
            WavCue cue;
            if (!(fields >> cue.id >> cue.frame)) return std::nullopt;
            fields >> std::ws;
            std::getline(fields, cue.label);
            cue.labelled = !cue.label.empty();
            sheet.cues.push_back(cue);
        } else {
            return std::nullopt;
        }
        if (!fields && !fields.eof()) return std::nullopt;
    }
    if (!rate || !channels || !frames) return std::nullopt;
    for (const WavCue& cue : sheet.cues) {
        if (cue.frame >= sheet.frames) return std::nullopt;
    }
    return sheet;
}

}  // namespace audio
