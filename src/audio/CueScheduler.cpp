#include "audio/CueScheduler.h"

#include <algorithm>

CueScheduler::CueScheduler(const std::vector<std::uint32_t>& cueFrames, std::uint32_t streamFrames)
    : length(streamFrames) {
    if (length == 0) return;
    cues.reserve(cueFrames.size());
    for (std::size_t i = 0; i < cueFrames.size(); ++i) cues.push_back({std::min(cueFrames[i], length - 1), i});
    std::stable_sort(cues.begin(), cues.end(), [](const Cue& a, const Cue& b) { return a.frame < b.frame; });
}

std::size_t CueScheduler::firstAtOrAfter(std::uint32_t frame) const {
    const auto found = std::lower_bound(cues.begin(), cues.end(), frame,
                                        [](const Cue& cue, std::uint32_t f) { return cue.frame < f; });
    return static_cast<std::size_t>(found - cues.begin());
}
