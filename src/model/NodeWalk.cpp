#include "model/NodeWalk.h"

#include <lib3ds/material.h>
#include <lib3ds/matrix.h>
#include <lib3ds/mesh.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "render/GeometryLeftOut.h"

namespace {

void applyMaterial(Lib3dsFile* file, const Lib3dsFace& face) {
    Lib3dsMaterial* material = face.material[0] != '\0' ? lib3ds_file_material_by_name(file, face.material) : nullptr;
    if (material != nullptr) {
        const GLfloat noAmbient[] = {0.0f, 0.0f, 0.0f, 1.0f};
        glMaterialfv(GL_FRONT, GL_AMBIENT, noAmbient);
        glMaterialfv(GL_FRONT, GL_DIFFUSE, material->diffuse);
        glMaterialfv(GL_FRONT, GL_SPECULAR, material->specular);
        glMaterialf(GL_FRONT, GL_SHININESS, shininessExponent(material->shininess));
    } else {
        const GLfloat ambient[] = {0.2f, 0.2f, 0.2f, 1.0f};
        const GLfloat diffuse[] = {0.8f, 0.8f, 0.8f, 1.0f};
        const GLfloat specular[] = {0.0f, 0.0f, 0.0f, 1.0f};
        glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
        glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
        glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    }
}

// Compiles (does not execute) the node's mesh into a new list and caches its
// name in the node. A node whose mesh is missing gets no list and is looked
// up again at the next draw.
void compileNode(Lib3dsNode* node, Lib3dsFile* file, GLenum primitive) {
    Lib3dsMesh* mesh = lib3ds_file_mesh_by_name(file, node->name);
    if (mesh == nullptr) return;

    const GLuint list = glGenLists(1);
    node->user.d = list;
    glNewList(list, GL_COMPILE);

    std::vector<float> normalData(static_cast<std::size_t>(mesh->faces) * 9);
    auto* normals = reinterpret_cast<Lib3dsVector*>(normalData.data());

    // Mesh points are stored in the mesh's own frame; take them back out of it.
    Lib3dsMatrix inverse;
    lib3ds_matrix_copy(inverse, mesh->matrix);
    lib3ds_matrix_inv(inverse);
    glMultMatrixf(&inverse[0][0]);

    lib3ds_mesh_calculate_normals(mesh, normals);
    for (Lib3dsDword i = 0; i < mesh->faces; ++i) {
        const Lib3dsFace& face = mesh->faceL[i];
        applyMaterial(file, face);
        glBegin(primitive);
        for (int corner = 0; corner < 3; ++corner) {
            glNormal3fv(normals[3 * i + corner]);
            glVertex3fv(mesh->pointL[face.points[corner]].pos);
        }
        glEnd();
    }
    glEndList();
}

void renderNode(Lib3dsNode* node, Lib3dsFile* file, GLenum primitive) {
    for (Lib3dsNode* child = node->childs; child != nullptr; child = child->next) {
        renderNode(child, file, primitive);
    }
    if (node->type != LIB3DS_OBJECT_NODE) return;
    if (std::strcmp(node->name, "$$$DUMMY") == 0) return;
    if (node->user.d == 0) compileNode(node, file, primitive);
    if (node->user.d == 0) return;

    const Lib3dsVector& pivot = node->data.object.pivot;
    glPushMatrix();
    glMultMatrixf(&node->matrix[0][0]);
    glTranslatef(-pivot[0], -pivot[1], -pivot[2]);
    glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
    glCallList(node->user.d);
    glPopMatrix();
}

}  // namespace

std::unique_ptr<Lib3dsNode> copyFirstNode(const Lib3dsFile* file) {
    if (file->nodes == nullptr) return nullptr;
    return std::make_unique<Lib3dsNode>(*file->nodes);
}

void renderTopLevel(Lib3dsNode* walkStart, Lib3dsFile* file, GLenum primitive) {
    // A node's list is compiled when it is first drawn, whenever that is.
    if (geometryLeftOut()) return;
    for (Lib3dsNode* node = walkStart; node != nullptr; node = node->next) {
        renderNode(node, file, primitive);
    }
}

float shininessExponent(float shininess) {
    const auto exponent = static_cast<float>(std::pow(2.0, 10.0 * shininess));
    return exponent > 128.0f ? 128.0f : exponent;
}
