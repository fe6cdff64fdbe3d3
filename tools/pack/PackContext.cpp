#include "PackContext.h"

#include <iostream>

std::filesystem::path PackContext::file(const std::string& relative) const {
    const std::filesystem::path path = outDir / relative;
    std::filesystem::create_directories(path.parent_path());
    return path;
}

void PackContext::progress(const std::string& what) const { std::cout << "marrowick-pack: " << what << std::endl; }
