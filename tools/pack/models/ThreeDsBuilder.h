// Writes a 3DS file with lib3ds from meshes, materials and keyframer nodes,
// planning for how lib3ds 1.3 and the show's renderers read such files back:
// the keyframer section is only written when there are nodes and the frame
// count is set explicitly; root nodes name no parent (65535); nodes are placed
// through keys, since a node without keys evaluates to the identity; rotation
// keys turn the other way round from glRotatef; and the renderers turn every
// mesh 90 degrees about z before placing it, so meshes are stored turned back.
#pragma once

#include <lib3ds/file.h>
#include <lib3ds/node.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>

#include "pack/models/Shapes.h"

struct Rgb {
    float r, g, b;
};

class ThreeDsBuilder {
public:
    static constexpr std::uint16_t kNoParent = LIB3DS_NO_PARENT;

    struct Node {
        Node(std::uint16_t id, std::uint16_t parent, std::string name, std::string instance = "")
            : id(id), parent(parent), name(std::move(name)), instance(std::move(instance)) {}

        std::uint16_t id = 0;
        std::uint16_t parent = kNoParent;
        std::string name;      // a mesh name, "$$$DUMMY" for a group
        std::string instance;  // tells apart several nodes of one mesh
        Lib3dsNodeTypes type = LIB3DS_OBJECT_NODE;
        // Relative to the parent node, at frame 0.
        Vec3 position;
        float degrees = 0.0f;  // as glRotatef
        Vec3 axis{0.0f, 0.0f, 1.0f};
        Vec3 pivot;
    };

    ThreeDsBuilder();
    ~ThreeDsBuilder();
    ThreeDsBuilder(const ThreeDsBuilder&) = delete;
    ThreeDsBuilder& operator=(const ThreeDsBuilder&) = delete;

    void setFrames(int frames);
    // shininess 0..1 (stored as a percentage).
    void addMaterial(const std::string& name, Rgb diffuse, Rgb specular, float shininess);
    // Mesh coordinates are those the node places; see the header comment.
    void addMesh(const std::string& name, const MeshData& mesh);
    void addNode(const Node& node);

    // Throws std::runtime_error when the file cannot be written.
    void save(const std::filesystem::path& path) const;

private:
    Lib3dsFile* file;
};
