#pragma once

// Geometry helpers for the interface models: flat pictures, discs and lathed
// bodies, written as MeshSpec triangle lists.

#include "writers/pak_writer.h"

#include <functional>
#include <vector>

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

Vec3 operator+(Vec3 a, Vec3 b);
Vec3 operator-(Vec3 a, Vec3 b);
Vec3 operator*(Vec3 a, float s);
Vec3 cross(Vec3 a, Vec3 b);
float dot(Vec3 a, Vec3 b);
Vec3 normalised(Vec3 v);

// The game lights every layer with light 0 from the viewer: a face turned to
// the viewer gets 0.42 + 0.6 x cos(angle) of its colour. Tilting a flat
// picture's normal until that factor is exactly 1 makes it show its texels
// (and a node's tint) unchanged; 0.6 x 0.96667 = 0.58.
constexpr float kExactLightCosine = 0.58f / 0.6f;

// The normal of a flat picture in the x-z plane, facing -y (towards the viewer
// under the usual -90 degree turn), tilted upwards for exact colours.
Vec3 exactPictureNormal();
// The same for pictures authored in eye orientation (x right, y up, facing +z).
Vec3 exactFacingNormal();

// Material of a flat picture: no shine, colour as drawn.
MaterialSpec pictureMaterial(bool transparent);

// A textured rectangle in the x-z plane at depth y (x0 left, z1 top); the
// picture's top row lies at z1.
MeshSpec pictureQuad(const std::string& texture, float x0, float z0, float x1, float z1, float y,
                     bool transparent);

// A textured regular polygon of `sides` corners in the x-z plane at depth y:
// its triangles (the clickable area) follow the round picture, and the
// texture's square covers the circle of `radius` around (cx, cz).
MeshSpec pictureDisc(const std::string& texture, float cx, float cz, float radius, float y,
                     int sides, bool transparent);

// A ring of points around the z axis for a lathed body: at height z the cross
// section is an ellipse of radii (radius * widthX, radius * widthY).
struct LatheRing {
    float z = 0;
    float radius = 0;
    float widthX = 1, widthY = 1;
    float v = 0;  // texture coordinate along the body
};

// Turns rings into a closed surface around the z axis, u running once round.
// Normals come from the surface itself, so the body shades smoothly.
void addLathe(MeshSpec& mesh, const std::vector<LatheRing>& rings, int segments);

// Rotates every position and normal of a mesh about the z axis.
void rotateAboutZ(MeshSpec& mesh, float degrees);
