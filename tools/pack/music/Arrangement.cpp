#include "pack/music/Arrangement.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "pack/music/Drums.h"
#include "pack/music/PitchedVoices.h"

namespace score {
namespace {

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

// Where a bar stands in the track, and how much of the band plays in it: the
// arc of the track is decided when the bars are laid out (shape()), and the
// players below only follow it.
struct Bar {
    Section section;
    int index;          // in the track
    int inSection;      // 0 at the section's first bar
    int leftInSection;  // 0 on its last bar
    std::size_t start;  // first frame
    bool intoNext;      // the last bar before another section: a fill leads into it
    int beatUntil;      // drums and bass play the steps before this one: 16 in a groove, 0 in a breakdown
    bool breakdown;     // pads and the flight line alone, before the ship
    float build;        // how far a growing section has grown, 0 to 1
};

std::size_t stepFrame(const Bar& bar, int step) { return bar.start + static_cast<std::size_t>(step) * kStepFrames; }

bool beatPlays(const Bar& bar, int step) { return step < bar.beatUntil; }

// The bar before the credits holds its breath: the alien's drums and acid
// stop, so the climax lands on a track that has just gone thin.
bool heldBreath(const Bar& bar) { return bar.section == Section::Alien && bar.intoNext; }

std::vector<int> kickSteps(const Bar& bar) {
    std::vector<int> steps;
    switch (bar.section) {
    case Section::Intro:
        break;
    case Section::Outro:
        if (bar.inSection == 0) steps = {0};
        break;
    case Section::Ship:
        steps = {0, 7, 10};
        break;
    case Section::Alien:
        // One kick a bar when the alien arrives, its broken pattern as it grows.
        if (heldBreath(bar)) break;
        steps = bar.build < 0.1f   ? std::vector<int>{0}
                : bar.build < 0.4f ? std::vector<int>{0, 10}
                                   : std::vector<int>{0, 6, 10};
        break;
    default:
        steps = {0, 4, 8, 12};
        break;
    }
    steps.erase(std::remove_if(steps.begin(), steps.end(), [&](int step) { return !beatPlays(bar, step); }),
                steps.end());
    return steps;
}

// A snare roll that swells over the second half of the bar, doubling to
// thirty-seconds on the last beat, over a noise sweep: the ear hears the
// change coming before the picture makes it.
void playFill(const Bar& bar, Mix& mix, Random& random, float gain) {
    for (int step = 8; step < 16; ++step) {
        const float swell = gain * (0.3f + 0.09f * static_cast<float>(step - 8));
        synth::snare(mix.dry, stepFrame(bar, step), swell, random);
        if (step >= 12) synth::snare(mix.dry, stepFrame(bar, step) + kStepFrames / 2, 0.85f * swell, random);
    }
    synth::riser(mix.dry, bar.start, kBarFrames, 0.45f * gain, random);
}

void playDrums(const Bar& bar, Mix& mix, Random& random) {
    const std::vector<int> kicks = kickSteps(bar);
    for (int step : kicks) synth::kick(mix.dry, stepFrame(bar, step), 0.95f);
    if (bar.section == Section::Intro) {
        // The hats come in over the intro, quietly, then swell into the chess theme.
        for (int step = 0; step < 16 && bar.build > 0.0f; step += 2) {
            synth::hat(mix.dry, stepFrame(bar, step), bar.build * (0.06f + 0.015f * static_cast<float>(step)), false,
                       0.3f, random);
        }
    }
    const bool full = bar.section == Section::ChessB || bar.section == Section::Credits;
    for (int step = 0; step < 16 && bar.section != Section::Intro && bar.section != Section::Outro; ++step) {
        if (!beatPlays(bar, step)) break;
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
            if (heldBreath(bar)) break;
            // Hats, then the snare and clap, then the open hat: one more voice every few bars.
            if (step == 8 && bar.build >= 0.3f) {
                synth::snare(mix.dry, at, 0.6f, random);
                synth::clap(mix.dry, at, 0.3f, random);
            }
            if (bar.build >= 0.2f) {
                synth::hat(mix.dry, at, (0.05f + 0.1f * random.uniform()) * std::min(1.0f, 1.5f * bar.build),
                           step == 14 && bar.build >= 0.6f, 0.4f, random);
            }
            break;
        default:
            if (step == 4 || step == 12) {
                synth::clap(mix.dry, at, bar.section == Section::ChessA ? 0.42f : 0.5f, random);
                if (full) synth::snare(mix.dry, at, bar.section == Section::Credits ? 0.45f : 0.3f, random);
            }
            synth::hat(mix.dry, at, (offbeat ? 0.2f : 0.1f) * (full ? 1.0f : 0.8f), false, 0.3f, random);
            // The open hats join half way through the chess theme; the climax adds a ride of sixteenths.
            if (offbeat && (full || bar.inSection >= bar.leftInSection)) {
                synth::hat(mix.dry, at, 0.16f, true, -0.25f, random);
            }
            if (bar.section == Section::Credits && !offbeat) synth::hat(mix.dry, at, 0.12f, false, 0.5f, random);
            break;
        }
    }
    // The intro's hats swell on their own, and the dark alien is led in by a
    // sweep and a soft roll; everywhere else a full roll leads in.
    if (bar.intoNext && bar.section == Section::Intro) {
        synth::riser(mix.dry, bar.start, kBarFrames, 0.2f, random);
    } else if (bar.intoNext) {
        float gain = 1.2f;
        if (bar.section == Section::Ship) gain = 0.3f;
        if (heldBreath(bar)) gain = 0.6f;
        if (bar.breakdown) gain = 0.6f;                    // the drums come back in from nothing
        if (bar.section == Section::Credits) gain = 1.3f;  // the finale's roll
        playFill(bar, mix, random, gain);
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
        for (int s : {2, 6, 10, 14}) {
            if (beatPlays(bar, s)) synth::bass(mix.dry, mix.duck, stepFrame(bar, s), kStepFrames * 2, chord.root, 0.4f);
        }
        return;
    case Section::Ship: {
        const std::array<Note, 6> line = {{{0, 3, 0}, {3, 3, 0}, {6, 2, 12}, {8, 3, 0}, {11, 3, 0}, {14, 2, 7}}};
        for (const Note& n : line) {
            if (!beatPlays(bar, n.step)) continue;
            synth::bass(mix.dry, mix.duck, stepFrame(bar, n.step), static_cast<std::size_t>(n.length * step * 0.9f),
                        chord.root + n.note, 0.5f);
        }
        return;
    }
    case Section::Alien: {
        if (heldBreath(bar)) return;
        // Eighths with the filter nearly shut when the alien arrives; every
        // sixteenth, louder and opening, as it grows.
        const float sweep = bar.build;
        for (int s = 0; s < 16; ++s) {
            if (bar.build < 0.4f && s % 2 == 1) continue;
            synth::acid(mix.dry, mix.duck, stepFrame(bar, s), kStepFrames - kStepFrames / 4,
                        chord.root - 12 + static_cast<float>(kAcidSteps[static_cast<std::size_t>(s)]),
                        0.1f + 0.22f * bar.build, 250.0f + 2300.0f * (sweep + 0.2f * static_cast<float>(s) / 16.0f),
                        kAcidAccent[static_cast<std::size_t>(s)]);
        }
        return;
    }
    default:  // the rolling bass of the full sections: every sixteenth the kick leaves free
        for (int s = 0; s < 16 && beatPlays(bar, s); ++s) {
            if (s % 4 == 0) continue;
            synth::bass(mix.dry, mix.duck, stepFrame(bar, s), kStepFrames - kStepFrames / 6,
                        chord.root + (s % 4 == 2 ? 12.0f : 0.0f), bar.section == Section::Credits ? 0.5f : 0.42f);
        }
        return;
    }
}

// The breakdown before the ship borrows the ship's chords and line, the last
// bars of its four, so the ship enters on its first chord.
int flightBar(const Bar& bar) { return bar.breakdown ? 3 - bar.leftInSection : bar.inSection; }

const Chord& chordOfBar(const Bar& bar) {
    return bar.breakdown ? chordOf(Section::Ship, flightBar(bar)) : chordOf(bar.section, bar.inSection);
}

void playHarmony(const Bar& bar, Mix& mix, std::size_t totalBars) {
    const Chord& chord = chordOfBar(bar);
    float brightness = 0.45f;
    float gain = 0.6f;
    switch (bar.section) {
    case Section::Intro:
        brightness = 0.1f + 0.3f * bar.build;
        gain = 0.45f;
        break;
    case Section::Alien:
        brightness = 0.08f + 0.15f * bar.build;
        gain = 0.45f + 0.15f * bar.build;
        break;
    case Section::Outro:
        brightness = 0.5f * (1.0f - static_cast<float>(bar.inSection) / 4.0f);
        break;
    case Section::Credits:
        brightness = 0.85f;
        gain = 0.75f;
        break;
    case Section::ChessB:
    case Section::Ship:
        brightness = 0.65f;
        break;
    default:
        break;
    }
    // The ship's scene fades out: the pads thin bar by bar after the drums stop.
    const bool fading = bar.section == Section::Ship && bar.beatUntil < 16;
    if (bar.breakdown) gain = 0.35f;
    if (heldBreath(bar)) gain = 0.3f;
    if (bar.section == Section::ChessA) gain = 0.5f;
    if (fading) gain *= 0.45f + 0.15f * static_cast<float>(bar.leftInSection);
    if (bar.section == Section::Outro) {
        // One long A minor chord that rings out to the end of the track.
        if (bar.inSection == 0) {
            const std::size_t rest = (totalBars - static_cast<std::size_t>(bar.index)) * kBarFrames;
            synth::pad(mix.pads, mix.duck, bar.start, rest - rest / 4, kTheme[0].voice, 0.55f, 0.5f);
        }
    } else {
        synth::pad(mix.pads, mix.duck, bar.start, kBarFrames, chord.voice, gain, brightness);
    }

    // The climax stabs the chord an octave up on every offbeat.
    if (bar.section == Section::Credits) {
        for (int s = 2; s < 16; s += 4) {
            for (float note : chord.voice) synth::lead(mix.dry, stepFrame(bar, s), kStepFrames, note + 12.0f, 0.045f);
        }
    }

    // The arpeggio: from the intro's second bar, from the third bar of the
    // chess section on through the full sections and the ship, slowing down in
    // the outro; it rests in the breakdown, where the flight line sings alone.
    const bool arp = (bar.section == Section::Intro && bar.build > 0.0f) ||
                     (bar.section == Section::ChessA && bar.inSection >= 2) || bar.section == Section::ChessB ||
                     bar.section == Section::Credits || bar.section == Section::Ship || bar.section == Section::Outro;
    if (!arp || bar.breakdown) return;
    std::vector<float> tones = chord.voice;
    for (float note : chord.voice) tones.push_back(note + 12.0f);
    const float open = bar.section == Section::ChessA ? 0.2f + 0.06f * static_cast<float>(bar.inSection) : 0.7f;
    float pluckGain = bar.section == Section::Intro ? 0.1f : bar.section == Section::Credits ? 0.2f : 0.16f;
    if (fading) pluckGain *= 0.3f + 0.2f * static_cast<float>(bar.leftInSection);
    for (int s = 0; s < 16; ++s) {
        if (bar.section == Section::Outro && (s % 2 == 1 || bar.inSection >= 3)) continue;
        const float note = tones[static_cast<std::size_t>(kArp[static_cast<std::size_t>(s)]) % tones.size()];
        synth::pluck(mix.echoes, mix.duck, stepFrame(bar, s), note, pluckGain, std::min(open, 1.0f),
                     s % 2 == 0 ? -0.3f : 0.3f);
    }
}

void playLine(const Bar& bar, Mix& mix, const std::vector<Note>& line, float note, float gain) {
    for (const Note& n : line) {
        synth::lead(mix.echoes, stepFrame(bar, n.step), static_cast<std::size_t>(n.length) * kStepFrames - 400,
                    n.note + note, gain);
    }
}

void playLead(const Bar& bar, Mix& mix, Random& random) {
    const std::size_t at = static_cast<std::size_t>(bar.inSection) % 4;
    switch (bar.section) {
    case Section::ChessA:
        playLine(bar, mix, kHook[at], 0, 0.13f);
        break;
    case Section::ChessB:
        if (bar.breakdown) {
            playLine(bar, mix, kFlightLine[static_cast<std::size_t>(flightBar(bar)) % 4], 0, 0.13f);
        } else {
            playLine(bar, mix, kHook[at], 0, 0.2f);
        }
        break;
    case Section::Credits:
        // The climax: the hook doubled an octave up.
        playLine(bar, mix, kHook[at], 0, 0.22f);
        playLine(bar, mix, kHook[at], 12, 0.12f);
        break;
    case Section::Ship:
        if (bar.beatUntil == 16) playLine(bar, mix, kFlightLine[at], 0, 0.15f);
        break;
    case Section::Alien:
        if (bar.build >= 0.2f) {
            // Signals from somewhere: scattered notes of the A minor pentatonic,
            // more of them as the section grows.
            static constexpr std::array<float, 5> kScale = {81, 84, 86, 88, 91};
            for (int s = 0; s < 16; ++s) {
                if (random.uniform() < 0.08f + 0.16f * bar.build) {
                    synth::blip(mix.echoes, stepFrame(bar, s), kScale[random.next() % kScale.size()], 0.12f,
                                random.bipolar() * 0.7f);
                }
            }
        }
        break;
    case Section::Outro:
        if (bar.inSection == 0) synth::lead(mix.echoes, stepFrame(bar, 0), kBarFrames, 69, 0.18f);
        break;
    default:
        break;
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

const PlacedCue* findCue(const Plan& plan, const char* name) {
    for (const PlacedCue& cue : plan.cues) {
        if (std::strcmp(cue.name, name) == 0) return &cue;
    }
    return nullptr;
}

// Lays the bars out and gives the track its arc: the intro grows into the
// chess theme; the chess section ends in a breakdown of pads and the flight
// line before the ship's drums come in; the ship's drums stop when its scene
// fades out; the alien enters thin and grows to the cube show, then holds its
// breath for a bar before the credits' climax; the outro resolves it.
std::vector<Bar> shape(const Plan& plan) {
    std::vector<Bar> bars;
    for (std::size_t i = 0; i < plan.bars.size(); ++i) {
        std::size_t first = i, last = i;
        while (first > 0 && plan.bars[first - 1] == plan.bars[i]) --first;
        while (last + 1 < plan.bars.size() && plan.bars[last + 1] == plan.bars[i]) ++last;
        Bar bar{};
        bar.section = plan.bars[i];
        bar.index = static_cast<int>(i);
        bar.inSection = static_cast<int>(i - first);
        bar.leftInSection = static_cast<int>(last - i);
        bar.start = i * kBarFrames;
        bar.intoNext = last == i && i + 1 < plan.bars.size();
        bar.beatUntil = 16;
        const int length = static_cast<int>(last - first + 1);
        switch (bar.section) {
        case Section::Intro:
            bar.build = static_cast<float>(bar.inSection) / static_cast<float>(length);
            break;
        case Section::ChessB:
            // Three bars of breakdown, when the section is long enough to keep its groove before them.
            bar.breakdown = length >= 5 && bar.leftInSection < 3;
            if (bar.breakdown) bar.beatUntil = 0;
            break;
        case Section::Ship:
            if (const PlacedCue* fade = findCue(plan, cue::kFadeOutScene2)) {
                const std::size_t barEnd = bar.start + kBarFrames;
                if (fade->frame < barEnd) {
                    bar.beatUntil =
                        fade->frame <= bar.start ? 0 : static_cast<int>((fade->frame - bar.start) / kStepFrames);
                }
            }
            break;
        case Section::Alien: {
            // It grows bar by bar up to the bar of the cube show.
            int peak = length - 1;
            if (const PlacedCue* kube = findCue(plan, cue::kKubeShow)) {
                const int kubeBar = static_cast<int>(kube->frame / kBarFrames) - static_cast<int>(first);
                if (kubeBar > 0 && kubeBar < length) peak = kubeBar;
            }
            bar.build = peak > 0 ? std::min(1.0f, static_cast<float>(bar.inSection) / static_cast<float>(peak)) : 1.0f;
            break;
        }
        default:
            bar.build = 1.0f;
            break;
        }
        bars.push_back(bar);
    }
    return bars;
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
    const std::vector<Bar> bars = shape(plan);
    buildDuck(bars, mix);
    for (const Bar& bar : bars) {
        playDrums(bar, mix, random);
        playBass(bar, mix);
        playHarmony(bar, mix, bars.size());
        playLead(bar, mix, random);
        if (bar.inSection == 0 && bar.section != Section::Intro) {
            // The alien comes in under a quiet cymbal; the climax under a loud one.
            float crash = 0.4f;
            if (bar.section == Section::Alien) crash = 0.2f;
            if (bar.section == Section::Credits) crash = 0.6f;
            synth::crash(mix.dry, bar.start, crash, random);
        }
    }
    // Every cue is marked by a cymbal, so the events hit with the music.
    for (const PlacedCue& cue : plan.cues) {
        if (cue.frame % kBarFrames != 0) synth::crash(mix.dry, cue.frame, 0.22f, random);
    }
}

}  // namespace score
