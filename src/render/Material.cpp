#include "render/Material.h"
#include "render/FourFloats.h"

Material::Material() {
    storeFour(ambient, 0.0f, 0.0f, 0.0f, 1.0f);
    storeFour(diffuse, 1.0f, 1.0f, 1.0f, 1.0f);
    storeFour(emission, 0.0f, 0.0f, 0.0f, 1.0f);
    face = GL_BACK;
    storeFour(shininess, 0.0f, 0.0f, 0.0f, 1.0f);
    storeFour(specular, 0.0f, 0.0f, 0.0f, 1.0f);
}

void Material::setAmbient(float r, float g, float b, float a) { storeFour(ambient, r, g, b, a); }
void Material::setDiffuse(float r, float g, float b, float a) { storeFour(diffuse, r, g, b, a); }
void Material::setSpecular(float r, float g, float b, float a) { storeFour(specular, r, g, b, a); }
void Material::setEmission(float r, float g, float b, float a) { storeFour(emission, r, g, b, a); }
void Material::setShininess(float exponent, float b, float c, float d) { storeFour(shininess, exponent, b, c, d); }
void Material::setFace(GLenum newFace) { face = newFace; }

void Material::apply() {
    if (face == GL_BACK) face = GL_FRONT_AND_BACK;
    glMaterialfv(face, GL_DIFFUSE, diffuse);
    glMaterialfv(face, GL_AMBIENT, ambient);
    glMaterialfv(face, GL_EMISSION, emission);
    glMaterialfv(face, GL_SHININESS, shininess);
    glMaterialfv(face, GL_SPECULAR, specular);
}
