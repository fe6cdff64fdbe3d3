// Geometry for the pack's models: a mesh under construction and the few
// shapes they are modelled from (lathed profiles, bevelled boxes, extruded
// outlines). Faces are wound counter-clockwise seen from outside, and every
// face carries its material and smoothing groups as 3DS keeps them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

Vec3 operator+(Vec3 a, Vec3 b);
Vec3 operator-(Vec3 a, Vec3 b);
Vec3 operator*(Vec3 a, float s);

// A rotation and translation (and scale), applied as m * p.
struct Affine {
    float m[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};

    static Affine translate(Vec3 t);
    static Affine scale(Vec3 s);
    // Degrees about an axis, counter-clockwise looking down the axis (as glRotatef).
    static Affine rotate(float degrees, Vec3 axis);

    Vec3 apply(Vec3 p) const;
    Affine then(const Affine& next) const;  // next * this
};

struct MeshData {
    struct Face {
        std::uint16_t points[3];
        std::string material;
        std::uint32_t smoothing;
    };
    std::vector<Vec3> points;
    std::vector<Face> faces;
    // The mesh's own frame, as a modeller's file keeps it: the points are
    // stored transformed by it and readers take them back out.
    Affine frame;

    std::uint16_t point(Vec3 p);
    void triangle(std::uint16_t a, std::uint16_t b, std::uint16_t c, const std::string& material,
                  std::uint32_t smoothing);
    // Corners counter-clockwise seen from the front.
    void quad(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d, const std::string& material,
              std::uint32_t smoothing);
};

// One point of a lathe profile: radius from the axis and height along it.
// A sharp point creases the surface there (the next span starts a new
// smoothing group); a radius of 0 closes the surface in a single pole.
struct ProfilePoint {
    float radius;
    float height;
    bool sharp = false;
};

// Sweeps the profile around the y axis in `segments` steps, placed by
// `place`. The surface faces to the right of the profile's direction of
// travel: away from the axis while it climbs, upwards while it moves in
// towards the axis. Smoothing groups are taken from `group` on, doubling at
// each sharp point; returns the next free group.
std::uint32_t lathe(MeshData& mesh, const std::vector<ProfilePoint>& profile, int segments, const std::string& material,
                    std::uint32_t group, const Affine& place = Affine());

// A box of half-sizes `half` around the origin whose edges are cut by
// `bevel`, placed by `place`. Each face is flat; the bevels are smoothed.
void bevelledBox(MeshData& mesh, Vec3 half, float bevel, const std::string& material, const Affine& place = Affine());

// A convex outline in the xy plane (counter-clockwise) extruded from z = -depth/2
// to +depth/2, placed by `place`; flat faces.
void extrude(MeshData& mesh, const std::vector<Vec3>& outline, float depth, const std::string& material,
             const Affine& place = Affine());

// An ellipsoid of radii `radii` around the origin, placed by `place`; smooth.
void ellipsoid(MeshData& mesh, Vec3 radii, int segments, const std::string& material, std::uint32_t group,
               const Affine& place = Affine());
