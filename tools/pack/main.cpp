// marrowick-pack: writes the show's data pack from code and a fixed seed.
//   marrowick-pack OUTDIR          the whole pack
//   marrowick-pack --short OUTDIR  the same pack with the short test track
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>

#include "pack/Generators.h"
#include "pack/PackContext.h"

int main(int argc, char** argv) {
    PackContext pack;
    int arg = 1;
    if (arg < argc && std::strcmp(argv[arg], "--short") == 0) {
        pack.shortTrack = true;
        ++arg;
    }
    if (arg + 1 != argc) {
        std::cerr << "usage: marrowick-pack [--short] OUTDIR\n";
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
