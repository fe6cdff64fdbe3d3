#include "model/CPlainShader.h"

#include <GL/gl.h>

#include <lib3ds/file.h>
#include "model/NodeWalk.h"

void CPlainShader::render(Lib3dsFile* file) {
    if (firstRender) {
        walkStart = copyFirstNode(file);
        firstRender = false;
    }
    glDisable(GL_TEXTURE_2D);
    renderTopLevel(walkStart.get(), file, GL_TRIANGLES);
}

std::unique_ptr<CShader> CPlainShader::clone() { return std::make_unique<CPlainShader>(); }
