#include "pack/music/Drums.h"

#include <algorithm>
#include <cmath>

namespace synth {

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

}  // namespace synth
