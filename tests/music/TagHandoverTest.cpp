// Run under the thread sanitizer (see scripts/test): one thread delivers cue
// names as the audio thread does while the main thread reads them per frame.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "music/Music.h"
#include "music/SyncTag.h"

TEST(TagHandover, EveryReadIsEmptyOrOneWholeName) {
    // Names of very different lengths, so a torn copy would show as a mix.
    const std::vector<std::string> names = {"a", std::string(1023, 'b'), "queenRoll", std::string(700, 'c') + "end",
                                            "fadeToCredits"};
    const std::set<std::string> whole(names.begin(), names.end());
    Music::getTag();

    std::atomic<bool> done{false};
    std::thread audio([&] {
        for (int i = 0; i < 200000; ++i) showSyncTag().post(names[i % names.size()].c_str());
        done = true;
    });
    long reads = 0;
    long seen = 0;
    long broken = 0;
    while (!done || reads < 1000) {
        const std::string tag = Music::getTag();
        ++reads;
        if (tag.empty()) continue;
        ++seen;
        if (whole.count(tag) == 0) ++broken;
    }
    audio.join();
    // The writer may have run entirely between two reads; its last name is
    // still pending then.
    const std::string last = Music::getTag();
    if (!last.empty()) {
        ++seen;
        if (whole.count(last) == 0) ++broken;
    }
    EXPECT_EQ(broken, 0) << "of " << seen << " names read in " << reads << " reads";
    EXPECT_GT(seen, 0);
}
