#include "model/CWireShader.h"

#include <GL/gl.h>

#include "model/Model.h"
#include "model/NodeWalk.h"

void CWireShader::render(Model* model) {
    Lib3dsFile* file = model->getFile();
    if (firstRender) {
        walkStart = copyFirstNode(file);
        firstRender = false;
    }
    renderTopLevel(walkStart.get(), file, GL_LINE_LOOP);
}

std::unique_ptr<CShader> CWireShader::clone() { return std::make_unique<CWireShader>(); }
