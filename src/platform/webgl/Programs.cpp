#include "platform/webgl/Programs.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/webgl/State.h"
#include "platform/webgl/Textures.h"
#include "platform/webgl/WebGl.h"

namespace mwgl {

namespace {

// Bits of FeatureKey.
constexpr std::uint32_t kLighting = 1u << 0;
constexpr int kLightCountShift = 1;  // 4 bits
constexpr std::uint32_t kTwoSide = 1u << 5;
constexpr std::uint32_t kLocalViewer = 1u << 6;
constexpr int kColorMaterialShift = 7;       // 4 bits: MaterialBit of the tracked properties
constexpr int kColorMaterialFaceShift = 11;  // 2 bits: front, back
constexpr std::uint32_t kNormalize = 1u << 13;
constexpr std::uint32_t kTexture = 1u << 14;
constexpr int kEnvShift = 15;  // 2 bits
constexpr std::uint32_t kTextureAlpha = 1u << 17;
constexpr int kGenSShift = 18;  // 2 bits: 0 off, 1 eye linear, 2 sphere map
constexpr int kGenTShift = 20;
constexpr std::uint32_t kTextureMatrix = 1u << 22;
constexpr std::uint32_t kAlphaTest = 1u << 23;
constexpr int kAlphaFuncShift = 24;  // 3 bits: the function less GL_NEVER
constexpr std::uint32_t kFog = 1u << 27;
constexpr std::uint32_t kFlat = 1u << 28;

int envIndex(GLenum mode) {
    switch (mode) {
    case GL_REPLACE:
        return 1;
    case GL_DECAL:
        return 2;
    case GL_BLEND:
        return 3;
    default:
        return 0;
    }
}

int genIndex(const AttribState& s, int coord) {
    if (!s.isOn(coord == 0 ? CapTextureGenS : CapTextureGenT)) return 0;
    return s.texGen[coord].mode == GL_SPHERE_MAP ? 2 : 1;
}

}  // namespace

FeatureKey Programs::currentFeatures() {
    const AttribState& s = gl.s;
    std::uint32_t k = 0;
    if (s.isOn(CapLighting)) {
        k |= kLighting;
        int lights = 0;
        for (int i = 0; i < kMaxLights; ++i) lights += s.isOn(CapLight0 + i);
        k |= static_cast<std::uint32_t>(lights) << kLightCountShift;
        if (s.twoSide) k |= kTwoSide;
        if (s.localViewer) k |= kLocalViewer;
        if (s.isOn(CapColorMaterial)) {
            k |= colorMaterialBits(s.colorMaterialMode) << kColorMaterialShift;
            k |= faceBits(s.colorMaterialFace) << kColorMaterialFaceShift;
        }
        if (s.isOn(CapNormalize)) k |= kNormalize;
    }
    if (s.isOn(CapTexture2D) && textures.boundIsComplete()) {
        k |= kTexture;
        k |= static_cast<std::uint32_t>(envIndex(s.texEnvMode)) << kEnvShift;
        if (textures.boundHasAlpha()) k |= kTextureAlpha;
        k |= static_cast<std::uint32_t>(genIndex(s, 0)) << kGenSShift;
        k |= static_cast<std::uint32_t>(genIndex(s, 1)) << kGenTShift;
        if (!gl.textureMatrix.back().isIdentity()) k |= kTextureMatrix;
        // Sphere maps need the normal even without lighting.
        if (s.isOn(CapNormalize)) k |= kNormalize;
    }
    if (s.isOn(CapAlphaTest) && s.alphaFunc != GL_ALWAYS) {
        k |= kAlphaTest | (static_cast<std::uint32_t>(s.alphaFunc - GL_NEVER) << kAlphaFuncShift);
    }
    if (s.isOn(CapFog)) k |= kFog;
    if (s.shadeModel == GL_FLAT) k |= kFlat;
    return FeatureKey{k};
}

namespace {

std::string defines(FeatureKey key) {
    const std::uint32_t k = key.bits;
    std::string d = "#version 300 es\nprecision highp float;\n";
    auto def = [&](const char* name, long value) {
        d += "#define ";
        d += name;
        d += ' ';
        d += std::to_string(value);
        d += '\n';
    };
    def("LIGHTING", (k & kLighting) != 0);
    def("NUM_LIGHTS", (k >> kLightCountShift) & 15);
    def("TWO_SIDE", (k & kTwoSide) != 0);
    def("LOCAL_VIEWER", (k & kLocalViewer) != 0);
    def("CM_BITS", (k >> kColorMaterialShift) & 15);
    def("CM_FACES", (k >> kColorMaterialFaceShift) & 3);
    def("NORMALIZE", (k & kNormalize) != 0);
    def("TEXTURE", (k & kTexture) != 0);
    def("ENV", (k >> kEnvShift) & 3);
    def("TEX_ALPHA", (k & kTextureAlpha) != 0);
    def("GEN_S", (k >> kGenSShift) & 3);
    def("GEN_T", (k >> kGenTShift) & 3);
    def("TEX_MATRIX", (k & kTextureMatrix) != 0);
    def("ALPHA_TEST", (k & kAlphaTest) != 0);
    def("ALPHA_FUNC", (k >> kAlphaFuncShift) & 7);
    def("FOG", (k & kFog) != 0);
    def("FLAT", (k & kFlat) != 0);
    def("PALETTE", kPaletteSize);
    return d;
}

const char* kVertexBody = R"GLSL(
#if FLAT
#define SHADE flat
#else
#define SHADE smooth
#endif
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec3 a_normal;
layout(location = 2) in vec4 a_color;
layout(location = 3) in vec4 a_texCoord;
layout(location = 4) in float a_slot;
uniform mat4 u_projection;
uniform mat4 u_modelview;
uniform mat3 u_normalMatrix;
SHADE out vec4 v_color;
#if TWO_SIDE
SHADE out vec4 v_backColor;
#endif
#if TEXTURE
out vec4 v_texCoord;
#if TEX_MATRIX
uniform mat4 u_textureMatrix;
#endif
#if GEN_S == 1 || GEN_T == 1
uniform vec4 u_eyePlaneS;
uniform vec4 u_eyePlaneT;
#endif
#endif
#if FOG
out float v_fogDepth;
#endif

#if LIGHTING
uniform vec4 u_sceneAmbient;
uniform vec4 u_material[PALETTE * 4];
#if TWO_SIDE
uniform vec4 u_backMaterial[PALETTE * 4];
#endif
#if NUM_LIGHTS > 0
uniform vec4 u_lights[NUM_LIGHTS * 6];
#endif

// The GL 1.1 lighting equation (OpenGL 1.1 specification, section 2.13.1)
// for one side: ma.rgb ambient and ma.a shininess, md diffuse, ms specular,
// me emission.
vec4 lit(vec3 V, vec3 n, vec4 ma, vec4 md, vec4 ms, vec4 me) {
    vec3 c = me.rgb + ma.rgb * u_sceneAmbient.rgb;
#if NUM_LIGHTS > 0
    for (int i = 0; i < NUM_LIGHTS; ++i) {
        vec4 la = u_lights[i * 6];
        vec4 ld = u_lights[i * 6 + 1];
        vec4 ls = u_lights[i * 6 + 2];
        vec4 lp = u_lights[i * 6 + 3];
        vec4 sd = u_lights[i * 6 + 4];
        vec4 at = u_lights[i * 6 + 5];
        vec3 L;
        float factor = 1.0;
        if (lp.w != 0.0) {
            vec3 d = lp.xyz / lp.w - V;
            float dist = length(d);
            L = d / dist;
            factor = 1.0 / (at.x + at.y * dist + at.z * dist * dist);
        } else {
            L = normalize(lp.xyz);
        }
        if (at.w > -1.5) {
            float cosAngle = dot(-L, sd.xyz);
            factor *= cosAngle >= at.w ? (sd.w == 0.0 ? 1.0 : pow(max(cosAngle, 0.0), sd.w)) : 0.0;
        }
        vec3 term = la.rgb * ma.rgb;
        float nl = dot(n, L);
        if (nl > 0.0) {
            term += nl * (ld.rgb * md.rgb);
#if LOCAL_VIEWER
            vec3 h = L + normalize(-V);
#else
            vec3 h = L + vec3(0.0, 0.0, 1.0);
#endif
            float nh = max(dot(n, normalize(h)), 0.0);
            float spec = ma.a == 0.0 ? 1.0 : pow(nh, ma.a);
            term += spec * (ls.rgb * ms.rgb);
        }
        c += factor * term;
    }
#endif
    return clamp(vec4(c, md.a), 0.0, 1.0);
}

void trackColor(inout vec4 ma, inout vec4 md, inout vec4 ms, inout vec4 me) {
#if (CM_BITS & 1) != 0
    ma.rgb = a_color.rgb;
#endif
#if (CM_BITS & 2) != 0
    md = a_color;
#endif
#if (CM_BITS & 4) != 0
    ms.rgb = a_color.rgb;
#endif
#if (CM_BITS & 8) != 0
    me.rgb = a_color.rgb;
#endif
}
#endif

void main() {
    vec4 eye = u_modelview * vec4(a_position, 1.0);
    gl_Position = u_projection * eye;
    vec3 n = u_normalMatrix * a_normal;
#if NORMALIZE
    n = normalize(n);
#endif
#if LIGHTING
    int s = int(a_slot + 0.5) * 4;
    vec4 ma = u_material[s], md = u_material[s + 1], ms = u_material[s + 2], me = u_material[s + 3];
#if (CM_FACES & 1) != 0
    trackColor(ma, md, ms, me);
#endif
    v_color = lit(eye.xyz, n, ma, md, ms, me);
#if TWO_SIDE
    ma = u_backMaterial[s], md = u_backMaterial[s + 1], ms = u_backMaterial[s + 2], me = u_backMaterial[s + 3];
#if (CM_FACES & 2) != 0
    trackColor(ma, md, ms, me);
#endif
    v_backColor = lit(eye.xyz, -n, ma, md, ms, me);
#endif
#else
    v_color = clamp(a_color, 0.0, 1.0);
#endif
#if TEXTURE
    vec4 tc = a_texCoord;
#if GEN_S == 2 || GEN_T == 2
    // Sphere map: the eye-space reflection of the view direction.
    vec3 u = normalize(eye.xyz);
    vec3 r = u - 2.0 * dot(n, u) * n;
    float m = 2.0 * sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));
#endif
#if GEN_S == 1
    tc.s = dot(u_eyePlaneS, eye);
#elif GEN_S == 2
    tc.s = r.x / m + 0.5;
#endif
#if GEN_T == 1
    tc.t = dot(u_eyePlaneT, eye);
#elif GEN_T == 2
    tc.t = r.y / m + 0.5;
#endif
#if TEX_MATRIX
    tc = u_textureMatrix * tc;
#endif
    v_texCoord = tc;
#endif
#if FOG
    v_fogDepth = abs(eye.z);
#endif
}
)GLSL";

const char* kFragmentBody = R"GLSL(
#if FLAT
#define SHADE flat
#else
#define SHADE smooth
#endif
SHADE in vec4 v_color;
#if TWO_SIDE
SHADE in vec4 v_backColor;
#endif
#if TEXTURE
in vec4 v_texCoord;
uniform sampler2D u_texture;
#endif
#if FOG
in float v_fogDepth;
#endif
#if ALPHA_TEST
uniform float u_alphaRef;
#endif
out vec4 fragColor;

void main() {
#if TWO_SIDE
    vec4 c = gl_FrontFacing ? v_color : v_backColor;
#else
    vec4 c = v_color;
#endif
#if TEXTURE
    vec4 t = textureProj(u_texture, v_texCoord.xyw);
#if ENV == 0
    c *= t;
#elif ENV == 1
#if TEX_ALPHA
    c = t;
#else
    c.rgb = t.rgb;
#endif
#elif ENV == 2
    c.rgb = mix(c.rgb, t.rgb, t.a);
#else
    // GL_BLEND with the default environment colour, black.
    c.rgb *= vec3(1.0) - t.rgb;
    c.a *= t.a;
#endif
#endif
#if FOG
    // GL_EXP at the default density 1 towards the default colour, black.
    c.rgb *= clamp(exp(-v_fogDepth), 0.0, 1.0);
#endif
#if ALPHA_TEST
#if ALPHA_FUNC == 0
    discard;
#elif ALPHA_FUNC == 1
    if (!(c.a < u_alphaRef)) discard;
#elif ALPHA_FUNC == 2
    if (!(c.a == u_alphaRef)) discard;
#elif ALPHA_FUNC == 3
    if (!(c.a <= u_alphaRef)) discard;
#elif ALPHA_FUNC == 4
    if (!(c.a > u_alphaRef)) discard;
#elif ALPHA_FUNC == 5
    if (!(c.a != u_alphaRef)) discard;
#elif ALPHA_FUNC == 6
    if (!(c.a >= u_alphaRef)) discard;
#endif
#endif
    fragColor = c;
}
)GLSL";

unsigned compile(unsigned type, const std::string& source) {
    const unsigned shader = emscripten_glCreateShader(type);
    const char* text = source.c_str();
    emscripten_glShaderSource(shader, 1, &text, nullptr);
    emscripten_glCompileShader(shader);
    int ok = 0;
    emscripten_glGetShaderiv(shader, wgl::COMPILE_STATUS, &ok);
    if (!ok) {
        char log[2048];
        emscripten_glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "mwgl: shader does not compile: %s\n%s\n", log, source.c_str());
    }
    return shader;
}

}  // namespace

std::string vertexShaderSource(FeatureKey key) { return defines(key) + kVertexBody; }
std::string fragmentShaderSource(FeatureKey key) { return defines(key) + kFragmentBody; }

Programs::Program& Programs::get(FeatureKey key) {
    auto found = programs.find(key.bits);
    if (found != programs.end()) return found->second;
    Program p;
    p.id = emscripten_glCreateProgram();
    const unsigned vs = compile(wgl::VERTEX_SHADER, vertexShaderSource(key));
    const unsigned fs = compile(wgl::FRAGMENT_SHADER, fragmentShaderSource(key));
    emscripten_glAttachShader(p.id, vs);
    emscripten_glAttachShader(p.id, fs);
    emscripten_glLinkProgram(p.id);
    int ok = 0;
    emscripten_glGetProgramiv(p.id, wgl::LINK_STATUS, &ok);
    if (!ok) {
        char log[2048];
        emscripten_glGetProgramInfoLog(p.id, sizeof log, nullptr, log);
        std::fprintf(stderr, "mwgl: program %08x does not link: %s\n", key.bits, log);
    }
    auto where = [&](const char* name) { return emscripten_glGetUniformLocation(p.id, name); };
    p.projection = where("u_projection");
    p.modelview = where("u_modelview");
    p.normalMatrix = where("u_normalMatrix");
    p.textureMatrix = where("u_textureMatrix");
    p.eyePlaneS = where("u_eyePlaneS");
    p.eyePlaneT = where("u_eyePlaneT");
    p.lights = where("u_lights");
    p.material = where("u_material");
    p.backMaterial = where("u_backMaterial");
    p.sceneAmbient = where("u_sceneAmbient");
    p.alphaRef = where("u_alphaRef");
    p.texture = where("u_texture");
    emscripten_glUseProgram(p.id);
    if (p.texture >= 0) emscripten_glUniform1i(p.texture, 0);
    current = nullptr;
    return programs.emplace(key.bits, p).first->second;
}

namespace {

void packMaterial(const Material& m, float* out) {
    out[0] = m.ambient[0], out[1] = m.ambient[1], out[2] = m.ambient[2], out[3] = m.shininess;
    for (int i = 0; i < 4; ++i) {
        out[4 + i] = m.diffuse[i];
        out[8 + i] = m.specular[i];
        out[12 + i] = m.emission[i];
    }
}

// The enabled lights in order, six vec4 each (see the vertex shader).
int packLights(const AttribState& s, float* out) {
    int n = 0;
    for (int i = 0; i < kMaxLights; ++i) {
        if (!s.isOn(CapLight0 + i)) continue;
        const Light& l = s.lights[i];
        float* o = out + n * 24;
        for (int k = 0; k < 4; ++k) {
            o[k] = l.ambient[k];
            o[4 + k] = l.diffuse[k];
            o[8 + k] = l.specular[k];
            o[12 + k] = l.position[k];
        }
        const Vec3& d = l.spotDirection;
        const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        for (int k = 0; k < 3; ++k) o[16 + k] = length > 0 ? d[k] / length : 0.0f;
        o[19] = l.spotExponent;
        o[20] = l.constantAttenuation;
        o[21] = l.linearAttenuation;
        o[22] = l.quadraticAttenuation;
        o[23] = l.spotCutoff == 180.0f ? -2.0f : std::cos(l.spotCutoff * static_cast<float>(M_PI / 180.0));
        ++n;
    }
    return n;
}

}  // namespace

void Programs::prepare(bool eyeSpace, const MaterialPair* palette, int paletteSize) {
    const FeatureKey key = currentFeatures();
    Program& p = get(key);
    if (current != &p) {
        emscripten_glUseProgram(p.id);
        current = &p;
    }
    auto stale = [&](Group g) {
        if (p.everUploaded[g] && p.uploaded[g] == gl.versions[g]) return false;
        p.everUploaded[g] = true;
        p.uploaded[g] = gl.versions[g];
        return true;
    };
    if (stale(GroupProjection)) emscripten_glUniformMatrix4fv(p.projection, 1, 0, gl.projection.back().m.data());
    if (eyeSpace) {
        if (p.modelviewSource != 0) {
            const Mat4 identity;
            const float n[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
            emscripten_glUniformMatrix4fv(p.modelview, 1, 0, identity.m.data());
            emscripten_glUniformMatrix3fv(p.normalMatrix, 1, 0, n);
            p.modelviewSource = 0;
        }
    } else if (p.modelviewSource != 1 || stale(GroupModelview)) {
        p.modelviewSource = 1;
        p.everUploaded[GroupModelview] = true;
        p.uploaded[GroupModelview] = gl.versions[GroupModelview];
        const Mat4& mv = gl.currentModelview();
        emscripten_glUniformMatrix4fv(p.modelview, 1, 0, mv.m.data());
        emscripten_glUniformMatrix3fv(p.normalMatrix, 1, 0, normalMatrix(mv).data());
    }
    if (p.textureMatrix >= 0 && stale(GroupTextureMatrix)) {
        emscripten_glUniformMatrix4fv(p.textureMatrix, 1, 0, gl.textureMatrix.back().m.data());
    }
    if (p.eyePlaneS >= 0 && stale(GroupTexGen)) {
        emscripten_glUniform4fv(p.eyePlaneS, 1, gl.s.texGen[0].eyePlane.data());
        emscripten_glUniform4fv(p.eyePlaneT, 1, gl.s.texGen[1].eyePlane.data());
    }
    if (p.lights >= 0 && stale(GroupLights)) {
        float packed[kMaxLights * 24];
        const int n = packLights(gl.s, packed);
        emscripten_glUniform4fv(p.lights, n * 6, packed);
    }
    if (p.sceneAmbient >= 0 && stale(GroupLightModel)) {
        emscripten_glUniform4fv(p.sceneAmbient, 1, gl.s.sceneAmbient.data());
    }
    if (p.alphaRef >= 0 && stale(GroupAlphaRef)) emscripten_glUniform1f(p.alphaRef, gl.s.alphaRef);
    if (p.material >= 0 && paletteSize > 0) {
        float front[kPaletteSize * 16];
        float back[kPaletteSize * 16];
        for (int i = 0; i < paletteSize; ++i) {
            packMaterial(palette[i].front, front + i * 16);
            packMaterial(palette[i].back, back + i * 16);
        }
        emscripten_glUniform4fv(p.material, paletteSize * 4, front);
        if (p.backMaterial >= 0) emscripten_glUniform4fv(p.backMaterial, paletteSize * 4, back);
    }
    if (key.bits & kTexture) textures.bindForDraw();
}

}  // namespace mwgl
