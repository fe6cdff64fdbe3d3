#include "pack/models/ThreeDsBuilder.h"

#include <lib3ds/material.h>
#include <lib3ds/matrix.h>
#include <lib3ds/mesh.h>
#include <lib3ds/tracks.h>

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace {

void copyName(char* target, std::size_t capacity, const std::string& name) {
    if (name.size() >= capacity) throw std::runtime_error("3DS name too long: " + name);
    std::strcpy(target, name.c_str());
}

void setColour(Lib3dsRgba target, Rgb colour) {
    target[0] = colour.r;
    target[1] = colour.g;
    target[2] = colour.b;
    target[3] = 1.0f;
}

// The renderers draw every mesh turned 90 degrees about z.
const Affine kUndoRendererTurn = Affine::rotate(-90.0f, {0.0f, 0.0f, 1.0f});

void lin3Key(Lib3dsLin3Track& track, Vec3 value) {
    Lib3dsLin3Key* key = lib3ds_lin3_key_new();
    key->tcb.frame = 0;
    key->value[0] = value.x;
    key->value[1] = value.y;
    key->value[2] = value.z;
    lib3ds_lin3_track_insert(&track, key);
    lib3ds_lin3_track_setup(&track);
}

}  // namespace

ThreeDsBuilder::ThreeDsBuilder() : file(lib3ds_file_new()) {
    if (file == nullptr) throw std::runtime_error("lib3ds: out of memory");
}

ThreeDsBuilder::~ThreeDsBuilder() { lib3ds_file_free(file); }

void ThreeDsBuilder::setFrames(int frames) {
    file->frames = frames;
    file->segment_from = 0;
    file->segment_to = frames;
}

void ThreeDsBuilder::addMaterial(const std::string& name, Rgb diffuse, Rgb specular, float shininess) {
    Lib3dsMaterial* material = lib3ds_material_new();
    copyName(material->name, sizeof material->name, name);
    setColour(material->ambient, Rgb{0.0f, 0.0f, 0.0f});
    setColour(material->diffuse, diffuse);
    setColour(material->specular, specular);
    material->shininess = shininess;
    lib3ds_file_insert_material(file, material);
}

void ThreeDsBuilder::addMesh(const std::string& name, const MeshData& data) {
    Lib3dsMesh* mesh = lib3ds_mesh_new(name.c_str());
    copyName(mesh->name, 11, name);  // 3DS object names hold ten characters
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) mesh->matrix[j][i] = data.frame.m[i][j];
    }
    const Affine store = kUndoRendererTurn.then(data.frame);
    lib3ds_mesh_new_point_list(mesh, static_cast<Lib3dsDword>(data.points.size()));
    for (std::size_t i = 0; i < data.points.size(); ++i) {
        const Vec3 p = store.apply(data.points[i]);
        mesh->pointL[i].pos[0] = p.x;
        mesh->pointL[i].pos[1] = p.y;
        mesh->pointL[i].pos[2] = p.z;
    }
    lib3ds_mesh_new_face_list(mesh, static_cast<Lib3dsDword>(data.faces.size()));
    for (std::size_t i = 0; i < data.faces.size(); ++i) {
        const MeshData::Face& face = data.faces[i];
        Lib3dsFace& target = mesh->faceL[i];
        copyName(target.material, sizeof target.material, face.material);
        std::memcpy(target.points, face.points, sizeof target.points);
        target.flags = LIB3DS_FACE_FLAG_VIS_AB | LIB3DS_FACE_FLAG_VIS_BC | LIB3DS_FACE_FLAG_VIS_AC;
        target.smoothing = face.smoothing;
    }
    lib3ds_file_insert_mesh(file, mesh);
}

void ThreeDsBuilder::addNode(const Node& wanted) {
    Lib3dsNode* node = nullptr;
    switch (wanted.type) {
    case LIB3DS_OBJECT_NODE:
        node = lib3ds_node_new_object();
        break;
    case LIB3DS_CAMERA_NODE:
        node = lib3ds_node_new_camera();
        break;
    case LIB3DS_TARGET_NODE:
        node = lib3ds_node_new_target();
        break;
    case LIB3DS_LIGHT_NODE:
        node = lib3ds_node_new_light();
        break;
    default:
        throw std::runtime_error("3DS builder: unsupported node type");
    }
    node->node_id = wanted.id;
    node->parent_id = wanted.parent;
    copyName(node->name, sizeof node->name, wanted.name);

    if (wanted.type == LIB3DS_OBJECT_NODE) {
        Lib3dsObjectData& object = node->data.object;
        copyName(object.instance, sizeof object.instance, wanted.instance);
        object.pivot[0] = wanted.pivot.x;
        object.pivot[1] = wanted.pivot.y;
        object.pivot[2] = wanted.pivot.z;
        lin3Key(object.pos_track, wanted.position);
        lin3Key(object.scl_track, Vec3{1.0f, 1.0f, 1.0f});
        Lib3dsQuatKey* key = lib3ds_quat_key_new();
        key->tcb.frame = 0;
        key->angle = static_cast<float>(-wanted.degrees * 3.14159265358979323846 / 180.0);
        key->axis[0] = wanted.axis.x;
        key->axis[1] = wanted.axis.y;
        key->axis[2] = wanted.axis.z;
        lib3ds_quat_track_insert(&object.rot_track, key);
        lib3ds_quat_track_setup(&object.rot_track);
    } else if (wanted.type == LIB3DS_CAMERA_NODE) {
        lin3Key(node->data.camera.pos_track, wanted.position);
    } else if (wanted.type == LIB3DS_TARGET_NODE) {
        lin3Key(node->data.target.pos_track, wanted.position);
    } else {
        lin3Key(node->data.light.pos_track, wanted.position);
    }
    lib3ds_file_insert_node(file, node);
}

void ThreeDsBuilder::save(const std::filesystem::path& path) const {
    if (!lib3ds_file_save(file, path.c_str())) throw std::runtime_error("cannot write " + path.string());
}
