#include "model/CWireShader.h"

#include <GL/gl.h>

#include <lib3ds/file.h>
#include "model/NodeWalk.h"

void CWireShader::render(Lib3dsFile* file) {
    if (firstRender) {
        walkStart = copyFirstNode(file);
        firstRender = false;
    }
    renderTopLevel(walkStart.get(), file, GL_LINE_LOOP);
}

std::unique_ptr<CShader> CWireShader::clone() { return std::make_unique<CWireShader>(); }
