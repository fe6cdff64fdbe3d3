// What the instruments and effects of the track are built from: the stereo
// track they write into, oscillators, a filter, an envelope. Small enough to
// live here whole, so the per-sample loops that use them inline them.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

namespace synth {

constexpr float kRate = 44100.0f;
constexpr float kPi = 3.14159265358979f;
constexpr float kTwoPi = 2.0f * kPi;

inline std::size_t framesOf(float seconds) { return static_cast<std::size_t>(seconds * kRate); }

float noteHz(float midiNote);

// Gains of the two channels for a place in the stereo field, -1 (left) to
// 1 (right), at constant power.
struct Pan {
    explicit Pan(float position);
    float left;
    float right;
};

// A stereo buffer of the whole track. Writes past its end are dropped.
struct Track {
    explicit Track(std::size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    void add(std::size_t frame, float value, const Pan& pan) {
        if (frame >= left.size()) return;
        left[frame] += value * pan.left;
        right[frame] += value * pan.right;
    }
    std::size_t frames() const { return left.size(); }
    std::vector<float> left;
    std::vector<float> right;
};

// A gain per frame that dips after every kick, so pads and bass breathe with
// the beat; 1 where nothing ducks.
using Duck = std::vector<float>;

inline float duckAt(const Duck& duck, std::size_t frame) { return frame < duck.size() ? duck[frame] : 1.0f; }

// Attack, then full level until `length`, then a release; 0 afterwards.
inline float gate(std::size_t i, std::size_t attack, std::size_t length, std::size_t release) {
    if (i < attack) return static_cast<float>(i) / static_cast<float>(attack);
    if (i < length) return 1.0f;
    if (i < length + release) return 1.0f - static_cast<float>(i - length) / static_cast<float>(release);
    return 0.0f;
}

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

}  // namespace synth
