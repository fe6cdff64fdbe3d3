// The three renderers a Model owns and the choice of the one it draws with.
// When a set that belongs to a model goes away it writes the model's closing
// line, so every model signs off as the process ends.
#pragma once

#include <functional>
#include <memory>

#include "model/CEnvMapShader.h"
#include "model/CPlainShader.h"
#include "model/CWireShader.h"

class CShader;

class ShaderSet {
public:
    // Builds the wire, plain and environment-mapped renderers (in that
    // order); they live as long as the set.
    ShaderSet();
    // Writes "what to do? I exit!!" when the set has an owner. It does not
    // end the process: that is already happening whenever the show's models
    // go, and calling exit from inside exit is undefined.
    ~ShaderSet();
    ShaderSet(const ShaderSet&) = delete;
    ShaderSet& operator=(const ShaderSet&) = delete;

    // The set's owner learns of each choice through `useShader` (a model
    // draws with the renderer chosen last).
    void setOwner(std::function<void(CShader* chosen)> useShader);

    void selectPlain();
    void selectEnvMap();
    void selectWire();

    // Loads the environment map (a JPG) into the environment-mapped renderer.
    void setEnvMapTexture(const char* fileName);

    CPlainShader* getPlain() const { return plain.get(); }
    CEnvMapShader* getEnvMap() const { return envMap.get(); }
    CWireShader* getWire() const { return wire.get(); }

private:
    std::function<void(CShader*)> owner;
    std::unique_ptr<CWireShader> wire;
    std::unique_ptr<CPlainShader> plain;
    std::unique_ptr<CEnvMapShader> envMap;
};
