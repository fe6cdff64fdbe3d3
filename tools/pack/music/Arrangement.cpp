#include "pack/music/Arrangement.h"

#include <array>
#include <cmath>
#include <stdexcept>

#include "pack/music/Drums.h"
#include "pack/music/PitchedVoices.h"

namespace score {
namespace {

using synth::Pan;

Plan placeSections(std::vector<PlacedCue> cues, const std::vector<bool>& onBar, std::size_t barCount) {
    Plan plan;
    plan.cues = std::move(cues);
    plan.bars.assign(barCount, Section::Intro);
    for (std::size_t i = 0; i < plan.cues.size(); ++i) {
        if (i > 0 && plan.cues[i].frame <= plan.cues[i - 1].frame) throw std::logic_error("cues out of order");
        if (i != 0 && !onBar[i]) continue;
        for (std::size_t bar = plan.cues[i].frame / kBarFrames; bar < barCount; ++bar) {
            plan.bars[bar] = kCues[i].startsSection;
        }
    }
    return plan;
}

// --- the harmony -----------------------------------------------------------

struct Chord {
    float root;                // the bass note
    std::vector<float> voice;  // the pad, low to high
};

const std::array<Chord, 4> kTheme = {{{45, {57, 60, 64, 69}},     // Am
                                      {41, {57, 60, 65, 69}},     // F
                                      {48, {55, 60, 64, 67}},     // C
                                      {43, {55, 59, 62, 67}}}};   // G
const std::array<Chord, 4> kFlight = {{{41, {57, 60, 65, 72}},    // F
                                       {43, {59, 62, 67, 71}},    // G
                                       {40, {55, 59, 64, 71}},    // Em
                                       {45, {57, 60, 64, 69}}}};  // Am
const std::array<Chord, 4> kAlien = {{{45, {57, 60, 64}},         // Am
                                      {45, {57, 60, 63}},         // Adim, a shade darker
                                      {46, {58, 62, 65}},         // Bb
                                      {46, {58, 61, 65}}}};       // Bbm

const Chord& chordOf(Section section, int barInSection) {
    const std::size_t at = static_cast<std::size_t>(barInSection) % 4;
    if (section == Section::Ship) return kFlight[at];
    if (section == Section::Alien) return kAlien[at];
    return kTheme[at];
}

// --- the lines: step (sixteenth), length in steps, note --------------------

struct Note {
    int step;
    int length;
    float note;
};

// The hook of the chess section and the finale, one bar per theme chord.
const std::array<std::vector<Note>, 4> kHook = {{
    {{0, 2, 69}, {2, 2, 72}, {4, 4, 76}, {8, 2, 74}, {10, 2, 72}, {12, 2, 71}, {14, 2, 72}},
    {{0, 6, 72}, {6, 2, 69}, {8, 2, 72}, {10, 4, 77}, {14, 2, 76}},
    {{0, 6, 76}, {6, 2, 74}, {8, 4, 72}, {12, 4, 67}},
    {{0, 6, 71}, {6, 2, 72}, {8, 4, 74}, {12, 2, 71}, {14, 2, 67}},
}};

// The ship's slow line, high over the flight chords.
const std::array<std::vector<Note>, 4> kFlightLine = {{
    {{0, 8, 81}, {8, 4, 79}, {12, 4, 77}},
    {{0, 8, 79}, {8, 8, 74}},
    {{0, 8, 76}, {8, 4, 79}, {12, 4, 83}},
    {{0, 16, 81}},
}};

// The alien's acid line over A; accents marked by a length of 3.
constexpr std::array<int, 16> kAcidSteps = {0, 0, 12, 0, 3, 0, 10, 0, 0, 12, 0, 13, 0, 7, 0, 15};
constexpr std::array<bool, 16> kAcidAccent = {true,  false, true,  false, false, false, true,  false,
                                              false, true,  false, false, true,  false, false, true};

// Arpeggio over the pad's voicing and the octave above, rising in fours.
constexpr std::array<int, 16> kArp = {0, 1, 2, 3, 1, 2, 3, 4, 2, 3, 4, 5, 3, 4, 5, 6};

// --- one bar ---------------------------------------------------------------

struct Bar {
    Section section;
    int index;          // in the track
    int inSection;      // 0 at the section's first bar
    int leftInSection;  // 0 on its last bar
    std::size_t start;  // first frame
};

std::size_t stepFrame(const Bar& bar, int step) { return bar.start + static_cast<std::size_t>(step) * kStepFrames; }

bool drums(Section s) { return s != Section::Intro && s != Section::Outro; }

std::vector<int> kickSteps(const Bar& bar) {
    switch (bar.section) {
    case Section::Intro:
        return {};
    case Section::Outro:
        return bar.inSection == 0 ? std::vector<int>{0} : std::vector<int>{};
    case Section::Ship:
        return {0, 7, 10};
    case Section::Alien:
        return {0, 6, 10};
    default:
        return {0, 4, 8, 12};
    }
}

void playDrums(const Bar& bar, Mix& mix, Random& random) {
    for (int step : kickSteps(bar)) synth::kick(mix.dry, stepFrame(bar, step), 0.95f);
    if (!drums(bar.section)) {
        // The intro's last bar brings the hats in, the outro lets the cymbal ring.
        if (bar.section == Section::Intro && bar.leftInSection == 0) {
            for (int step = 8; step < 16; ++step) {
                synth::hat(mix.dry, stepFrame(bar, step), 0.12f + 0.02f * (step - 8), false, 0.3f, random);
            }
        }
        return;
    }
    const bool full = bar.section == Section::ChessB || bar.section == Section::Credits;
    const bool building = bar.section == Section::ChessA && bar.inSection >= 4;
    for (int step = 0; step < 16; ++step) {
        const std::size_t at = stepFrame(bar, step);
        const bool offbeat = step % 4 == 2;
        switch (bar.section) {
        case Section::Ship:
            if (step == 4 || step == 12) synth::snare(mix.dry, at, 0.55f, random);
            if (step == 9 || step == 15) synth::snare(mix.dry, at, 0.14f, random);
            if (step % 2 == 0) synth::hat(mix.dry, at, offbeat ? 0.26f : 0.18f, false, 0.35f, random);
            if (step % 2 == 1) synth::hat(mix.dry, at, 0.07f, false, -0.4f, random);
            break;
        case Section::Alien:
            if (step == 8) synth::snare(mix.dry, at, 0.6f, random);
            if (step == 8) synth::clap(mix.dry, at, 0.3f, random);
            synth::hat(mix.dry, at, 0.05f + 0.1f * random.uniform(), step == 14, 0.4f, random);
            break;
        default:
            if (step == 4 || step == 12) {
                synth::clap(mix.dry, at, 0.5f, random);
                if (full || building) synth::snare(mix.dry, at, 0.3f, random);
            }
            synth::hat(mix.dry, at, offbeat ? 0.2f : 0.1f, false, 0.3f, random);
            if (offbeat && (full || bar.inSection >= 2)) synth::hat(mix.dry, at, 0.16f, true, -0.25f, random);
            break;
        }
    }
    // A roll and a rising sweep into the next section.
    if (bar.leftInSection == 0) {
        for (int step = 8; step < 16; ++step) {
            synth::snare(mix.dry, stepFrame(bar, step), 0.15f + 0.04f * (step - 8), random);
        }
        synth::riser(mix.dry, bar.start, kBarFrames, 0.3f, random);
    }
}

void playBass(const Bar& bar, Mix& mix) {
    const Chord& chord = chordOf(bar.section, bar.inSection);
    const float step = static_cast<float>(kStepFrames);
    switch (bar.section) {
    case Section::Intro:
    case Section::Outro:
        return;
    case Section::ChessA:
        for (int s : {2, 6, 10, 14})
            synth::bass(mix.dry, mix.duck, stepFrame(bar, s), kStepFrames * 2, chord.root, 0.5f);
        return;
    case Section::Ship: {
        const std::array<Note, 6> line = {{{0, 3, 0}, {3, 3, 0}, {6, 2, 12}, {8, 3, 0}, {11, 3, 0}, {14, 2, 7}}};
        for (const Note& n : line) {
            synth::bass(mix.dry, mix.duck, stepFrame(bar, n.step), static_cast<std::size_t>(n.length * step * 0.9f),
                        chord.root + n.note, 0.5f);
        }
        return;
    }
    case Section::Alien: {
        // The filter opens over every four bars.
        const float sweep = static_cast<float>(bar.inSection % 4 * 16) / 64.0f;
        for (int s = 0; s < 16; ++s) {
            synth::acid(mix.dry, mix.duck, stepFrame(bar, s), kStepFrames - kStepFrames / 4,
                        chord.root - 12 + static_cast<float>(kAcidSteps[static_cast<std::size_t>(s)]), 0.32f,
                        350.0f + 2200.0f * (sweep + 0.25f * static_cast<float>(s) / 16.0f),
                        kAcidAccent[static_cast<std::size_t>(s)]);
        }
        return;
    }
    default:  // the rolling bass of the full sections: every sixteenth the kick leaves free
        for (int s = 0; s < 16; ++s) {
            if (s % 4 == 0) continue;
            synth::bass(mix.dry, mix.duck, stepFrame(bar, s), kStepFrames - kStepFrames / 6,
                        chord.root + (s % 4 == 2 ? 12.0f : 0.0f), 0.42f);
        }
        return;
    }
}

void playHarmony(const Bar& bar, Mix& mix, std::size_t totalBars) {
    const Chord& chord = chordOf(bar.section, bar.inSection);
    float brightness = 0.45f;
    switch (bar.section) {
    case Section::Intro:
        brightness = 0.1f + 0.2f * static_cast<float>(bar.inSection);
        break;
    case Section::Alien:
        brightness = 0.15f;
        break;
    case Section::Outro:
        brightness = 0.5f * (1.0f - static_cast<float>(bar.inSection) / 4.0f);
        break;
    case Section::ChessB:
    case Section::Credits:
    case Section::Ship:
        brightness = 0.65f;
        break;
    default:
        break;
    }
    if (bar.section == Section::Outro) {
        // One long A minor chord that rings out to the end of the track.
        if (bar.inSection == 0) {
            const std::size_t rest = (totalBars - static_cast<std::size_t>(bar.index)) * kBarFrames;
            synth::pad(mix.pads, mix.duck, bar.start, rest - rest / 4, kTheme[0].voice, 0.55f, 0.5f);
        }
    } else {
        synth::pad(mix.pads, mix.duck, bar.start, kBarFrames, chord.voice, bar.section == Section::Intro ? 0.45f : 0.6f,
                   brightness);
    }

    // The arpeggio: from the third bar of the chess section, all through the
    // full sections and the ship, and slowing down in the outro.
    const bool arp = (bar.section == Section::ChessA && bar.inSection >= 2) || bar.section == Section::ChessB ||
                     bar.section == Section::Credits || bar.section == Section::Ship || bar.section == Section::Intro ||
                     bar.section == Section::Outro;
    if (!arp) return;
    std::vector<float> tones = chord.voice;
    for (float note : chord.voice) tones.push_back(note + 12.0f);
    const float open = bar.section == Section::ChessA ? 0.2f + 0.06f * static_cast<float>(bar.inSection) : 0.7f;
    const float gain = bar.section == Section::Intro ? 0.1f : 0.16f;
    for (int s = 0; s < 16; ++s) {
        if (bar.section == Section::Outro && (s % 2 == 1 || bar.inSection >= 3)) continue;
        const float note = tones[static_cast<std::size_t>(kArp[static_cast<std::size_t>(s)]) % tones.size()];
        synth::pluck(mix.echoes, mix.duck, stepFrame(bar, s), note, gain, std::min(open, 1.0f),
                     s % 2 == 0 ? -0.3f : 0.3f);
    }
}

void playLead(const Bar& bar, Mix& mix, Random& random) {
    const std::size_t at = static_cast<std::size_t>(bar.inSection) % 4;
    if (bar.section == Section::ChessB || bar.section == Section::Credits) {
        for (const Note& n : kHook[at]) {
            synth::lead(mix.echoes, stepFrame(bar, n.step), static_cast<std::size_t>(n.length) * kStepFrames - 400,
                        n.note, 0.2f);
        }
    } else if (bar.section == Section::Ship && bar.inSection >= 4) {
        for (const Note& n : kFlightLine[at]) {
            synth::lead(mix.echoes, stepFrame(bar, n.step), static_cast<std::size_t>(n.length) * kStepFrames - 400,
                        n.note, 0.15f);
        }
    } else if (bar.section == Section::Alien && bar.inSection >= 2) {
        // Signals from somewhere: scattered notes of the A minor pentatonic.
        static constexpr std::array<float, 5> kScale = {81, 84, 86, 88, 91};
        for (int s = 0; s < 16; ++s) {
            if (random.uniform() < 0.22f) {
                synth::blip(mix.echoes, stepFrame(bar, s), kScale[random.next() % kScale.size()], 0.12f,
                            random.bipolar() * 0.7f);
            }
        }
    } else if (bar.section == Section::Outro && bar.inSection == 0) {
        synth::lead(mix.echoes, stepFrame(bar, 0), kBarFrames, 69, 0.18f);
    }
}

// Pads and bass dip after each kick and come back within a beat.
void buildDuck(const std::vector<Bar>& bars, Mix& mix) {
    const float release = 0.11f * synth::kRate;
    for (const Bar& bar : bars) {
        for (int step : kickSteps(bar)) {
            const std::size_t at = stepFrame(bar, step);
            for (std::size_t i = 0; i < kBeatFrames && at + i < mix.duck.size(); ++i) {
                const float attack = std::min(1.0f, static_cast<float>(i) / 88.0f);
                const float dip = 0.5f * attack * std::exp(-static_cast<float>(i) / release);
                mix.duck[at + i] = std::min(mix.duck[at + i], 1.0f - dip);
            }
        }
    }
}

}  // namespace

Plan fullPlan() {
    const double beatSeconds = static_cast<double>(kBeatFrames) / kSampleRate;
    std::vector<PlacedCue> cues;
    std::vector<bool> onBar;
    for (const Cue& cue : kCues) {
        const double beats =
            cue.onBar ? 4.0 * std::round(cue.seconds / (4.0 * beatSeconds)) : std::round(cue.seconds / beatSeconds);
        cues.push_back({cue.name, static_cast<std::uint32_t>(beats) * kBeatFrames});
        onBar.push_back(cue.onBar);
    }
    const std::size_t bars = cues.back().frame / kBarFrames + kOutroBars;
    return placeSections(std::move(cues), onBar, bars);
}

Plan shortPlan() {
    std::vector<PlacedCue> cues;
    std::vector<bool> onBar;
    for (int i = 0; i < kCueCount; ++i) {
        cues.push_back({kCues[i].name, static_cast<std::uint32_t>(2 * (i + 1)) * kBeatFrames});
        onBar.push_back(kCues[i].onBar);
    }
    // One beat after the last cue the track loops.
    const std::size_t bars = (cues.back().frame + kBeatFrames + kBarFrames - 1) / kBarFrames;
    return placeSections(std::move(cues), onBar, bars);
}

void perform(const Plan& plan, Mix& mix, Random& random) {
    std::vector<Bar> bars;
    for (std::size_t i = 0; i < plan.bars.size(); ++i) {
        std::size_t first = i, last = i;
        while (first > 0 && plan.bars[first - 1] == plan.bars[i]) --first;
        while (last + 1 < plan.bars.size() && plan.bars[last + 1] == plan.bars[i]) ++last;
        bars.push_back({plan.bars[i], static_cast<int>(i), static_cast<int>(i - first), static_cast<int>(last - i),
                        i * kBarFrames});
    }
    buildDuck(bars, mix);
    for (const Bar& bar : bars) {
        playDrums(bar, mix, random);
        playBass(bar, mix);
        playHarmony(bar, mix, bars.size());
        playLead(bar, mix, random);
        if (bar.inSection == 0 && bar.section != Section::Intro) synth::crash(mix.dry, bar.start, 0.4f, random);
    }
    // Every cue is marked by a cymbal, so the events hit with the music.
    for (const PlacedCue& cue : plan.cues) {
        if (cue.frame % kBarFrames != 0) synth::crash(mix.dry, cue.frame, 0.22f, random);
    }
}

}  // namespace score
