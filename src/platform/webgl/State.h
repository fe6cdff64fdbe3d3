// The state of the one OpenGL 1.1 context the layer emulates. The part that
// glPushAttrib saves is one value type, AttribState, so that pushing and
// popping it is a copy; ContextState holds it with the rest.
#pragma once

#include <GL/gl.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/webgl/Math.h"

namespace mwgl {

constexpr int kMaxLights = 8;

// The capabilities glEnable takes, each a bit of AttribState::enabled.
enum Capability : int {
    CapTexture2D,
    CapBlend,
    CapLighting,
    CapLight0,  // .. CapLight0 + 7
    CapCullFace = CapLight0 + kMaxLights,
    CapDepthTest,
    CapTextureGenS,
    CapTextureGenT,
    CapColorMaterial,
    CapNormalize,
    CapFog,
    CapAlphaTest,
    CapPolygonOffsetFill,
    CapLineSmooth,
    CapPointSmooth,
    CapDither,
    CapScissorTest,
    CapCount
};

// The bit of a capability, or -1 for an enumerant glEnable does not take.
int capabilityBit(GLenum cap);

struct Light {
    Vec4 ambient{0, 0, 0, 1};
    Vec4 diffuse{0, 0, 0, 1};
    Vec4 specular{0, 0, 0, 1};
    Vec4 position{0, 0, 1, 0};     // eye coordinates
    Vec3 spotDirection{0, 0, -1};  // eye coordinates
    float spotExponent = 0;
    float spotCutoff = 180;
    float constantAttenuation = 1;
    float linearAttenuation = 0;
    float quadraticAttenuation = 0;
};

struct Material {
    Vec4 ambient{0.2f, 0.2f, 0.2f, 1};
    Vec4 diffuse{0.8f, 0.8f, 0.8f, 1};
    Vec4 specular{0, 0, 0, 1};
    Vec4 emission{0, 0, 0, 1};
    float shininess = 0;
    bool operator==(const Material& o) const {
        return ambient == o.ambient && diffuse == o.diffuse && specular == o.specular && emission == o.emission &&
               shininess == o.shininess;
    }
};

// Material properties as bits, for colour material and display lists.
enum MaterialBit : unsigned {
    MatAmbient = 1,
    MatDiffuse = 2,
    MatSpecular = 4,
    MatEmission = 8,
    MatShininess = 16,
};

struct TexGen {
    GLenum mode = GL_EYE_LINEAR;
    Vec4 eyePlane{0, 0, 0, 0};  // as transformed when given
};

// Light 0 is white; the others are dark.
std::array<Light, kMaxLights> defaultLights();

// Everything glPushAttrib(GL_ALL_ATTRIB_BITS) saves.
struct AttribState {
    std::uint32_t enabled = 1u << CapDither;
    std::array<Light, kMaxLights> lights = defaultLights();
    std::array<Material, 2> materials{};  // front, back
    Vec4 sceneAmbient{0.2f, 0.2f, 0.2f, 1};
    bool twoSide = false;
    bool localViewer = false;
    GLenum colorMaterialFace = GL_FRONT_AND_BACK;
    GLenum colorMaterialMode = GL_AMBIENT_AND_DIFFUSE;
    GLenum shadeModel = GL_SMOOTH;
    GLenum blendSrc = GL_ONE, blendDst = GL_ZERO;
    GLenum alphaFunc = GL_ALWAYS;
    float alphaRef = 0;
    GLenum depthFunc = GL_LESS;
    bool depthMask = true;
    GLenum cullFace = GL_BACK;
    GLenum frontFace = GL_CCW;
    GLenum polygonMode[2] = {GL_FILL, GL_FILL};
    float lineWidth = 1;
    Vec4 clearColor{0, 0, 0, 0};
    int viewport[4] = {0, 0, 0, 0};
    int scissor[4] = {0, 0, 0, 0};
    GLenum matrixMode = GL_MODELVIEW;
    GLenum texEnvMode = GL_MODULATE;
    std::array<TexGen, 2> texGen{TexGen{GL_EYE_LINEAR, {1, 0, 0, 0}}, TexGen{GL_EYE_LINEAR, {0, 1, 0, 0}}};  // s, t
    GLuint boundTexture = 0;
    GLenum boundMinFilter = GL_NEAREST_MIPMAP_LINEAR, boundMagFilter = GL_LINEAR;  // of that texture
    Vec4 color{1, 1, 1, 1};
    Vec3 normal{0, 0, 1};
    Vec4 texCoord{0, 0, 0, 1};

    bool isOn(int bit) const { return (enabled >> bit) & 1u; }
};

// The properties colour material takes from the current colour, as bits.
unsigned colorMaterialBits(GLenum mode);

// The faces colour material affects, as a mask: 1 front, 2 back.
unsigned faceBits(GLenum face);

// State that shaders read as uniforms, each with a version counter so that a
// program uploads a group again only after it changed.
enum Group : int {
    GroupProjection,
    GroupModelview,
    GroupTextureMatrix,
    GroupTexGen,
    GroupLights,
    GroupLightModel,
    GroupAlphaRef,
    GroupCount
};

constexpr std::size_t kMaxAttribStackDepth = 16;
constexpr std::size_t kMaxModelviewDepth = 32;
constexpr std::size_t kMaxProjectionDepth = 32;
constexpr std::size_t kMaxTextureDepth = 10;

// All of the context's state: what glPushAttrib saves, and beside it the
// stacks, the pending error, pixel storage and the limits WebGL reports.
struct ContextState {
    AttribState s;
    std::vector<AttribState> attribStack;
    std::vector<Mat4> modelview{Mat4()};
    std::vector<Mat4> projection{Mat4()};
    std::vector<Mat4> textureMatrix{Mat4()};
    std::array<std::uint32_t, GroupCount> versions{};
    GLenum error = GL_NO_ERROR;
    int unpackAlignment = 4;
    int packAlignment = 4;
    int maxTextureSize = 2048;

    void setError(GLenum e) {
        if (error == GL_NO_ERROR) error = e;
    }
    void bump(Group g) { ++versions[g]; }
    const Mat4& currentModelview() const { return modelview.back(); }
};

}  // namespace mwgl
