// Any bytes as a WAV file: libsndfile's decoding, our walk over the label
// chunks, and the cue schedule built from what came out.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/CueScheduler.h"
#include "audio/RiffLabels.h"
#include "audio/WavFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    readCueLabels(data, size);
    const std::optional<WavSound> wav = decodeWav(data, size);
    if (!wav) return 0;
    std::vector<std::uint32_t> frames;
    for (const WavCue& cue : wav->cues) frames.push_back(cue.frame);
    const CueScheduler cues(frames, wav->frames());
    std::size_t passed = 0;
    cues.forEachPassed(0, static_cast<std::uint64_t>(wav->frames()) * 2 + 3, [&](std::size_t index) {
        if (index >= wav->cues.size()) __builtin_trap();
        ++passed;
    });
    // Two whole passes and three frames more: every cue twice, a few a third time.
    const std::size_t count = wav->frames() > 0 ? wav->cues.size() : 0;
    if (passed < 2 * count || passed > 3 * count) __builtin_trap();
    return 0;
}
