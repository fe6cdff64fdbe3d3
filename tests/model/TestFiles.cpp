#include "TestFiles.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <jpeglib.h>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

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

namespace {

// One directory per process, since ctest runs the tests side by side; it
// goes when the process does.
struct ProcessDirectory {
    std::filesystem::path path =
        std::filesystem::path(::testing::TempDir()) / ("marrowick-model-tests-" + std::to_string(::getpid()));
    ProcessDirectory() { std::filesystem::create_directories(path); }
    ~ProcessDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

}  // namespace

std::string tempModelPath(const std::string& name) {
    static const ProcessDirectory directory;
    return (directory.path / name).string();
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
    const std::string path = tempModelPath(name);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) throw std::runtime_error("cannot write " + path);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto rgb = colour(x, y);
            std::copy(rgb.begin(), rgb.end(), row.begin() + x * 3);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(out);
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
