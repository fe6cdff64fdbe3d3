// The spaceship: about 70 units from nose (-x) to tail (+x), up +y. It flies
// in along -x in the alien scene and rolls about its length, and tumbles
// 100 units in front of the viewer in the ship scene. Parts hang in a node
// tree under a "$$$DUMMY" group, as a modeller's grouped export would, and
// the two engines and two fins are instances of one mesh each.
#include "pack/models/Models.h"
#include "pack/models/ThreeDsBuilder.h"

namespace {

constexpr int kSegments = 32;

// A lathe along +x instead of +y.
Affine alongX(const Affine& then = Affine()) { return Affine::rotate(-90.0f, {0, 0, 1}).then(then); }

MeshData hull() {
    MeshData mesh;
    const std::vector<ProfilePoint> body = {{0.0f, -35.0f},      {1.2f, -34.6f},      {2.6f, -33.2f}, {3.9f, -30.5f},
                                            {5.0f, -26.0f},      {5.9f, -20.0f},      {6.5f, -13.0f}, {6.8f, -5.0f},
                                            {6.8f, 5.0f},        {6.5f, 14.0f},       {6.0f, 22.0f},  {5.3f, 28.0f},
                                            {4.6f, 31.5f, true}, {3.0f, 32.2f, true}, {0.0f, 32.6f}};
    // Flattened a little: a hull, not a tube.
    const Affine flat = alongX(Affine::scale({1.0f, 0.78f, 1.0f}));
    std::uint32_t group = lathe(mesh, body, kSegments, "hull", 1, flat);
    group = lathe(mesh, {{3.6f, 31.0f}, {3.6f, 33.0f, true}, {0.0f, 33.0f}}, kSegments, "glow", group, flat);
    // A red band around the nose.
    lathe(mesh, {{5.2f, -24.5f}, {5.5f, -23.2f}, {5.6f, -21.0f}, {5.3f, -19.6f}}, kSegments, "trim", group,
          alongX(Affine::scale({1.02f, 0.80f, 1.02f})));
    return mesh;
}

MeshData cockpit() {
    MeshData mesh;
    ellipsoid(mesh, {10.0f, 4.0f, 4.2f}, 24, "glass", 1);
    return mesh;
}

// A swept wing from the hull out to `side` * 30 along z, lying in the xz plane.
MeshData wing(float side) {
    MeshData mesh;
    const std::vector<Vec3> outline = {
        {-6.0f, 3.0f * side, 0}, {16.0f, 3.0f * side, 0}, {23.0f, 30.0f * side, 0}, {13.0f, 30.0f * side, 0}};
    extrude(mesh, outline, 1.6f, "wing", Affine::rotate(90.0f, {1, 0, 0}));
    // A red tip along the outer edge.
    const std::vector<Vec3> tip = {
        {12.6f, 28.5f * side, 0}, {22.2f, 28.5f * side, 0}, {23.4f, 31.0f * side, 0}, {13.2f, 31.0f * side, 0}};
    extrude(mesh, tip, 2.0f, "trim", Affine::rotate(90.0f, {1, 0, 0}));
    return mesh;
}

MeshData nacelle() {
    MeshData mesh;
    const std::vector<ProfilePoint> pod = {{0.0f, -11.5f},      {1.6f, -11.2f, true}, {3.0f, -10.4f},
                                           {3.4f, -8.5f},       {3.4f, 7.0f},         {3.0f, 9.5f, true},
                                           {2.4f, 10.2f, true}, {2.4f, 10.9f, true},  {0.0f, 10.9f}};
    const std::uint32_t group = lathe(mesh, pod, 20, "engine", 1, alongX());
    lathe(mesh, {{2.1f, 10.0f}, {2.1f, 11.4f, true}, {0.0f, 11.4f}}, 20, "glow", group, alongX());
    return mesh;
}

MeshData fin() {
    MeshData mesh;
    extrude(mesh, {{19.0f, 3.0f, 0}, {32.0f, 3.0f, 0}, {35.0f, 15.0f, 0}, {29.0f, 15.0f, 0}}, 1.2f, "trim");
    return mesh;
}

}  // namespace

void writeShip(const std::filesystem::path& path) {
    ThreeDsBuilder file;
    file.setFrames(100);
    file.addMaterial("hull", {0.78f, 0.80f, 0.86f}, {1.0f, 1.0f, 1.0f}, 0.5f);
    file.addMaterial("glass", {0.12f, 0.2f, 0.45f}, {1.0f, 1.0f, 1.0f}, 0.9f);
    file.addMaterial("wing", {0.58f, 0.60f, 0.68f}, {0.9f, 0.9f, 0.9f}, 0.4f);
    file.addMaterial("trim", {0.85f, 0.14f, 0.10f}, {1.0f, 0.8f, 0.8f}, 0.5f);
    file.addMaterial("engine", {0.34f, 0.34f, 0.38f}, {0.8f, 0.8f, 0.8f}, 0.3f);
    file.addMaterial("glow", {1.0f, 0.6f, 0.15f}, {1.0f, 1.0f, 0.8f}, 0.2f);

    // Where each part sits in the ship; the meshes keep it as their own frame.
    const Vec3 cockpitAt{-14.0f, 4.2f, 0.0f};
    const Vec3 wingAt{0.0f, -1.0f, 0.0f};
    const Vec3 nacelleAt{12.0f, -2.6f, 17.0f};

    MeshData parts[] = {hull(), cockpit(), wing(1.0f), wing(-1.0f), nacelle(), fin()};
    parts[1].frame = Affine::translate(cockpitAt);
    parts[2].frame = Affine::translate(wingAt);
    parts[3].frame = Affine::translate(wingAt);
    parts[4].frame = Affine::translate(wingAt + nacelleAt);
    file.addMesh("hull", parts[0]);
    file.addMesh("cockpit", parts[1]);
    file.addMesh("wingL", parts[2]);
    file.addMesh("wingR", parts[3]);
    file.addMesh("nacelle", parts[4]);
    file.addMesh("fin", parts[5]);

    using Node = ThreeDsBuilder::Node;
    Node group{0, ThreeDsBuilder::kNoParent, "$$$DUMMY", "ship"};
    Node body{1, 0, "hull"};
    Node canopy{2, 1, "cockpit"};
    canopy.position = cockpitAt;
    // A slight upward dihedral on both wings.
    Node left{3, 1, "wingL"};
    left.position = wingAt;
    left.degrees = -7.0f;
    left.axis = {1, 0, 0};
    Node right{4, 1, "wingR"};
    right.position = wingAt;
    right.degrees = 7.0f;
    right.axis = {1, 0, 0};
    Node engineLeft{5, 3, "nacelle", "L"};
    engineLeft.position = nacelleAt;
    Node engineRight{6, 4, "nacelle", "R"};
    engineRight.position = {nacelleAt.x, nacelleAt.y, -nacelleAt.z};
    Node finTop{7, 1, "fin", "top"};
    Node finLow{8, 1, "fin", "low"};
    finLow.degrees = 180.0f;
    finLow.axis = {1, 0, 0};
    for (const Node& node : {group, body, canopy, left, right, engineLeft, engineRight, finTop, finLow}) {
        file.addNode(node);
    }
    file.save(path);
}
