#include "platform/webgl/State.h"

namespace mwgl {

int capabilityBit(GLenum cap) {
    switch (cap) {
    case GL_TEXTURE_2D:
        return CapTexture2D;
    case GL_BLEND:
        return CapBlend;
    case GL_LIGHTING:
        return CapLighting;
    case GL_CULL_FACE:
        return CapCullFace;
    case GL_DEPTH_TEST:
        return CapDepthTest;
    case GL_TEXTURE_GEN_S:
        return CapTextureGenS;
    case GL_TEXTURE_GEN_T:
        return CapTextureGenT;
    case GL_COLOR_MATERIAL:
        return CapColorMaterial;
    case GL_NORMALIZE:
        return CapNormalize;
    case GL_FOG:
        return CapFog;
    case GL_ALPHA_TEST:
        return CapAlphaTest;
    case GL_POLYGON_OFFSET_FILL:
        return CapPolygonOffsetFill;
    case GL_LINE_SMOOTH:
        return CapLineSmooth;
    case GL_POINT_SMOOTH:
        return CapPointSmooth;
    case GL_DITHER:
        return CapDither;
    case GL_SCISSOR_TEST:
        return CapScissorTest;
    default:
        if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + kMaxLights) return CapLight0 + static_cast<int>(cap - GL_LIGHT0);
        return -1;
    }
}

std::array<Light, kMaxLights> defaultLights() {
    std::array<Light, kMaxLights> lights{};
    lights[0].diffuse = {1, 1, 1, 1};
    lights[0].specular = {1, 1, 1, 1};
    return lights;
}

unsigned colorMaterialBits(GLenum mode) {
    switch (mode) {
    case GL_AMBIENT:
        return MatAmbient;
    case GL_DIFFUSE:
        return MatDiffuse;
    case GL_SPECULAR:
        return MatSpecular;
    case GL_EMISSION:
        return MatEmission;
    case GL_AMBIENT_AND_DIFFUSE:
        return MatAmbient | MatDiffuse;
    default:
        return 0;
    }
}

unsigned faceBits(GLenum face) {
    switch (face) {
    case GL_FRONT:
        return 1;
    case GL_BACK:
        return 2;
    case GL_FRONT_AND_BACK:
        return 3;
    default:
        return 0;
    }
}

}  // namespace mwgl
