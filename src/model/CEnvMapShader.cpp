#include "model/CEnvMapShader.h"

#include <GL/gl.h>

#include <lib3ds/file.h>
#include "model/NodeWalk.h"

CEnvMapShader::CEnvMapShader() = default;

CEnvMapShader::CEnvMapShader(const char* fileName) { setTexture(fileName); }

void CEnvMapShader::render(Lib3dsFile* file) {
    texture.bind();
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);

    if (firstRender) {
        walkStart = copyFirstNode(file);
        firstRender = false;
    }
    renderTopLevel(walkStart.get(), file, GL_TRIANGLES);

    // Texturing stays on with the map bound, as the next routine finds it.
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
}

// A copy of the name rather than the caller's pointer, so a clone never reads
// a name that has gone away; without a name there is no map to load again.
std::unique_ptr<CShader> CEnvMapShader::clone() {
    if (textureFile.empty()) return std::make_unique<CEnvMapShader>();
    return std::make_unique<CEnvMapShader>(textureFile.c_str());
}

void CEnvMapShader::setTexture(const char* fileName) {
    textureFile = fileName != nullptr ? fileName : "";
    texture.setFormat(TextureFormat::Jpg);
    texture.load(fileName);
}
