#include "pack/PackContext.h"

#include <iostream>

std::filesystem::path PackContext::file(const std::string& relative) const {
    const std::filesystem::path path = outDir / relative;
    std::filesystem::create_directories(path.parent_path());
    return path;
}

std::uint32_t PackContext::seedFor(const std::string& file) const {
    std::uint32_t h = 2166136261u;  // FNV-1a over the name, mixed with the pack seed
    for (unsigned char c : file) h = (h ^ c) * 16777619u;
    return h ^ seed;
}

void PackContext::progress(const std::string& what) const { std::cout << "marrowick-pack: " << what << std::endl; }
