// How long a seek takes before its first frame is on screen, against the time
// one frame takes to draw, measured in the same run: to a state already saved,
// back into time already played, ten seconds forward into time not yet
// played, and from the start to the last section. The show runs off-screen on
// the offline clock, as the player runs it.
//   seek_benchmark PACK_DIR [WIDTHxHEIGHT] [TRIALS]
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/DataPath.h"
#include "platform/OffscreenGl.h"
#include "show/OfflineClock.h"
#include "show/Show.h"
#include "show/View.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Median and worst of `trials` runs of `once`, which returns its own time.
struct Figures {
    double median, worst;
};
Figures measure(int trials, const std::function<double(int trial)>& once) {
    std::vector<double> times;
    for (int i = 0; i < trials; ++i) times.push_back(once(i));
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: seek_benchmark PACK_DIR [WIDTHxHEIGHT] [TRIALS]\n");
        return 2;
    }
    int width = 1280, height = 720;
    if (argc > 2) std::sscanf(argv[2], "%dx%d", &width, &height);
    const int trials = argc > 3 ? std::atoi(argv[3]) : 5;

    static OfflineClock clock;
    static Show show(argv[1], &clock);
    static platform::OffscreenGl context(width, height);
    show.start();
    reshapeOnto(centredFourByThree(width, height));
    const std::uint64_t period = show.periodMs();
    const std::uint64_t last = show.closingFrame() - 1;
    const auto drawn = [&](std::uint64_t frame) {  // the seek and its frame
        const Clock::time_point start = Clock::now();
        show.seek(frame);
        show.runFrame(true);
        glFinish();
        return msSince(start);
    };

    // From the start to the credits with nothing saved on the way, first: the
    // longest seek there is (a --from at launch).
    const Clock::time_point start = Clock::now();
    show.seek(show.chapters()[16].frame);  // littleChase
    show.runFrame(true);
    glFinish();
    const double far = msSince(start);
    show.seek(0);

    const Figures frame = measure(trials * 20, [&](int) { return drawn(show.frame()); });
    // Ten seconds on into time not yet played, again and again from the start.
    const Figures unplayed = measure(trials, [&](int) {
        const std::uint64_t target = std::min(show.frame() + 10000 / period, last);
        return drawn(target);
    });
    const Figures saved =
        measure(trials, [&](int trial) { return drawn(show.chapters()[static_cast<std::size_t>(trial) % 8].frame); });
    const Figures played = measure(trials, [&](int trial) {
        return drawn(show.frame() * static_cast<std::uint64_t>(trial + 1) / static_cast<std::uint64_t>(trials + 2) +
                     41);
    });

    std::printf("seeks at %dx%d, %d trials; one drawn frame: median %.2f ms, worst %.2f ms\n", width, height, trials,
                frame.median, frame.worst);
    std::printf("%-38s %10s %10s %10s\n", "seek, then its frame drawn", "median ms", "worst ms", "x frame");
    const auto row = [&](const char* what, Figures f) {
        std::printf("%-38s %10.1f %10.1f %10.1f\n", what, f.median, f.worst, f.median / frame.median);
    };
    row("to a saved state (a cue)", saved);
    row("back into played time", played);
    row("10 s on into unplayed time", unplayed);
    row("from launch to the credits, unplayed", {far, far});
    std::printf("saved states: %zu, %zu bytes in all (%zu bytes each on average)\n", show.savedStates(),
                show.savedBytes(), show.savedBytes() / std::max<std::size_t>(show.savedStates(), 1));
    std::fflush(stdout);
    std::_Exit(0);  // the show's objects are not to be taken down by a benchmark
}
