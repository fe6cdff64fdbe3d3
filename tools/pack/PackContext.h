// What every generator of the data pack is given: where to write, which track
// to make, one fixed seed, and a place to report progress.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "pack/Random.h"

struct PackContext {
    std::filesystem::path outDir;
    bool shortTrack = false;          // the test pack: same files, cues about a second apart
    std::uint32_t seed = 0x4D415252;  // fixed: the same pack, byte for byte, on every run

    // Path of a pack file given as the show names it ("demoMesh/queen.3ds");
    // creates the directories on the way.
    std::filesystem::path file(const std::string& relative) const;

    // A seed and a generator of its own for each file, so one file's changes
    // never shift another's random numbers.
    std::uint32_t seedFor(const std::string& file) const;
    Random randomFor(const std::string& file) const { return Random(seedFor(file)); }

    // One line of progress on standard output.
    void progress(const std::string& what) const;
};
