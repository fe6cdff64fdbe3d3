// marrowick-pack: writes the show's data pack from code and a fixed seed.
//   marrowick-pack OUTDIR          the whole pack
//   marrowick-pack --short OUTDIR  the same pack with the short test track
//   marrowick-pack --icon SIZE FILE.png  the program's icon, SIZE pixels square
#include <charconv>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>

#include "pack/Generators.h"
#include "pack/PackContext.h"
#include "pack/icon/AppIcon.h"

namespace {

int writeIcon(const char* size, const char* file) {
    int pixels = 0;
    const char* end = size + std::strlen(size);
    const auto [stop, error] = std::from_chars(size, end, pixels);
    if (error != std::errc() || stop != end || pixels < 16 || pixels > 1024) {
        std::cerr << "marrowick-pack: --icon: expected a size from 16 to 1024, not \"" << size << "\"\n";
        return 2;
    }
    try {
        writeAppIcon(file, pixels);
    } catch (const std::exception& error) {
        std::cerr << "marrowick-pack: " << error.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--icon") == 0) return writeIcon(argv[2], argv[3]);
    PackContext pack;
    int arg = 1;
    if (arg < argc && std::strcmp(argv[arg], "--short") == 0) {
        pack.shortTrack = true;
        ++arg;
    }
    if (arg + 1 != argc) {
        std::cerr << "usage: marrowick-pack [--short] OUTDIR\n       marrowick-pack --icon SIZE FILE.png\n";
        return 2;
    }
    pack.outDir = argv[arg];
    try {
        std::filesystem::create_directories(pack.outDir);
        for (const Generator& generator : generators()) {
            pack.progress(generator.name);
            generator.write(pack);
        }
    } catch (const std::exception& error) {
        std::cerr << "marrowick-pack: " << error.what() << "\n";
        return 1;
    }
    pack.progress("done");
    return 0;
}
