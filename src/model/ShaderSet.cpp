#include "model/ShaderSet.h"

#include <iostream>
#include <utility>

#include "model/CEnvMapShader.h"
#include "model/CPlainShader.h"
#include "model/CWireShader.h"

ShaderSet::ShaderSet()
    : wire(std::make_unique<CWireShader>()),
      plain(std::make_unique<CPlainShader>()),
      envMap(std::make_unique<CEnvMapShader>()) {}

ShaderSet::~ShaderSet() {
    if (owner) std::cout << "what to do? I exit!!\n" << std::flush;
}

void ShaderSet::setOwner(std::function<void(CShader*)> useShader) { owner = std::move(useShader); }

void ShaderSet::selectPlain() { owner(plain.get()); }
void ShaderSet::selectEnvMap() { owner(envMap.get()); }
void ShaderSet::selectWire() { owner(wire.get()); }

void ShaderSet::setEnvMapTexture(const char* fileName) { envMap->setTexture(fileName); }
