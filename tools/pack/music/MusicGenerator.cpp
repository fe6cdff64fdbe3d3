#include "pack/music/MusicGenerator.h"

#include "pack/PackContext.h"
#include "pack/music/Arrangement.h"
#include "pack/music/CueWavWriter.h"
#include "pack/music/TrackEffects.h"

void writeMusic(const PackContext& pack) {
    const score::Plan plan = pack.shortTrack ? score::shortPlan() : score::fullPlan();
    score::Mix mix(plan.frames());
    Random random = pack.randomFor("demot.wav");
    score::perform(plan, mix, random);
    synth::echo(mix.echoes, score::kBeatFrames * 3 / 4, score::kBeatFrames / 2, 0.38f, 0.45f);
    synth::reverb(mix.pads, 0.9f);
    const std::vector<std::int16_t> samples = synth::mixDown({&mix.dry, &mix.echoes, &mix.pads});

    std::vector<NamedCue> cues;
    for (const score::PlacedCue& cue : plan.cues) cues.push_back({cue.name, cue.frame});
    writeCueWav(pack.file("demot.wav"), score::kSampleRate, 2, samples, cues);
}
