// GlState on a real context: every piece of state it keeps, set away from
// its default, saved, changed back, restored, and read back here with GL's
// own queries, not GlState's. The pieces are this test's own list, held
// against GlState's by name both ways: a piece added there without a value
// here, or dropped there, fails.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "GlContext.h"
#include "render/GlState.h"

using testsupport::GlTest;

namespace {

using Values = std::vector<GLfloat>;

struct Piece {
    std::string name;
    Values value;  // away from the default
    Values other;  // the default: where a fresh context has it
    std::function<void(const Values&)> set;
    std::function<Values()> get;
};

Values integers(GLenum query, int count) {
    GLint read[4] = {};
    glGetIntegerv(query, read);
    return Values(read, read + count);
}

Values floats(GLenum query, int count) {
    Values read(16, 0.0f);
    glGetFloatv(query, read.data());
    read.resize(static_cast<std::size_t>(count));
    return read;
}

void enable(GLenum capability, bool on) {
    if (on) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
}

// Every piece, in an order GL takes them in (see setAll): a material that
// follows the colour takes it when that is switched on. `colourTracked`
// leaves GL_COLOR_MATERIAL on, with the front specular following the colour.
std::vector<Piece> pieces(bool colourTracked) {
    std::vector<Piece> list;
    const struct {
        GLenum value;
        const char* name;
        bool byDefault;
    } capabilities[] = {
        {GL_TEXTURE_2D, "GL_TEXTURE_2D", false},
        {GL_BLEND, "GL_BLEND", false},
        {GL_LIGHTING, "GL_LIGHTING", false},
        {GL_LIGHT0, "GL_LIGHT0", false},
        {GL_LIGHT1, "GL_LIGHT1", false},
        {GL_LIGHT2, "GL_LIGHT2", false},
        {GL_LIGHT3, "GL_LIGHT3", false},
        {GL_LIGHT4, "GL_LIGHT4", false},
        {GL_LIGHT5, "GL_LIGHT5", false},
        {GL_LIGHT6, "GL_LIGHT6", false},
        {GL_LIGHT7, "GL_LIGHT7", false},
        {GL_CULL_FACE, "GL_CULL_FACE", false},
        {GL_DEPTH_TEST, "GL_DEPTH_TEST", false},
        {GL_TEXTURE_GEN_S, "GL_TEXTURE_GEN_S", false},
        {GL_TEXTURE_GEN_T, "GL_TEXTURE_GEN_T", false},
        {GL_NORMALIZE, "GL_NORMALIZE", false},
        {GL_FOG, "GL_FOG", false},
        {GL_ALPHA_TEST, "GL_ALPHA_TEST", false},
        {GL_POLYGON_OFFSET_FILL, "GL_POLYGON_OFFSET_FILL", false},
        {GL_LINE_SMOOTH, "GL_LINE_SMOOTH", false},
        {GL_POINT_SMOOTH, "GL_POINT_SMOOTH", false},
        {GL_DITHER, "GL_DITHER", true},
    };
    const auto capability = [&list](GLenum which, const char* name, bool on, bool byDefault) {
        list.push_back({std::string("enabled ") + name,
                        {on ? 1.0f : 0.0f},
                        {byDefault ? 1.0f : 0.0f},
                        [which](const Values& v) { enable(which, v[0] != 0.0f); },
                        [which] { return Values{glIsEnabled(which) ? 1.0f : 0.0f}; }});
    };
    for (const auto& c : capabilities) capability(c.value, c.name, !c.byDefault, c.byDefault);
    // Every light and every parameter a value of its own, so that one put
    // back into another's place shows.
    for (int i = 0; i < 8; ++i) {
        const GLenum light = GL_LIGHT0 + static_cast<GLenum>(i);
        const float n = static_cast<float>(i) / 16.0f;
        const Values on = i == 0 ? Values{1, 1, 1, 1} : Values{0, 0, 0, 1};
        const struct {
            GLenum what;
            const char* name;
            Values value, other;
        } parameters[] = {
            {GL_AMBIENT, "ambient", {0.125f + n, 0.25f, 0.375f, 0.5f}, {0, 0, 0, 1}},
            {GL_DIFFUSE, "diffuse", {0.5f, 0.625f + n, 0.75f, 0.875f}, on},
            {GL_SPECULAR, "specular", {0.25f, 0.5f, 0.125f + n, 0.75f}, on},
            {GL_POSITION, "position", {1.0f + n, -2.0f, 3.0f, 1.0f}, {0, 0, 1, 0}},
            {GL_SPOT_DIRECTION, "spot direction", {0.5f, -1.0f - n, 0.25f}, {0, 0, -1}},
            {GL_SPOT_EXPONENT, "spot exponent", {2.0f + i}, {0}},
            {GL_SPOT_CUTOFF, "spot cutoff", {30.0f + i}, {180}},
            {GL_CONSTANT_ATTENUATION, "constant attenuation", {2.0f + n}, {1}},
            {GL_LINEAR_ATTENUATION, "linear attenuation", {0.5f + n}, {0}},
            {GL_QUADRATIC_ATTENUATION, "quadratic attenuation", {0.25f + n}, {0}},
        };
        for (const auto& p : parameters) {
            const GLenum what = p.what;
            const int count = static_cast<int>(p.value.size());
            list.push_back({"light " + std::to_string(i) + " " + p.name, p.value, p.other,
                            [light, what](const Values& v) { glLightfv(light, what, v.data()); },
                            [light, what, count] {
                                Values read(4, 0.0f);
                                glGetLightfv(light, what, read.data());
                                read.resize(static_cast<std::size_t>(count));
                                return read;
                            }});
        }
    }
    for (const GLenum face : {GL_FRONT, GL_BACK}) {
        const float n = face == GL_BACK ? 0.0625f : 0.0f;
        const struct {
            GLenum what;
            const char* name;
            Values value, other;
        } parameters[] = {
            {GL_AMBIENT, "ambient", {0.1f + n, 0.3f, 0.5f, 0.7f}, {0.2f, 0.2f, 0.2f, 1}},
            {GL_DIFFUSE, "diffuse", {0.7f, 0.5f + n, 0.3f, 0.1f}, {0.8f, 0.8f, 0.8f, 1}},
            {GL_SPECULAR, "specular", {0.3f, 0.1f, 0.7f + n, 0.5f}, {0, 0, 0, 1}},
            {GL_EMISSION, "emission", {0.5f, 0.7f, 0.1f, 0.3f + n}, {0, 0, 0, 1}},
            {GL_SHININESS, "shininess", {40.0f + 8 * n}, {0}},
        };
        for (const auto& p : parameters) {
            const GLenum what = p.what;
            const int count = static_cast<int>(p.value.size());
            list.push_back({std::string(face == GL_FRONT ? "front" : "back") + " material " + p.name, p.value, p.other,
                            [face, what](const Values& v) { glMaterialfv(face, what, v.data()); },
                            [face, what, count] {
                                Values read(4, 0.0f);
                                glGetMaterialfv(face, what, read.data());
                                read.resize(static_cast<std::size_t>(count));
                                return read;
                            }});
        }
    }
    list.push_back({"light model ambient",
                    {0.3f, 0.2f, 0.1f, 0.9f},
                    {0.2f, 0.2f, 0.2f, 1},
                    [](const Values& v) { glLightModelfv(GL_LIGHT_MODEL_AMBIENT, v.data()); },
                    [] { return floats(GL_LIGHT_MODEL_AMBIENT, 4); }});
    list.push_back({"light model two side",
                    {1},
                    {0},
                    [](const Values& v) { glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, static_cast<GLint>(v[0])); },
                    [] { return integers(GL_LIGHT_MODEL_TWO_SIDE, 1); }});
    list.push_back({"light model local viewer",
                    {1},
                    {0},
                    [](const Values& v) { glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, static_cast<GLint>(v[0])); },
                    [] { return integers(GL_LIGHT_MODEL_LOCAL_VIEWER, 1); }});
    GLuint texture = 0;
    glGenTextures(1, &texture);
    list.push_back({"bound texture",
                    {static_cast<GLfloat>(texture)},
                    {0},
                    [](const Values& v) { glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(v[0])); },
                    [] { return integers(GL_TEXTURE_BINDING_2D, 1); }});
    list.push_back({"blend function",
                    {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA},
                    {GL_ONE, GL_ZERO},
                    [](const Values& v) { glBlendFunc(static_cast<GLenum>(v[0]), static_cast<GLenum>(v[1])); },
                    [] {
                        Values v = integers(GL_BLEND_SRC, 1);
                        v.push_back(integers(GL_BLEND_DST, 1)[0]);
                        return v;
                    }});
    list.push_back({"texture environment mode",
                    {GL_REPLACE},
                    {GL_MODULATE},
                    [](const Values& v) { glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLint>(v[0])); },
                    [] {
                        GLint mode = 0;
                        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
                        return Values{static_cast<GLfloat>(mode)};
                    }});
    for (const auto& [coordinate, name, mode] :
         {std::tuple{GL_S, "S", GL_SPHERE_MAP}, std::tuple{GL_T, "T", GL_OBJECT_LINEAR}}) {
        const GLenum which = coordinate;
        list.push_back({std::string("texture generation ") + name,
                        {static_cast<GLfloat>(mode)},
                        {GL_EYE_LINEAR},
                        [which](const Values& v) { glTexGeni(which, GL_TEXTURE_GEN_MODE, static_cast<GLint>(v[0])); },
                        [which] {
                            GLint read = 0;
                            glGetTexGeniv(which, GL_TEXTURE_GEN_MODE, &read);
                            return Values{static_cast<GLfloat>(read)};
                        }});
    }
    const auto oneEnum = [&list](const char* name, GLenum value, GLenum other, void (*set)(GLenum), GLenum query) {
        list.push_back({name,
                        {static_cast<GLfloat>(value)},
                        {static_cast<GLfloat>(other)},
                        [set](const Values& v) { set(static_cast<GLenum>(v[0])); },
                        [query] { return integers(query, 1); }});
    };
    oneEnum("shade model", GL_FLAT, GL_SMOOTH, glShadeModel, GL_SHADE_MODEL);
    oneEnum("depth function", GL_LEQUAL, GL_LESS, glDepthFunc, GL_DEPTH_FUNC);
    list.push_back({"depth mask",
                    {0},
                    {1},
                    [](const Values& v) { glDepthMask(v[0] != 0.0f ? GL_TRUE : GL_FALSE); },
                    [] {
                        GLboolean mask = GL_TRUE;
                        glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
                        return Values{mask ? 1.0f : 0.0f};
                    }});
    oneEnum("cull face", GL_FRONT, GL_BACK, glCullFace, GL_CULL_FACE_MODE);
    oneEnum("front face", GL_CW, GL_CCW, glFrontFace, GL_FRONT_FACE);
    list.push_back({"polygon modes",
                    {GL_LINE, GL_POINT},
                    {GL_FILL, GL_FILL},
                    [](const Values& v) {
                        glPolygonMode(GL_FRONT, static_cast<GLenum>(v[0]));
                        glPolygonMode(GL_BACK, static_cast<GLenum>(v[1]));
                    },
                    [] { return integers(GL_POLYGON_MODE, 2); }});
    list.push_back({"colour material",
                    {GL_FRONT, GL_SPECULAR},
                    {GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE},
                    [](const Values& v) { glColorMaterial(static_cast<GLenum>(v[0]), static_cast<GLenum>(v[1])); },
                    [] {
                        Values v = integers(GL_COLOR_MATERIAL_FACE, 1);
                        v.push_back(integers(GL_COLOR_MATERIAL_PARAMETER, 1)[0]);
                        return v;
                    }});
    const Values colour{0.25f, 0.5f, 0.75f, 0.625f};
    list.push_back({"current colour",
                    colour,
                    {1, 1, 1, 1},
                    [](const Values& v) { glColor4fv(v.data()); },
                    [] { return floats(GL_CURRENT_COLOR, 4); }});
    capability(GL_COLOR_MATERIAL, "GL_COLOR_MATERIAL", colourTracked, false);
    list.push_back({"current normal",
                    {0.6f, 0.8f, 0.0f},
                    {0, 0, 1},
                    [](const Values& v) { glNormal3fv(v.data()); },
                    [] { return floats(GL_CURRENT_NORMAL, 3); }});
    list.push_back({"current texture coordinates",
                    {0.5f, 0.25f, 0.125f, 2.0f},
                    {0, 0, 0, 1},
                    [](const Values& v) { glTexCoord4fv(v.data()); },
                    [] { return floats(GL_CURRENT_TEXTURE_COORDS, 4); }});
    list.push_back({"clear colour",
                    {0.125f, 0.25f, 0.375f, 0.5f},
                    {0, 0, 0, 0},
                    [](const Values& v) { glClearColor(v[0], v[1], v[2], v[3]); },
                    [] { return floats(GL_COLOR_CLEAR_VALUE, 4); }});
    list.push_back({"texture matrix",
                    {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0.5f, 0.25f, 0, 1},
                    {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1},
                    [](const Values& v) {
                        glMatrixMode(GL_TEXTURE);
                        glLoadMatrixf(v.data());
                        glMatrixMode(GL_MODELVIEW);
                    },
                    [] { return floats(GL_TEXTURE_MATRIX, 16); }});
    // The front specular follows the colour: that is what GL reads back.
    if (colourTracked) {
        for (Piece& piece : list) {
            if (piece.name == "front material specular") piece.value = colour;
        }
    }
    return list;
}

// While a material follows the colour, GL ignores the material set for it:
// the materials are set with none following.
void setAll(const std::vector<Piece>& list, Values Piece::*which) {
    glDisable(GL_COLOR_MATERIAL);
    for (const Piece& piece : list) piece.set(piece.*which);
}

bool same(const Values& a, const Values& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::fabs(a[i] - b[i]) > 1e-6f) return false;
    }
    return true;
}

std::string shown(const Values& values) {
    std::string text;
    for (const GLfloat v : values) text += (text.empty() ? "" : " ") + std::to_string(v);
    return text;
}

class GlStateTest : public GlTest {};

}  // namespace

TEST_F(GlStateTest, TheTestGivesAValueToEveryPieceGlStateKeeps) {
    std::set<std::string> kept, given;
    for (const GlState::Field& field : GlState::fields()) {
        EXPECT_TRUE(kept.insert(field.name).second) << field.name << " is kept twice";
    }
    for (const Piece& piece : pieces(true)) given.insert(piece.name);
    for (const std::string& name : kept) {
        EXPECT_EQ(given.count(name), 1u) << "GlState keeps " << name << ", which this test gives no value";
    }
    for (const std::string& name : given) {
        EXPECT_EQ(kept.count(name), 1u) << "GlState does not keep " << name;
    }
}

// Twice: with the colour material on, as far from its default as it goes,
// and off, so that no material follows the colour.
TEST_F(GlStateTest, EveryPieceComesBackAsItWasSaved) {
    for (const bool colourTracked : {true, false}) {
        SCOPED_TRACE(colourTracked ? "colour material on" : "colour material off");
        const std::vector<Piece> list = pieces(colourTracked);
        setAll(list, &Piece::value);
        for (const Piece& piece : list) {
            ASSERT_TRUE(same(piece.get(), piece.value))
                << piece.name << " did not take " << shown(piece.value) << ": " << shown(piece.get());
        }
        const GlState saved = GlState::save();

        setAll(list, &Piece::other);
        for (const Piece& piece : list) {
            const bool atDefault = piece.name == "enabled GL_COLOR_MATERIAL" && !colourTracked;
            if (!atDefault) {
                ASSERT_FALSE(same(piece.get(), piece.value)) << piece.name << ": its value is its default";
            }
        }

        saved.restore();
        for (const Piece& piece : list) {
            EXPECT_TRUE(same(piece.get(), piece.value))
                << piece.name << " came back as " << shown(piece.get()) << ", not " << shown(piece.value);
        }
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}
