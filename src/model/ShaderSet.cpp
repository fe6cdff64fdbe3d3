#include "model/ShaderSet.h"

#include <iostream>

#include "model/CEnvMapShader.h"
#include "model/CPlainShader.h"
#include "model/CWireShader.h"
#include "model/Model.h"

ShaderSet::ShaderSet()
    : wire(std::make_unique<CWireShader>()),
      plain(std::make_unique<CPlainShader>()),
      envMap(std::make_unique<CEnvMapShader>()) {}

ShaderSet::~ShaderSet() {
    if (owner != nullptr) std::cout << "what to do? I exit!!\n" << std::flush;
}

void ShaderSet::setOwner(Model* model) { owner = model; }

void ShaderSet::selectPlain() { owner->setShader(plain.get()); }
void ShaderSet::selectEnvMap() { owner->setShader(envMap.get()); }
void ShaderSet::selectWire() { owner->setShader(wire.get()); }

void ShaderSet::setEnvMapTexture(const char* fileName) { envMap->setTexture(fileName); }
