#include "music/Synth.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace synth {
namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kTwoPi = 2.0f * kPi;

std::size_t framesOf(float seconds) { return static_cast<std::size_t>(seconds * kRate); }

// Topology-preserving state-variable filter: stable at any cutoff, and the
// resonance does not detune it, which the acid line depends on.
class Filter {
public:
    void tune(float hz, float q) {
        const float g = std::tan(kPi * std::clamp(hz, 20.0f, kRate * 0.45f) / kRate);
        k = 1.0f / q;
        a1 = 1.0f / (1.0f + g * (g + k));
        a2 = g * a1;
        a3 = g * a2;
    }
    void run(float in) {
        const float v3 = in - ic2;
        const float v1 = a1 * ic1 + a2 * v3;
        const float v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0f * v1 - ic1;
        ic2 = 2.0f * v2 - ic2;
        low = v2;
        band = v1;
        high = in - k * v1 - v2;
    }
    float low = 0.0f;
    float band = 0.0f;
    float high = 0.0f;

private:
    float ic1 = 0.0f, ic2 = 0.0f, k = 1.0f, a1 = 0.0f, a2 = 0.0f, a3 = 0.0f;
};

// Band-limited saw (polyBLEP): bright without the whistle of aliasing.
class Saw {
public:
    explicit Saw(float hz, float phase = 0.0f) : step(hz / kRate), phase(phase) {}
    void setHz(float hz) { step = hz / kRate; }
    float next() {
        float value = 2.0f * phase - 1.0f - blep(phase);
        phase += step;
        if (phase >= 1.0f) phase -= 1.0f;
        return value;
    }
    // A square from two saws half a cycle apart.
    float nextSquare() {
        float shifted = phase + 0.5f;
        if (shifted >= 1.0f) shifted -= 1.0f;
        const float a = 2.0f * phase - 1.0f - blep(phase);
        const float b = 2.0f * shifted - 1.0f - blep(shifted);
        phase += step;
        if (phase >= 1.0f) phase -= 1.0f;
        return 0.5f * (a - b);
    }

private:
    float blep(float t) const {
        if (t < step) {
            t /= step;
            return t + t - t * t - 1.0f;
        }
        if (t > 1.0f - step) {
            t = (t - 1.0f) / step;
            return t * t + t + t + 1.0f;
        }
        return 0.0f;
    }
    float step;
    float phase;
};

// Six detuned squares: the metallic body of an analogue drum machine's hats.
class Metal {
public:
    float next() {
        static constexpr std::array<float, 6> kHz = {205.3f, 304.4f, 369.6f, 522.7f, 540.0f, 800.0f};
        float sum = 0.0f;
        for (std::size_t i = 0; i < kHz.size(); ++i) {
            phases[i] += kHz[i] * 1.7f / kRate;
            if (phases[i] >= 1.0f) phases[i] -= 1.0f;
            sum += phases[i] < 0.5f ? 1.0f : -1.0f;
        }
        return sum / 6.0f;
    }

private:
    std::array<float, 6> phases{};
};

float duckAt(const Duck& duck, std::size_t frame) { return frame < duck.size() ? duck[frame] : 1.0f; }

// Attack, then full level until `length`, then a release; 0 afterwards.
float gate(std::size_t i, std::size_t attack, std::size_t length, std::size_t release) {
    if (i < attack) return static_cast<float>(i) / static_cast<float>(attack);
    if (i < length) return 1.0f;
    if (i < length + release) return 1.0f - static_cast<float>(i - length) / static_cast<float>(release);
    return 0.0f;
}

}  // namespace

Pan::Pan(float position)
    : left(std::cos((position + 1.0f) * kPi / 4.0f)), right(std::sin((position + 1.0f) * kPi / 4.0f)) {}

float noteHz(float midiNote) { return 440.0f * std::pow(2.0f, (midiNote - 69.0f) / 12.0f); }

void kick(Track& out, std::size_t at, float gain) {
    const Pan centre(0.0f);
    float phase = 0.0f;
    const std::size_t length = framesOf(0.42f);
    for (std::size_t i = 0; i < length; ++i) {
        const float t = static_cast<float>(i) / kRate;
        phase += (48.0f + 120.0f * std::exp(-t * 30.0f)) / kRate;
        const float body = std::sin(kTwoPi * phase) * std::exp(-t * 7.0f);
        const float click = std::sin(kTwoPi * 1600.0f * t) * std::exp(-t * 400.0f) * 0.25f;
        out.add(at + i, std::tanh(1.6f * (body + click)) * gain, centre);
    }
}

void snare(Track& out, std::size_t at, float gain, Random& random) {
    const Pan centre(0.05f);
    Filter noise;
    noise.tune(3200.0f, 0.8f);
    const std::size_t length = framesOf(0.3f);
    for (std::size_t i = 0; i < length; ++i) {
        const float t = static_cast<float>(i) / kRate;
        const float tone =
            (std::sin(kTwoPi * 185.0f * t) + 0.5f * std::sin(kTwoPi * 330.0f * t)) * std::exp(-t * 25.0f);
        noise.run(random.bipolar());
        const float hiss = (noise.band * 1.6f + noise.high * 0.4f) * std::exp(-t * 13.0f);
        out.add(at + i, (0.5f * tone + hiss) * gain, centre);
    }
}

void clap(Track& out, std::size_t at, float gain, Random& random) {
    const Pan centre(-0.05f);
    Filter band;
    band.tune(1250.0f, 1.6f);
    const std::size_t length = framesOf(0.32f);
    for (std::size_t i = 0; i < length; ++i) {
        const float t = static_cast<float>(i) / kRate;
        // Three quick hands, then the room.
        float env = std::exp(-std::fmod(t, 0.011f) * 260.0f);
        if (t >= 0.033f) env = 0.7f * std::exp(-(t - 0.033f) * 16.0f);
        band.run(random.bipolar());
        out.add(at + i, band.band * 2.2f * env * gain, centre);
    }
}

void hat(Track& out, std::size_t at, float gain, bool open, float pan, Random& random) {
    const Pan place(pan);
    Filter high;
    high.tune(7500.0f, 0.9f);
    Metal metal;
    const float decay = open ? 9.0f : 55.0f;
    const std::size_t length = framesOf(open ? 0.4f : 0.09f);
    for (std::size_t i = 0; i < length; ++i) {
        const float t = static_cast<float>(i) / kRate;
        high.run(0.6f * random.bipolar() + 0.5f * metal.next());
        out.add(at + i, high.high * std::exp(-t * decay) * gain, place);
    }
}

void crash(Track& out, std::size_t at, float gain, Random& random) {
    Filter highLeft, highRight;
    highLeft.tune(4200.0f, 0.7f);
    highRight.tune(4600.0f, 0.7f);
    Metal metal;
    const std::size_t length = framesOf(2.4f);
    for (std::size_t i = 0; i < length && at + i < out.frames(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        const float env = std::exp(-t * 2.3f) * std::min(1.0f, t * 2000.0f);
        const float ring = 0.35f * metal.next();
        highLeft.run(random.bipolar() + ring);
        highRight.run(random.bipolar() + ring);
        out.left[at + i] += highLeft.high * env * gain;
        out.right[at + i] += highRight.high * env * gain;
    }
}

void riser(Track& out, std::size_t at, std::size_t length, float gain, Random& random) {
    Filter sweep;
    const Pan centre(0.0f);
    for (std::size_t i = 0; i < length; ++i) {
        const float x = static_cast<float>(i) / static_cast<float>(length);
        if (i % 32 == 0) sweep.tune(300.0f * std::pow(30.0f, x), 2.5f);
        sweep.run(random.bipolar());
        out.add(at + i, sweep.band * x * x * gain, centre);
    }
}

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

void echo(Track& track, std::size_t delayLeft, std::size_t delayRight, float feedback, float mix) {
    std::vector<float> lineLeft(delayLeft, 0.0f), lineRight(delayRight, 0.0f);
    Filter toneLeft, toneRight;  // each repeat a little darker
    toneLeft.tune(3000.0f, 0.7f);
    toneRight.tune(3000.0f, 0.7f);
    for (std::size_t i = 0; i < track.frames(); ++i) {
        float& outLeft = lineLeft[i % delayLeft];
        float& outRight = lineRight[i % delayRight];
        const float heardLeft = outLeft, heardRight = outRight;
        toneLeft.run(heardRight);
        toneRight.run(heardLeft);
        // Ping-pong: each side feeds the other.
        outLeft = 0.5f * (track.left[i] + track.right[i]) + feedback * toneLeft.low;
        outRight = feedback * toneRight.low;
        track.left[i] += mix * heardLeft;
        track.right[i] += mix * heardRight;
    }
}

namespace {

class Comb {
public:
    explicit Comb(std::size_t size) : line(size, 0.0f) {}
    float run(float in, float feedback, float damp) {
        const float out = line[at];
        store = out * (1.0f - damp) + store * damp;
        line[at] = in + store * feedback;
        if (++at == line.size()) at = 0;
        return out;
    }

private:
    std::vector<float> line;
    std::size_t at = 0;
    float store = 0.0f;
};

class Allpass {
public:
    explicit Allpass(std::size_t size) : line(size, 0.0f) {}
    float run(float in) {
        const float delayed = line[at];
        line[at] = in + delayed * 0.5f;
        if (++at == line.size()) at = 0;
        return delayed - in;
    }

private:
    std::vector<float> line;
    std::size_t at = 0;
};

}  // namespace

void reverb(Track& track, float mix) {
    // A Schroeder-Moorer room: parallel damped combs into series all-passes,
    // tuned a little apart per side for width.
    static constexpr std::array<std::size_t, 8> kCombs = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static constexpr std::array<std::size_t, 4> kAllpasses = {556, 441, 341, 225};
    constexpr std::size_t kSpread = 23;
    std::vector<Comb> combsLeft, combsRight;
    std::vector<Allpass> passesLeft, passesRight;
    for (std::size_t size : kCombs) {
        combsLeft.emplace_back(size);
        combsRight.emplace_back(size + kSpread);
    }
    for (std::size_t size : kAllpasses) {
        passesLeft.emplace_back(size);
        passesRight.emplace_back(size + kSpread);
    }
    for (std::size_t i = 0; i < track.frames(); ++i) {
        const float in = 0.015f * (track.left[i] + track.right[i]);
        float left = 0.0f, right = 0.0f;
        for (std::size_t c = 0; c < kCombs.size(); ++c) {
            left += combsLeft[c].run(in, 0.84f, 0.25f);
            right += combsRight[c].run(in, 0.84f, 0.25f);
        }
        for (std::size_t a = 0; a < kAllpasses.size(); ++a) {
            left = passesLeft[a].run(left);
            right = passesRight[a].run(right);
        }
        track.left[i] += mix * left;
        track.right[i] += mix * right;
    }
}

}  // namespace synth
