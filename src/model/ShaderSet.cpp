#include "model/ShaderSet.h"

#include <iostream>

#include "model/CEnvMapShader.h"
#include "model/CPlainShader.h"
#include "model/CWireShader.h"
#include "model/Model.h"

ShaderSet::ShaderSet() : owner(nullptr), envMap(nullptr), wire(nullptr), plain(nullptr) {
    wire = new CWireShader;
    plain = new CPlainShader;
    envMap = new CEnvMapShader;
}

ShaderSet::~ShaderSet() {
    if (owner != nullptr) std::cout << "what to do? I exit!!\n" << std::flush;
}

void ShaderSet::setOwner(Model* model) { owner = model; }

void ShaderSet::selectPlain() { owner->setShader(plain); }
void ShaderSet::selectEnvMap() { owner->setShader(envMap); }
void ShaderSet::selectWire() { owner->setShader(wire); }

void ShaderSet::setEnvMapTexture(const char* fileName) { envMap->setTexture(fileName); }
