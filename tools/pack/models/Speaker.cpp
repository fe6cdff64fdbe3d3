// A loudspeaker: a bevelled cabinet 36 wide, 60 tall and 28 deep, centred
// on its origin and facing +z (the viewer), with a woofer and a tweeter
// mounted on the front baffle, each a node of its own.
#include "pack/models/Models.h"
#include "pack/models/ThreeDsBuilder.h"

namespace {

constexpr int kSegments = 36;
constexpr float kFront = 14.0f;

// Lathes along +z, out of the baffle towards the viewer. A lathe's surface
// faces forwards where its profile runs towards the axis, so these profiles
// run from the rim inwards.
const Affine kOutOfBaffle = Affine::rotate(90.0f, {1, 0, 0});

MeshData woofer() {
    MeshData mesh;
    std::uint32_t group = 1;
    group = lathe(
        mesh, {{13.2f, -0.2f}, {13.2f, 0.5f, true}, {12.4f, 0.7f, true}, {12.0f, 1.4f}, {11.2f, 1.8f}, {10.4f, 1.4f}},
        kSegments, "rubber", group, kOutOfBaffle);
    group = lathe(mesh, {{10.4f, 1.4f}, {9.5f, 0.8f}, {7.0f, -1.0f}, {4.5f, -2.6f}}, kSegments, "cone", group,
                  kOutOfBaffle);
    lathe(mesh, {{4.5f, -2.6f}, {4.3f, -2.2f}, {3.5f, -1.2f}, {2.2f, -0.6f}, {0.0f, -0.4f}}, kSegments, "dustcap",
          group, kOutOfBaffle);
    return mesh;
}

MeshData tweeter() {
    MeshData mesh;
    const std::uint32_t group =
        lathe(mesh, {{5.6f, 0.0f}, {5.2f, 0.5f}, {4.2f, 0.6f}, {3.3f, 0.4f}}, 24, "rubber", 1, kOutOfBaffle);
    lathe(mesh, {{3.3f, 0.4f}, {2.8f, 1.3f}, {1.6f, 2.1f}, {0.0f, 2.4f}}, 24, "dome", group, kOutOfBaffle);
    return mesh;
}

}  // namespace

void writeSpeaker(const std::filesystem::path& path) {
    ThreeDsBuilder file;
    file.setFrames(100);
    // Both of the show's lights shine on the baffle from just above the
    // viewer: colours stay below half so the front does not burn out white.
    file.addMaterial("cabinet", {0.17f, 0.14f, 0.22f}, {0.2f, 0.2f, 0.25f}, 0.45f);
    file.addMaterial("cone", {0.45f, 0.46f, 0.5f}, {0.4f, 0.4f, 0.4f}, 0.6f);
    file.addMaterial("dustcap", {0.5f, 0.42f, 0.22f}, {0.5f, 0.5f, 0.5f}, 0.8f);
    file.addMaterial("rubber", {0.06f, 0.06f, 0.07f}, {0.2f, 0.2f, 0.2f}, 0.2f);
    file.addMaterial("dome", {0.5f, 0.5f, 0.55f}, {0.6f, 0.6f, 0.6f}, 0.9f);

    const Vec3 wooferAt{0.0f, -8.0f, kFront};
    const Vec3 tweeterAt{0.0f, 18.0f, kFront};

    MeshData cabinet;
    bevelledBox(cabinet, {18.0f, 30.0f, kFront}, 1.6f, "cabinet");
    MeshData bass = woofer();
    bass.frame = Affine::translate(wooferAt);
    MeshData treble = tweeter();
    treble.frame = Affine::translate(tweeterAt);
    file.addMesh("cabinet", cabinet);
    file.addMesh("woofer", bass);
    file.addMesh("tweeter", treble);

    file.addNode({0, ThreeDsBuilder::kNoParent, "cabinet"});
    ThreeDsBuilder::Node low{1, 0, "woofer"};
    low.position = wooferAt;
    ThreeDsBuilder::Node high{2, 0, "tweeter"};
    high.position = tweeterAt;
    file.addNode(low);
    file.addNode(high);
    file.save(path);
}
