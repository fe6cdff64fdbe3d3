#include "render/GlState.h"

#include <cstddef>
#include <utility>

namespace {

struct Named {
    GLenum value;
    const char* name;
};

// Everything a routine of the show switches on or off; GL_COLOR_MATERIAL
// apart, below.
constexpr Named kCapabilities[] = {
    {GL_TEXTURE_2D, "GL_TEXTURE_2D"},
    {GL_BLEND, "GL_BLEND"},
    {GL_LIGHTING, "GL_LIGHTING"},
    {GL_LIGHT0, "GL_LIGHT0"},
    {GL_LIGHT1, "GL_LIGHT1"},
    {GL_LIGHT2, "GL_LIGHT2"},
    {GL_LIGHT3, "GL_LIGHT3"},
    {GL_LIGHT4, "GL_LIGHT4"},
    {GL_LIGHT5, "GL_LIGHT5"},
    {GL_LIGHT6, "GL_LIGHT6"},
    {GL_LIGHT7, "GL_LIGHT7"},
    {GL_CULL_FACE, "GL_CULL_FACE"},
    {GL_DEPTH_TEST, "GL_DEPTH_TEST"},
    {GL_TEXTURE_GEN_S, "GL_TEXTURE_GEN_S"},
    {GL_TEXTURE_GEN_T, "GL_TEXTURE_GEN_T"},
    {GL_NORMALIZE, "GL_NORMALIZE"},
    {GL_FOG, "GL_FOG"},
    {GL_ALPHA_TEST, "GL_ALPHA_TEST"},
    {GL_POLYGON_OFFSET_FILL, "GL_POLYGON_OFFSET_FILL"},
    {GL_LINE_SMOOTH, "GL_LINE_SMOOTH"},
    {GL_POINT_SMOOTH, "GL_POINT_SMOOTH"},
    {GL_DITHER, "GL_DITHER"},
};

struct Parameter {
    GLenum value;
    const char* name;
    int count;
};

constexpr Parameter kLightParameters[] = {
    {GL_AMBIENT, "ambient", 4},
    {GL_DIFFUSE, "diffuse", 4},
    {GL_SPECULAR, "specular", 4},
    {GL_POSITION, "position", 4},
    {GL_SPOT_DIRECTION, "spot direction", 3},
    {GL_SPOT_EXPONENT, "spot exponent", 1},
    {GL_SPOT_CUTOFF, "spot cutoff", 1},
    {GL_CONSTANT_ATTENUATION, "constant attenuation", 1},
    {GL_LINEAR_ATTENUATION, "linear attenuation", 1},
    {GL_QUADRATIC_ATTENUATION, "quadratic attenuation", 1},
};

constexpr Parameter kMaterialParameters[] = {
    {GL_AMBIENT, "ambient", 4},   {GL_DIFFUSE, "diffuse", 4},     {GL_SPECULAR, "specular", 4},
    {GL_EMISSION, "emission", 4}, {GL_SHININESS, "shininess", 1},
};

// Integer state read with glGetIntegerv and kept as floats, which hold
// every enum and texture name the show uses exactly.
std::function<void(GLfloat*)> readIntegers(GLenum query, int count) {
    return [query, count](GLfloat* values) {
        GLint read[4] = {};
        glGetIntegerv(query, read);
        for (int i = 0; i < count; ++i) values[i] = static_cast<GLfloat>(read[i]);
    };
}

std::function<void(GLfloat*)> readFloats(GLenum query) {
    return [query](GLfloat* values) { glGetFloatv(query, values); };
}

GLenum asEnum(GLfloat value) { return static_cast<GLenum>(value); }
GLint asInt(GLfloat value) { return static_cast<GLint>(value); }

std::vector<GlState::Field> makeFields() {
    std::vector<GlState::Field> fields;
    const auto add = [&fields](std::string name, int count, std::function<void(GLfloat*)> read,
                               std::function<void(const GLfloat*)> write) {
        fields.push_back({std::move(name), count, std::move(read), std::move(write)});
    };
    const auto addCapability = [&add](const Named& capability) {
        const GLenum which = capability.value;
        add(
            std::string("enabled ") + capability.name, 1,
            [which](GLfloat* v) { v[0] = glIsEnabled(which) ? 1.0f : 0.0f; },
            [which](const GLfloat* v) {
                if (v[0] != 0.0f) {
                    glEnable(which);
                } else {
                    glDisable(which);
                }
            });
    };
    for (const Named& capability : kCapabilities) addCapability(capability);
    // Positions and directions are kept in eye coordinates: restore() sends
    // them again under the identity, where they stay where they were.
    for (GLenum i = 0; i < 8; ++i) {
        const GLenum light = GL_LIGHT0 + i;
        for (const Parameter& p : kLightParameters) {
            const GLenum what = p.value;
            add(
                "light " + std::to_string(i) + " " + p.name, p.count,
                [light, what](GLfloat* v) { glGetLightfv(light, what, v); },
                [light, what](const GLfloat* v) { glLightfv(light, what, v); });
        }
    }
    for (const Named& face : {Named{GL_FRONT, "front"}, Named{GL_BACK, "back"}}) {
        const GLenum side = face.value;
        for (const Parameter& p : kMaterialParameters) {
            const GLenum what = p.value;
            add(
                std::string(face.name) + " material " + p.name, p.count,
                [side, what](GLfloat* v) { glGetMaterialfv(side, what, v); },
                [side, what](const GLfloat* v) { glMaterialfv(side, what, v); });
        }
    }
    add("light model ambient", 4, readFloats(GL_LIGHT_MODEL_AMBIENT),
        [](const GLfloat* v) { glLightModelfv(GL_LIGHT_MODEL_AMBIENT, v); });
    add("light model two side", 1, readIntegers(GL_LIGHT_MODEL_TWO_SIDE, 1),
        [](const GLfloat* v) { glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, asInt(v[0])); });
    add("light model local viewer", 1, readIntegers(GL_LIGHT_MODEL_LOCAL_VIEWER, 1),
        [](const GLfloat* v) { glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, asInt(v[0])); });
    add("bound texture", 1, readIntegers(GL_TEXTURE_BINDING_2D, 1),
        [](const GLfloat* v) { glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(v[0])); });
    add(
        "blend function", 2,
        [](GLfloat* v) {
            readIntegers(GL_BLEND_SRC, 1)(v);
            readIntegers(GL_BLEND_DST, 1)(v + 1);
        },
        [](const GLfloat* v) { glBlendFunc(asEnum(v[0]), asEnum(v[1])); });
    add(
        "texture environment mode", 1,
        [](GLfloat* v) {
            GLint mode = 0;
            glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
            v[0] = static_cast<GLfloat>(mode);
        },
        [](const GLfloat* v) { glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, asInt(v[0])); });
    for (const Named& coordinate : {Named{GL_S, "S"}, Named{GL_T, "T"}}) {
        const GLenum which = coordinate.value;
        add(
            std::string("texture generation ") + coordinate.name, 1,
            [which](GLfloat* v) {
                GLint mode = 0;
                glGetTexGeniv(which, GL_TEXTURE_GEN_MODE, &mode);
                v[0] = static_cast<GLfloat>(mode);
            },
            [which](const GLfloat* v) { glTexGeni(which, GL_TEXTURE_GEN_MODE, asInt(v[0])); });
    }
    add("shade model", 1, readIntegers(GL_SHADE_MODEL, 1), [](const GLfloat* v) { glShadeModel(asEnum(v[0])); });
    add("depth function", 1, readIntegers(GL_DEPTH_FUNC, 1), [](const GLfloat* v) { glDepthFunc(asEnum(v[0])); });
    add(
        "depth mask", 1,
        [](GLfloat* v) {
            GLboolean mask = GL_TRUE;
            glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
            v[0] = mask ? 1.0f : 0.0f;
        },
        [](const GLfloat* v) { glDepthMask(v[0] != 0.0f ? GL_TRUE : GL_FALSE); });
    add("cull face", 1, readIntegers(GL_CULL_FACE_MODE, 1), [](const GLfloat* v) { glCullFace(asEnum(v[0])); });
    add("front face", 1, readIntegers(GL_FRONT_FACE, 1), [](const GLfloat* v) { glFrontFace(asEnum(v[0])); });
    add("polygon modes", 2, readIntegers(GL_POLYGON_MODE, 2), [](const GLfloat* v) {
        glPolygonMode(GL_FRONT, asEnum(v[0]));
        glPolygonMode(GL_BACK, asEnum(v[1]));
    });
    add(
        "colour material", 2,
        [](GLfloat* v) {
            readIntegers(GL_COLOR_MATERIAL_FACE, 1)(v);
            readIntegers(GL_COLOR_MATERIAL_PARAMETER, 1)(v + 1);
        },
        [](const GLfloat* v) { glColorMaterial(asEnum(v[0]), asEnum(v[1])); });
    add("current colour", 4, readFloats(GL_CURRENT_COLOR), [](const GLfloat* v) { glColor4fv(v); });
    // Last of the colour's: while a material follows the colour, GL ignores
    // the material set for it, and switching it on copies the colour in,
    // which is what the material held when it was saved.
    addCapability({GL_COLOR_MATERIAL, "GL_COLOR_MATERIAL"});
    add("current normal", 3, readFloats(GL_CURRENT_NORMAL), [](const GLfloat* v) { glNormal3fv(v); });
    add("current texture coordinates", 4, readFloats(GL_CURRENT_TEXTURE_COORDS),
        [](const GLfloat* v) { glTexCoord4fv(v); });
    add("clear colour", 4, readFloats(GL_COLOR_CLEAR_VALUE),
        [](const GLfloat* v) { glClearColor(v[0], v[1], v[2], v[3]); });
    add("texture matrix", 16, readFloats(GL_TEXTURE_MATRIX), [](const GLfloat* v) {
        glMatrixMode(GL_TEXTURE);
        glLoadMatrixf(v);
        glMatrixMode(GL_MODELVIEW);
    });
    return fields;
}

}  // namespace

const std::vector<GlState::Field>& GlState::fields() {
    static const std::vector<Field> list = makeFields();
    return list;
}

GlState GlState::save() {
    GlState s;
    for (const Field& field : fields()) {
        const std::size_t at = s.values.size();
        s.values.resize(at + static_cast<std::size_t>(field.count));
        field.read(s.values.data() + at);
    }
    return s;
}

void GlState::restore() const {
    if (values.empty()) return;  // never saved: nothing to put back
    // The materials are set before any follows the colour again.
    glDisable(GL_COLOR_MATERIAL);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    std::size_t at = 0;
    for (const Field& field : fields()) {
        field.write(values.data() + at);
        at += static_cast<std::size_t>(field.count);
    }
}
