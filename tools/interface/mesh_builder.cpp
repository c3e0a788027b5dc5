#include "mesh_builder.h"

#include <cmath>

Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 operator*(Vec3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 normalised(Vec3 v) {
    float length = std::sqrt(dot(v, v));
    return length > 0 ? v * (1 / length) : Vec3{0, 0, 1};
}

Vec3 exactPictureNormal() {
    float side = std::sqrt(1 - kExactLightCosine * kExactLightCosine);
    return {0, -kExactLightCosine, side};
}

Vec3 exactFacingNormal() {
    float side = std::sqrt(1 - kExactLightCosine * kExactLightCosine);
    return {0, side, kExactLightCosine};
}

MaterialSpec pictureMaterial(bool transparent) {
    MaterialSpec material;
    material.transparent = transparent;
    return material;  // white ambient and diffuse, no specular
}

namespace {

void addVertexTriangle(MeshSpec& mesh, const Vec3 p[3], const float uv[3][2], const Vec3 n[3]) {
    for (int i = 0; i < 3; ++i) {
        mesh.positions.insert(mesh.positions.end(), {p[i].x, p[i].y, p[i].z});
        mesh.normals.insert(mesh.normals.end(), {n[i].x, n[i].y, n[i].z});
        mesh.texCoords.insert(mesh.texCoords.end(), {uv[i][0], uv[i][1]});
    }
}

}  // namespace

MeshSpec pictureQuad(const std::string& texture, float x0, float z0, float x1, float z1, float y,
                     bool transparent) {
    MeshSpec mesh;
    mesh.textureName = texture;
    mesh.material = pictureMaterial(transparent);
    Vec3 n = exactPictureNormal();
    Vec3 normals[3] = {n, n, n};
    Vec3 a{x0, y, z0}, b{x1, y, z0}, c{x1, y, z1}, d{x0, y, z1};
    const float uvA[2] = {0, 1}, uvB[2] = {1, 1}, uvC[2] = {1, 0}, uvD[2] = {0, 0};
    Vec3 first[3] = {a, b, c};
    float firstUv[3][2] = {{uvA[0], uvA[1]}, {uvB[0], uvB[1]}, {uvC[0], uvC[1]}};
    Vec3 second[3] = {a, c, d};
    float secondUv[3][2] = {{uvA[0], uvA[1]}, {uvC[0], uvC[1]}, {uvD[0], uvD[1]}};
    addVertexTriangle(mesh, first, firstUv, normals);
    addVertexTriangle(mesh, second, secondUv, normals);
    return mesh;
}

MeshSpec pictureDisc(const std::string& texture, float cx, float cz, float radius, float y,
                     int sides, bool transparent) {
    MeshSpec mesh;
    mesh.textureName = texture;
    mesh.material = pictureMaterial(transparent);
    Vec3 n = exactPictureNormal();
    Vec3 normals[3] = {n, n, n};
    // Corners on a slightly larger circle, so that the polygon holds the circle.
    float outer = radius / std::cos(float(M_PI) / float(sides));
    auto corner = [&](int i, Vec3& p, float uv[2]) {
        float angle = 2 * float(M_PI) * float(i) / float(sides);
        float dx = outer * std::cos(angle), dz = outer * std::sin(angle);
        p = {cx + dx, y, cz + dz};
        uv[0] = 0.5f + dx / (2 * radius);
        uv[1] = 0.5f - dz / (2 * radius);
    };
    for (int i = 0; i < sides; ++i) {
        Vec3 p[3];
        float uv[3][2];
        p[0] = {cx, y, cz};
        uv[0][0] = 0.5f;
        uv[0][1] = 0.5f;
        corner(i, p[1], uv[1]);
        corner(i + 1, p[2], uv[2]);
        addVertexTriangle(mesh, p, uv, normals);
    }
    return mesh;
}

void addLathe(MeshSpec& mesh, const std::vector<LatheRing>& rings, int segments) {
    auto point = [&](const LatheRing& ring, int segment) {
        float angle = 2 * float(M_PI) * float(segment) / float(segments);
        return Vec3{ring.radius * ring.widthX * std::cos(angle),
                    ring.radius * ring.widthY * std::sin(angle), ring.z};
    };
    // Smooth normals: the cross product of the two tangents at each point.
    auto normalAt = [&](size_t r, int segment) {
        size_t below = r == 0 ? r : r - 1;
        size_t above = r + 1 < rings.size() ? r + 1 : r;
        Vec3 along = point(rings[above], segment) - point(rings[below], segment);
        if (dot(along, along) < 1e-12f)
            along = {0, 0, 1};
        Vec3 around = point(rings[r], segment + 1) - point(rings[r], segment - 1);
        if (dot(around, around) < 1e-12f) {
            // A ring of radius 0 closes the body: its normal points along the axis.
            return Vec3{0, 0, r == 0 ? -1.0f : 1.0f};
        }
        return normalised(cross(around, along));
    };
    for (size_t r = 0; r + 1 < rings.size(); ++r) {
        for (int s = 0; s < segments; ++s) {
            Vec3 p00 = point(rings[r], s), p01 = point(rings[r], s + 1);
            Vec3 p10 = point(rings[r + 1], s), p11 = point(rings[r + 1], s + 1);
            Vec3 n00 = normalAt(r, s), n01 = normalAt(r, s + 1);
            Vec3 n10 = normalAt(r + 1, s), n11 = normalAt(r + 1, s + 1);
            float u0 = float(s) / float(segments), u1 = float(s + 1) / float(segments);
            float v0 = rings[r].v, v1 = rings[r + 1].v;
            Vec3 a[3] = {p00, p01, p11};
            float uvA[3][2] = {{u0, v0}, {u1, v0}, {u1, v1}};
            Vec3 na[3] = {n00, n01, n11};
            Vec3 b[3] = {p00, p11, p10};
            float uvB[3][2] = {{u0, v0}, {u1, v1}, {u0, v1}};
            Vec3 nb[3] = {n00, n11, n10};
            addVertexTriangle(mesh, a, uvA, na);
            addVertexTriangle(mesh, b, uvB, nb);
        }
    }
}

void rotateAboutZ(MeshSpec& mesh, float degrees) {
    float c = std::cos(degrees * float(M_PI) / 180), s = std::sin(degrees * float(M_PI) / 180);
    auto turn = [&](std::vector<float>& values) {
        for (size_t i = 0; i + 2 < values.size(); i += 3) {
            float x = values[i], y = values[i + 1];
            values[i] = c * x - s * y;
            values[i + 1] = s * x + c * y;
        }
    };
    turn(mesh.positions);
    turn(mesh.normals);
}
