// marrowick-cue-sheet TRACK.wav OUT: writes the track's cue sheet (its rate,
// channels, length and cues, no sound) for the browser edition, which plays a
// compressed copy of the sound and moves the show on this.
#include <cstdio>
#include <fstream>
#include <memory>
#include <vector>

#include "audio/CueSheet.h"
#include "audio/WavFile.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: marrowick-cue-sheet TRACK.wav OUT\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::unique_ptr<WavReader> reader = WavReader::open(bytes.data(), bytes.size());
    if (reader == nullptr) {
        std::fprintf(stderr, "marrowick-cue-sheet: cannot read %s as a WAV file\n", argv[1]);
        return 1;
    }
    // The frames there really are, which the header only promises.
    std::vector<std::int16_t> block(static_cast<std::size_t>(reader->channels()) * 65536);
    std::uint32_t frames = 0;
    while (const std::uint32_t got = reader->read(block.data(), 65536)) frames += got;
    const audio::CueSheet sheet{reader->sampleRate(), reader->channels(), frames, reader->cues()};
    std::ofstream out(argv[2], std::ios::binary);
    out << audio::writeCueSheet(sheet);
    if (!out.flush()) {
        std::fprintf(stderr, "marrowick-cue-sheet: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
