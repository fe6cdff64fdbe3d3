// The 3DS load path as the show takes it: the bytes go through the chunk-tree
// check and then lib3ds reads the same bytes; what loads is evaluated at
// frame 0 and its normals computed as the renderers will.
#include <lib3ds/file.h>
#include <lib3ds/mesh.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/ModelFile.h"

// lib3ds drops what it has read when it gives up on a file: its leaks are
// not ours to find.
extern "C" const char* __lsan_default_suppressions() { return "leak:lib3ds_\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Lib3dsFile* file = loadModelFile(data, size);
    if (file == nullptr) return 0;
    lib3ds_file_eval(file, 0.0f);
    for (Lib3dsMesh* mesh = file->meshes; mesh != nullptr; mesh = mesh->next) {
        std::vector<float> normals(9 * static_cast<std::size_t>(mesh->faces));
        lib3ds_mesh_calculate_normals(mesh, reinterpret_cast<Lib3dsVector*>(normals.data()));
    }
    lib3ds_file_free(file);
    return 0;
}
