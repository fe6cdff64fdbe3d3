#include "pack/music/PitchedVoices.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace synth {

void bass(Track& out, const Duck& duck, std::size_t at, std::size_t length, float note, float gain) {
    const Pan centre(0.0f);
    Saw saw(noteHz(note));
    Filter filter;
    const float hz = noteHz(note);
    const std::size_t release = framesOf(0.03f);
    for (std::size_t i = 0; i < length + release; ++i) {
        const float t = static_cast<float>(i) / kRate;
        if (i % 16 == 0) filter.tune(220.0f + 1800.0f * std::exp(-t * 14.0f), 1.1f);
        filter.run(saw.next());
        const float sub = std::sin(kTwoPi * hz * t);
        const float env = gate(i, framesOf(0.003f), length, release);
        out.add(at + i, (0.7f * filter.low + 0.55f * sub) * env * gain * duckAt(duck, at + i), centre);
    }
}

void acid(Track& out, const Duck& duck, std::size_t at, std::size_t length, float note, float gain, float cutoff,
          bool accent) {
    const Pan centre(0.0f);
    Saw saw(noteHz(note));
    Filter filter;
    const float peak = cutoff * (accent ? 1.8f : 1.0f);
    const std::size_t release = framesOf(0.01f);
    for (std::size_t i = 0; i < length + release; ++i) {
        const float t = static_cast<float>(i) / kRate;
        if (i % 16 == 0) filter.tune(cutoff * 0.3f + peak * std::exp(-t * (accent ? 9.0f : 16.0f)), 7.0f);
        filter.run(saw.next());
        const float env = gate(i, framesOf(0.002f), length, release) * (accent ? 1.25f : 1.0f);
        out.add(at + i, std::tanh(1.8f * filter.low) * env * gain * duckAt(duck, at + i), centre);
    }
}

void pad(Track& out, const Duck& duck, std::size_t at, std::size_t length, const std::vector<float>& notes, float gain,
         float brightness) {
    static constexpr std::array<float, 3> kDetuneCents = {-11.0f, 0.0f, 9.0f};
    static constexpr std::array<float, 3> kPans = {-0.7f, 0.0f, 0.7f};
    const std::size_t attack = std::min(framesOf(0.35f), length / 2);
    const std::size_t release = framesOf(0.45f);
    const float level = gain / static_cast<float>(notes.size() * kDetuneCents.size());
    for (std::size_t n = 0; n < notes.size(); ++n) {
        for (std::size_t v = 0; v < kDetuneCents.size(); ++v) {
            Saw saw(noteHz(notes[n] + kDetuneCents[v] / 100.0f), 0.13f * static_cast<float>(n * 3 + v));
            Filter filter;
            const Pan place(kPans[v] * (n % 2 == 0 ? 1.0f : -1.0f));
            for (std::size_t i = 0; i < length + release; ++i) {
                if (i % 64 == 0) {
                    const float t = static_cast<float>(i) / kRate;
                    // A slow swell of the filter across each chord.
                    filter.tune((500.0f + 3200.0f * brightness) * (1.0f + 0.25f * std::sin(t * 1.7f)), 0.9f);
                }
                filter.run(saw.next());
                const float env = gate(i, attack, length, release);
                out.add(at + i, filter.low * env * level * duckAt(duck, at + i), place);
            }
        }
    }
}

void pluck(Track& out, const Duck& duck, std::size_t at, float note, float gain, float brightness, float pan) {
    const Pan place(pan);
    Saw square(noteHz(note));
    Filter filter;
    const std::size_t length = framesOf(0.22f);
    for (std::size_t i = 0; i < length; ++i) {
        const float t = static_cast<float>(i) / kRate;
        if (i % 16 == 0) filter.tune(400.0f + (600.0f + 6000.0f * brightness) * std::exp(-t * 22.0f), 1.4f);
        filter.run(square.nextSquare());
        const float env = std::exp(-t * 13.0f) * std::min(1.0f, t * 1000.0f);
        out.add(at + i, filter.low * env * gain * duckAt(duck, at + i), place);
    }
}

void lead(Track& out, std::size_t at, std::size_t length, float note, float gain) {
    const Pan centre(0.0f);
    const float hz = noteHz(note);
    Saw a(hz, 0.0f), b(hz, 0.37f), sub(hz * 0.5f, 0.2f);
    Filter filter;
    filter.tune(3800.0f, 1.2f);
    const std::size_t release = framesOf(0.09f);
    for (std::size_t i = 0; i < length + release; ++i) {
        const float t = static_cast<float>(i) / kRate;
        if (i % 32 == 0) {
            // Vibrato creeps in on long notes, like a played lead.
            const float depth = std::min(1.0f, std::max(0.0f, t - 0.18f) * 3.0f) * 0.12f;
            const float bend = std::pow(2.0f, depth * std::sin(kTwoPi * 5.5f * t) / 12.0f);
            a.setHz(hz * bend * 1.0035f);
            b.setHz(hz * bend * 0.9965f);
            sub.setHz(hz * bend * 0.5f);
        }
        filter.run(0.5f * a.next() + 0.5f * b.next() + 0.35f * sub.nextSquare());
        const float env = gate(i, framesOf(0.006f), length, release);
        out.add(at + i, filter.low * env * gain, centre);
    }
}

void blip(Track& out, std::size_t at, float note, float gain, float pan) {
    const Pan place(pan);
    const float hz = noteHz(note);
    const std::size_t length = framesOf(0.3f);
    for (std::size_t i = 0; i < length; ++i) {
        const float t = static_cast<float>(i) / kRate;
        const float index = 3.0f * std::exp(-t * 12.0f);
        const float value = std::sin(kTwoPi * hz * t + index * std::sin(kTwoPi * hz * 2.01f * t));
        out.add(at + i, value * std::exp(-t * 10.0f) * gain, place);
    }
}

}  // namespace synth
