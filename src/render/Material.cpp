#include "render/Material.h"

namespace {
void store(GLfloat* target, float r, float g, float b, float a) {
    target[0] = r;
    target[1] = g;
    target[2] = b;
    target[3] = a;
}
}  // namespace

Material::Material() {
    store(ambient, 0.0f, 0.0f, 0.0f, 1.0f);
    store(diffuse, 1.0f, 1.0f, 1.0f, 1.0f);
    store(emission, 0.0f, 0.0f, 0.0f, 1.0f);
    face = GL_BACK;
    store(shininess, 0.0f, 0.0f, 0.0f, 1.0f);
    store(specular, 0.0f, 0.0f, 0.0f, 1.0f);
}

void Material::setAmbient(float r, float g, float b, float a) { store(ambient, r, g, b, a); }
void Material::setDiffuse(float r, float g, float b, float a) { store(diffuse, r, g, b, a); }
void Material::setSpecular(float r, float g, float b, float a) { store(specular, r, g, b, a); }
void Material::setEmission(float r, float g, float b, float a) { store(emission, r, g, b, a); }
void Material::setShininess(float exponent, float b, float c, float d) { store(shininess, exponent, b, c, d); }
void Material::setFace(GLenum newFace) { face = newFace; }

void Material::apply() {
    if (face == GL_BACK) face = GL_FRONT_AND_BACK;
    glMaterialfv(face, GL_DIFFUSE, diffuse);
    glMaterialfv(face, GL_AMBIENT, ambient);
    glMaterialfv(face, GL_EMISSION, emission);
    glMaterialfv(face, GL_SHININESS, shininess);
    glMaterialfv(face, GL_SPECULAR, specular);
}
