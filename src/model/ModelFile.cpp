#include "model/ModelFile.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "model/ChunkTreeCheck.h"

Lib3dsFile* loadModelFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad() || !chunkTreeIsSafe(bytes.data(), bytes.size())) return nullptr;
    return lib3ds_file_load(path.c_str());
}
