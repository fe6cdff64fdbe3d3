// The instruments of the track: a small subtractive synthesizer and drum
// machine of the kind period demo tracks were made with (detuned saws,
// resonant filters, noise drums). Each call renders one note into a stereo
// track; nothing here knows about the arrangement.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace synth {

constexpr float kRate = 44100.0f;

// xorshift32: the same noise on every run and every platform.
class Random {
public:
    explicit Random(std::uint32_t seed) : state(seed != 0 ? seed : 0x9E3779B9u) {}
    std::uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    float bipolar() { return static_cast<float>(next() >> 8) / 8388608.0f - 1.0f; }
    float unit() { return static_cast<float>(next() >> 8) / 16777216.0f; }

private:
    std::uint32_t state;
};

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

float noteHz(float midiNote);

// Drums. `at` is the first frame, gain about 0..1.
void kick(Track& out, std::size_t at, float gain);
void snare(Track& out, std::size_t at, float gain, Random& random);
void clap(Track& out, std::size_t at, float gain, Random& random);
void hat(Track& out, std::size_t at, float gain, bool open, float pan, Random& random);
void crash(Track& out, std::size_t at, float gain, Random& random);
// A noise sweep that rises into `at + length`.
void riser(Track& out, std::size_t at, std::size_t length, float gain, Random& random);

// Tonal voices: a note of `length` frames (the release rings on after it).
void bass(Track& out, const Duck& duck, std::size_t at, std::size_t length, float note, float gain);
// Saw through a resonant low-pass whose cutoff falls from `cutoff`: the 303 line.
void acid(Track& out, const Duck& duck, std::size_t at, std::size_t length, float note, float gain, float cutoff,
          bool accent);
void pad(Track& out, const Duck& duck, std::size_t at, std::size_t length, const std::vector<float>& notes, float gain,
         float brightness);
void pluck(Track& out, const Duck& duck, std::size_t at, float note, float gain, float brightness, float pan);
void lead(Track& out, std::size_t at, std::size_t length, float note, float gain);
void blip(Track& out, std::size_t at, float note, float gain, float pan);

// Effects over a whole track.
void echo(Track& track, std::size_t delayLeft, std::size_t delayRight, float feedback, float mix);
void reverb(Track& track, float mix);

}  // namespace synth
