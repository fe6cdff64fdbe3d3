#include "model/Light.h"

#include <algorithm>

#include "platform/FatalExit.h"
#include "platform/GlCurrent.h"
#include "render/FourFloats.h"

namespace {

constexpr int kMaxLights = 8;

// Slots go by how many lights are alive, not by which slots are free.
int liveLights = 0;

}  // namespace

GLenum Light::takeSlot() {
    if (liveLights >= kMaxLights) platform::fatalExit("To many lights created, do something else!\n");
    return GL_LIGHT0 + liveLights++;
}

Light::Light() : slot(takeSlot()) {
    storeFour(position, 0.0f, 0.5f, -4.0f, 1.0f);
    storeFour(ambient, 1.0f, 1.0f, 1.0f, 1.0f);
    storeFour(diffuse, 1.0f, 1.0f, 1.0f, 1.0f);
    storeFour(specular, 0.0f, 0.0f, 0.0f, 1.0f);
    send(GL_DIFFUSE, diffuse);
    send(GL_AMBIENT, ambient);
    send(GL_SPECULAR, specular);
    send(GL_POSITION, position);
}

Light::Light(float r, float g, float b, float a, float x, float y, float z)
    : diffuse{r, g, b, a}, ambient{0, 0, 0, 0}, specular{0, 0, 0, 0}, position{x, y, z, 1.0f}, slot(takeSlot()) {}

Light::~Light() { --liveLights; }

void Light::setAmbient(float r, float g, float b, float a) {
    storeFour(ambient, r, g, b, a);
    send(GL_AMBIENT, ambient);
}

void Light::setDiffuse(float r, float g, float b, float a) {
    storeFour(diffuse, r, g, b, a);
    send(GL_DIFFUSE, diffuse);
}

void Light::setSpecular(float r, float g, float b, float a) {
    storeFour(specular, r, g, b, a);
    send(GL_SPECULAR, specular);
}

void Light::setPosition(float x, float y, float z) {
    storeFour(position, x, y, z, 1.0f);
    send(GL_POSITION, position);
}

void Light::enable() {
    if (platform::hasCurrentGlContext()) glEnable(slot);
    send(GL_DIFFUSE, diffuse);
    send(GL_SPECULAR, specular);
    send(GL_AMBIENT, ambient);
    send(GL_POSITION, position);
}

void Light::disable() {
    if (platform::hasCurrentGlContext()) glDisable(slot);
}

// The show builds its lights before the window exists; what they would send
// then is sent again by the set-up once there is a context to receive it.
void Light::send(GLenum what, const GLfloat* values) const {
    if (platform::hasCurrentGlContext()) glLightfv(slot, what, values);
}

Light::Values Light::getValues() const {
    Values values;
    std::copy(diffuse, diffuse + 4, values.diffuse);
    std::copy(ambient, ambient + 4, values.ambient);
    std::copy(specular, specular + 4, values.specular);
    std::copy(position, position + 4, values.position);
    return values;
}

void Light::setValues(const Values& saved) {
    std::copy(saved.diffuse, saved.diffuse + 4, diffuse);
    std::copy(saved.ambient, saved.ambient + 4, ambient);
    std::copy(saved.specular, saved.specular + 4, specular);
    std::copy(saved.position, saved.position + 4, position);
}
