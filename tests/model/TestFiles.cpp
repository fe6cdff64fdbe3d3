#include "TestFiles.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <jpeglib.h>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "ImageFiles.h"
#include "WorkingDirectory.h"
#include "model/Model.h"

MeshData slab(float halfX, float halfY, const std::string& material) {
    MeshData mesh;
    const auto a = mesh.point({-halfX, -halfY, 0});
    const auto b = mesh.point({halfX, -halfY, 0});
    const auto c = mesh.point({halfX, halfY, 0});
    const auto d = mesh.point({-halfX, halfY, 0});
    mesh.quad(a, b, c, d, material, 0);
    return mesh;
}

std::string tempModelPath(const std::string& name) {
    // One directory for the process: it goes when the process does.
    static const testsupport::ScratchDirectory directory;
    return (directory.path() / name).string();
}

std::string writeTestFile(const std::string& name, const std::function<void(ThreeDsBuilder&)>& build) {
    ThreeDsBuilder file;
    file.setFrames(1);
    build(file);
    const std::string path = tempModelPath(name);
    file.save(path);
    return path;
}

std::string writeSlabFile(const std::string& name, float x, float y, float z) {
    return writeTestFile(name, [&](ThreeDsBuilder& file) {
        file.addMaterial("red", {1, 0, 0}, {0, 0, 0}, 0);
        file.addMesh("slab", slab(4, 0.5f, "red"));
        ThreeDsBuilder::Node node(0, ThreeDsBuilder::kNoParent, "slab");
        node.position = {x, y, z};
        file.addNode(node);
    });
}

std::string writeTestJpg(const std::string& name, int width, int height,
                         const std::function<std::array<unsigned char, 3>(int, int)>& colour) {
    std::vector<std::uint8_t> pixels;
    pixels.reserve(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto rgb = colour(x, y);
            pixels.insert(pixels.end(), rgb.begin(), rgb.end());
        }
    }
    const std::string path = tempModelPath(name);
    testsupport::writeJpg(path, JCS_RGB, 3, width, height, pixels);
    return path;
}

int countDrawnTriangles(Model& model) {
    std::vector<GLfloat> buffer(1 << 20);
    glPushAttrib(GL_ENABLE_BIT | GL_TRANSFORM_BIT);
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-1e5, 1e5, -1e5, 1e5, -1e5, 1e5);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    model.draw(0);
    const GLint values = glRenderMode(GL_RENDER);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();

    // Each polygon is a token, a vertex count and three floats per vertex;
    // lines are a token and two vertices.
    int triangles = 0;
    for (GLint i = 0; i < values;) {
        const auto token = static_cast<GLint>(buffer[i]);
        if (token == GL_POLYGON_TOKEN) {
            const auto count = static_cast<GLint>(buffer[i + 1]);
            if (count == 3) ++triangles;
            i += 2 + 3 * count;
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            i += 1 + 3 * 2;
        } else if (token == GL_POINT_TOKEN) {
            i += 1 + 3;
        } else {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
    }
    return triangles;
}
