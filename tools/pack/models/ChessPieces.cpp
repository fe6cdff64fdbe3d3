// Staunton-style chess pieces turned on a lathe. The board scene puts the
// pieces' origin 28 units above the board, so every piece stands on y = -28;
// the viewer looks at them from -x and above.
#include <cmath>

#include "pack/models/Models.h"
#include "pack/models/ThreeDsBuilder.h"

namespace {

constexpr float kBoard = -28.0f;
constexpr int kSegments = 36;

// Heights below are measured from the board up.
std::vector<ProfilePoint> onBoard(std::vector<ProfilePoint> profile) {
    for (ProfilePoint& p : profile) p.height += kBoard;
    return profile;
}

// The foot all three pieces share, scaled to the piece: a rounded rim, a
// step and a bead, up to where the stem starts (height 7 * scale).
std::vector<ProfilePoint> foot(float s) {
    return {{0.0f, 0.0f},
            {11.0f * s, 0.0f, true},
            {11.6f * s, 0.8f * s},
            {11.7f * s, 2.2f * s},
            {11.0f * s, 3.2f * s, true},
            {9.0f * s, 3.4f * s, true},
            {9.3f * s, 4.4f * s},
            {9.0f * s, 5.6f * s},
            {7.8f * s, 6.4f * s, true},
            {6.6f * s, 6.8f * s, true}};
}

void append(std::vector<ProfilePoint>& to, const std::vector<ProfilePoint>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

// A collar of two thin discs around the stem at `height`.
std::vector<ProfilePoint> collar(float height, float stem, float width) {
    return {{stem, height, true},
            {width, height + 0.7f, true},
            {width + 0.2f, height + 1.7f},
            {width - 0.2f, height + 2.3f, true},
            {stem + 0.8f, height + 2.7f, true},
            {width - 1.0f, height + 3.3f, true},
            {width - 0.9f, height + 4.1f},
            {width - 1.8f, height + 4.7f, true}};
}

}  // namespace

void writeQueen(const std::filesystem::path& path) {
    ThreeDsBuilder file;
    file.setFrames(100);
    file.addMaterial("ivory", {0.93f, 0.89f, 0.80f}, {1.0f, 0.97f, 0.9f}, 0.7f);

    std::vector<ProfilePoint> profile = foot(1.0f);
    append(profile, {{6.0f, 8.5f}, {5.2f, 12.0f}, {4.4f, 17.0f}, {3.8f, 22.0f}, {3.4f, 27.0f}});
    append(profile, collar(29.5f, 3.4f, 6.4f));
    append(profile, {{3.6f, 34.8f, true},
                     {3.7f, 37.0f},
                     {4.4f, 40.0f},
                     {5.6f, 43.0f},
                     {6.8f, 45.4f, true},
                     {7.1f, 46.4f},
                     {6.4f, 47.2f, true},
                     {4.2f, 47.6f, true},
                     {3.2f, 48.8f},
                     {2.2f, 50.0f, true},
                     {2.0f, 50.6f, true},
                     {2.6f, 51.2f},
                     {2.9f, 52.6f},
                     {2.6f, 54.0f},
                     {1.7f, 55.2f},
                     {0.0f, 55.8f}});
    MeshData body;
    lathe(body, onBoard(profile), kSegments, "ivory", 1);
    file.addMesh("queen", body);

    // The coronet: a ring of pearls on the crown's rim, a node of its own.
    constexpr float kCrownHeight = 47.4f;
    MeshData crown;
    constexpr int kPearls = 9;
    for (int i = 0; i < kPearls; ++i) {
        const float angle = 6.2831853f * static_cast<float>(i) / kPearls;
        ellipsoid(crown, {1.0f, 1.2f, 1.0f}, 12, "ivory", 1,
                  Affine::translate({6.5f * std::cos(angle), 0.0f, 6.5f * std::sin(angle)}));
    }
    crown.frame = Affine::translate({0.0f, kBoard + kCrownHeight, 0.0f});
    file.addMesh("crown", crown);

    file.addNode({0, ThreeDsBuilder::kNoParent, "queen"});
    ThreeDsBuilder::Node pearls{1, 0, "crown"};
    pearls.position = {0.0f, kBoard + kCrownHeight, 0.0f};
    file.addNode(pearls);
    file.save(path);
}

void writeKing(const std::filesystem::path& path) {
    ThreeDsBuilder file;
    file.setFrames(100);
    file.addMaterial("gold", {1.0f, 0.84f, 0.42f}, {1.0f, 0.95f, 0.75f}, 0.6f);

    std::vector<ProfilePoint> profile = foot(1.05f);
    append(profile, {{6.2f, 9.0f}, {5.4f, 13.0f}, {4.6f, 18.0f}, {4.0f, 24.0f}, {3.7f, 29.0f}});
    append(profile, collar(31.5f, 3.7f, 6.8f));
    append(profile, {{3.9f, 37.0f, true},
                     {4.1f, 39.5f},
                     {5.0f, 42.5f},
                     {6.4f, 45.5f},
                     {7.4f, 47.6f, true},
                     {7.6f, 48.6f},
                     {7.0f, 49.4f, true},
                     {5.8f, 49.8f, true},
                     {5.2f, 50.8f},
                     {3.8f, 51.8f},
                     {2.4f, 52.3f, true},
                     {2.0f, 52.6f, true},
                     {2.3f, 53.2f},
                     {1.6f, 53.8f, true},
                     {0.0f, 53.9f}});
    MeshData body;
    lathe(body, onBoard(profile), kSegments, "gold", 1);
    file.addMesh("king", body);

    // The cross faces the viewer, who looks along +x: its arms span z.
    constexpr float kCrossHeight = 58.0f;
    MeshData cross;
    bevelledBox(cross, {1.3f, 4.6f, 1.3f}, 0.4f, "gold");
    bevelledBox(cross, {1.3f, 1.3f, 3.8f}, 0.4f, "gold", Affine::translate({0.0f, 1.2f, 0.0f}));
    cross.frame = Affine::translate({0.0f, kBoard + kCrossHeight, 0.0f});
    file.addMesh("cross", cross);

    file.addNode({0, ThreeDsBuilder::kNoParent, "king"});
    ThreeDsBuilder::Node top{1, 0, "cross"};
    top.position = {0.0f, kBoard + kCrossHeight, 0.0f};
    file.addNode(top);
    file.save(path);
}

void writePawn(const std::filesystem::path& path) {
    ThreeDsBuilder file;
    file.setFrames(100);
    file.addMaterial("pearl", {0.95f, 0.93f, 0.92f}, {1.0f, 1.0f, 1.0f}, 0.8f);

    std::vector<ProfilePoint> profile = foot(0.82f);
    append(profile, {{5.0f, 8.0f}, {4.2f, 12.0f}, {3.5f, 17.0f}, {3.2f, 20.5f}});
    append(profile, collar(21.0f, 3.2f, 6.0f));
    // The head: a ball of radius 6 on the neck.
    constexpr float kHead = 31.0f;
    for (int step = 4; step <= 12; ++step) {
        const float angle = 3.14159265f * static_cast<float>(step) / 12.0f;
        const float radius = step == 12 ? 0.0f : 6.0f * std::sin(angle);
        profile.push_back({radius, kHead - 6.0f * std::cos(angle), step == 4});
    }
    // The tumbling cube view puts the pawn's origin right beside the viewer
    // and turns the pawn about it: standing 78 units off along -x, the pawn
    // swings around the viewer at a distance and crosses the view often.
    const Vec3 placed{-78.0f, -18.5f, 0.0f};
    MeshData body;
    lathe(body, profile, kSegments, "pearl", 1);
    body.frame = Affine::translate(placed);
    file.addMesh("pawn", body);

    ThreeDsBuilder::Node node{0, ThreeDsBuilder::kNoParent, "pawn"};
    node.position = placed;
    file.addNode(node);
    file.save(path);
}
