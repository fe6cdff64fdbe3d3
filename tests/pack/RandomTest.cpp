// The pack's random numbers: in range and even, and a stream of its own for
// every file, so a change to one file leaves the others' bytes alone.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "pack/PackContext.h"
#include "pack/Random.h"

TEST(PackRandom, DrawsStayInTheirRangeAndSpreadEvenly) {
    struct Case {
        const char* what;
        float low, high;
        float (*draw)(Random&, float, float);
    };
    const Case cases[] = {
        {"uniform", 0.0f, 1.0f, [](Random& r, float, float) { return r.uniform(); }},
        {"bipolar", -1.0f, 1.0f, [](Random& r, float, float) { return r.bipolar(); }},
        {"range", 6.0f, 18.0f, [](Random& r, float low, float high) { return r.range(low, high); }},
        {"range below zero", -0.5f, -0.25f, [](Random& r, float low, float high) { return r.range(low, high); }},
    };
    constexpr int kDraws = 40000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Random random(12345);
        int buckets[4] = {};
        for (int i = 0; i < kDraws; ++i) {
            const float x = c.draw(random, c.low, c.high);
            ASSERT_GE(x, c.low);
            ASSERT_LT(x, c.high);
            ++buckets[static_cast<int>((x - c.low) / (c.high - c.low) * 4)];
        }
        for (int count : buckets) EXPECT_NEAR(count, kDraws / 4, kDraws / 40) << "quarters drawn unevenly";
    }
}

TEST(PackRandom, EachFileHasAStreamOfItsOwnThatFollowsThePackSeed) {
    const char* files[] = {"grass.jpg", "sky.jpg", "ting/boom.jpg", "ting/credits.jpg", "demot.wav", "transFont.tle"};
    PackContext pack;
    PackContext reseeded;
    reseeded.seed = pack.seed + 1;
    std::set<std::uint32_t> firsts;
    for (const char* file : files) {
        SCOPED_TRACE(file);
        EXPECT_EQ(pack.randomFor(file).next(), pack.randomFor(file).next()) << "the same on every run";
        EXPECT_NE(pack.randomFor(file).next(), reseeded.randomFor(file).next()) << "the pack seed is ignored";
        firsts.insert(pack.randomFor(file).next());
    }
    EXPECT_EQ(firsts.size(), std::size(files)) << "two files share a stream";
}
