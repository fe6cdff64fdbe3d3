// The walker: a small green creature about 28 units tall, feet on z = 0,
// walking along +x with +z up (the alien scene turns it so that it walks
// away from the viewer). Caught in mid-stride: limbs are nodes swung about
// their joints by their rotation keys.
#include "pack/models/Models.h"
#include "pack/models/ThreeDsBuilder.h"

namespace {

constexpr int kSegments = 20;

MeshData body() {
    MeshData mesh;
    ellipsoid(mesh, {4.2f, 5.2f, 6.0f}, kSegments, "skin", 1);
    // A belly plate and a backpack-like hump make front and back differ.
    ellipsoid(mesh, {1.2f, 3.4f, 3.6f}, kSegments, "spots", 2, Affine::translate({3.5f, 0.0f, -0.8f}));
    ellipsoid(mesh, {1.8f, 3.0f, 2.8f}, kSegments, "boot", 4, Affine::translate({-3.6f, 0.0f, 1.2f}));
    return mesh;
}

MeshData head() {
    MeshData mesh;
    ellipsoid(mesh, {3.4f, 3.8f, 3.4f}, kSegments, "skin", 1);
    for (float side : {-1.0f, 1.0f}) {
        ellipsoid(mesh, {1.1f, 1.1f, 1.3f}, 12, "eye", 2, Affine::translate({2.8f, 1.4f * side, 0.8f}));
        ellipsoid(mesh, {0.5f, 0.5f, 0.6f}, 10, "pupil", 4, Affine::translate({3.75f, 1.4f * side, 0.9f}));
        // Antennae: a thin stalk leaning outwards and a glowing bead on top.
        const Vec3 root{-0.4f, 1.2f * side, 2.6f};
        const Vec3 stalk{0.0f, 0.309f * side, 0.951f};
        lathe(mesh, {{0.0f, 0.0f}, {0.35f, 0.2f}, {0.3f, 4.8f}, {0.0f, 5.0f}}, 8, "skin", 8,
              Affine::rotate(90.0f - 18.0f * side, {1, 0, 0}).then(Affine::translate(root)));
        ellipsoid(mesh, {0.9f, 0.9f, 0.9f}, 12, "glow", 16, Affine::translate(root + stalk * 5.4f));
    }
    return mesh;
}

// An arm hanging from its shoulder at the origin.
MeshData arm() {
    MeshData mesh;
    ellipsoid(mesh, {1.1f, 1.1f, 2.9f}, 14, "skin", 1, Affine::translate({0.0f, 0.0f, -2.6f}));
    ellipsoid(mesh, {1.0f, 1.0f, 2.7f}, 14, "skin", 2, Affine::translate({0.4f, 0.0f, -7.2f}));
    ellipsoid(mesh, {1.4f, 1.3f, 1.3f}, 14, "spots", 4, Affine::translate({0.7f, 0.0f, -10.2f}));
    return mesh;
}

// A leg hanging from its hip at the origin, 7.5 long to the sole.
MeshData leg() {
    MeshData mesh;
    ellipsoid(mesh, {1.6f, 1.6f, 2.4f}, 14, "skin", 1, Affine::translate({0.0f, 0.0f, -2.0f}));
    ellipsoid(mesh, {1.3f, 1.3f, 2.2f}, 14, "skin", 2, Affine::translate({0.0f, 0.0f, -5.0f}));
    ellipsoid(mesh, {2.5f, 1.7f, 1.0f}, 14, "boot", 4, Affine::translate({1.0f, 0.0f, -6.6f}));
    return mesh;
}

}  // namespace

void writeWalker(const std::filesystem::path& path) {
    ThreeDsBuilder file;
    file.setFrames(100);
    file.addMaterial("skin", {0.36f, 0.86f, 0.32f}, {0.8f, 1.0f, 0.8f}, 0.45f);
    file.addMaterial("spots", {0.95f, 0.78f, 0.2f}, {1.0f, 1.0f, 0.8f}, 0.5f);
    file.addMaterial("boot", {0.55f, 0.2f, 0.7f}, {0.9f, 0.8f, 1.0f}, 0.55f);
    file.addMaterial("eye", {1.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f}, 0.9f);
    file.addMaterial("pupil", {0.05f, 0.05f, 0.08f}, {1.0f, 1.0f, 1.0f}, 0.9f);
    file.addMaterial("glow", {1.0f, 0.3f, 0.75f}, {1.0f, 0.9f, 1.0f}, 0.7f);

    const Vec3 bodyAt{0.0f, 0.0f, 12.6f};
    const Vec3 headAt{0.4f, 0.0f, 8.4f};  // from the body
    const Vec3 shoulder{0.0f, 5.4f, 2.8f};
    const Vec3 hip{0.0f, 2.5f, -5.3f};

    MeshData parts[] = {body(), head(), arm(), leg()};
    parts[0].frame = Affine::translate(bodyAt);
    parts[1].frame = Affine::translate(bodyAt + headAt);
    parts[2].frame = Affine::translate(bodyAt + shoulder);
    parts[3].frame = Affine::translate(bodyAt + hip);
    file.addMesh("body", parts[0]);
    file.addMesh("head", parts[1]);
    file.addMesh("arm", parts[2]);
    file.addMesh("leg", parts[3]);

    using Node = ThreeDsBuilder::Node;
    Node torso{0, ThreeDsBuilder::kNoParent, "body"};
    torso.position = bodyAt;
    Node top{1, 0, "head"};
    top.position = headAt;
    // Left arm forward with the right leg, right arm back with the left leg.
    auto limb = [](std::uint16_t id, const char* mesh, const char* instance, Vec3 at, float swing) {
        Node node{id, 0, mesh, instance};
        node.position = at;
        node.degrees = swing;
        node.axis = {0, 1, 0};
        return node;
    };
    const Vec3 rightShoulder{shoulder.x, -shoulder.y, shoulder.z};
    const Vec3 rightHip{hip.x, -hip.y, hip.z};
    for (const Node& node :
         {torso, top, limb(2, "arm", "L", shoulder, -32.0f), limb(3, "arm", "R", rightShoulder, 30.0f),
          limb(4, "leg", "L", hip, 24.0f), limb(5, "leg", "R", rightHip, -26.0f)}) {
        file.addNode(node);
    }
    file.save(path);
}
