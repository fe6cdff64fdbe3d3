// The shaders that stand in for the fixed-function pipeline: one program per
// combination of the features a draw uses, made the first time it is needed
// and kept. The vertex shader carries the GL 1.1 lighting equation,
// texture-coordinate generation and the texture matrix; the fragment shader
// the texture environment, fog and the alpha test.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "platform/webgl/Vertex.h"

namespace mwgl {

struct ContextState;
class Textures;

// The features of a draw, as bits of a key.
struct FeatureKey {
    std::uint32_t bits = 0;
    bool operator==(const FeatureKey& o) const { return bits == o.bits; }
};

// The GLSL of the program for a key (exposed for tests and debugging).
std::string vertexShaderSource(FeatureKey key);
std::string fragmentShaderSource(FeatureKey key);

// The vertex attribute locations every program binds.
enum AttribLocation : unsigned { LocPosition, LocNormal, LocColor, LocTexCoord, LocSlot };

class Programs {
public:
    // Programs draw with the uniforms of `gl` and the bound texture of
    // `textures`.
    Programs(const ContextState& gl, Textures& textures) : gl(gl), textures(textures) {}

    // Makes the program for the current state current and gives it the
    // state's uniforms. `eyeSpace` says the vertices are in eye coordinates
    // already (immediate mode); `palette` lights them.
    void prepare(bool eyeSpace, const MaterialPair* palette, int paletteSize);

    std::size_t count() const { return programs.size(); }

private:
    struct Program {
        unsigned id = 0;
        int projection = -1, modelview = -1, normalMatrix = -1, textureMatrix = -1;
        int eyePlaneS = -1, eyePlaneT = -1, lights = -1, material = -1, backMaterial = -1;
        int sceneAmbient = -1, alphaRef = -1, texture = -1;
        std::uint32_t uploaded[8] = {};
        bool everUploaded[8] = {};
        int modelviewSource = -1;  // 0 identity, 1 the modelview of `uploaded`
    };
    // The key for the current state.
    FeatureKey currentFeatures();
    Program& get(FeatureKey key);
    const ContextState& gl;
    Textures& textures;
    Program* current = nullptr;
    std::unordered_map<std::uint32_t, Program> programs;
};

}  // namespace mwgl
