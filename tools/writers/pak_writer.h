#pragma once

// Writers for the game's archive and model formats and for PNG pictures. Used
// by the content tool and by tests to make fixtures; the game never links them.

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct PakWriterEntry {
    std::string name;  // at most 127 bytes
    Bytes data;
};

// The archive format: entry count, then (name length, name, size, data).
Bytes writePak(const std::vector<PakWriterEntry>& entries);
bool writePakFile(const std::string& path, const std::vector<PakWriterEntry>& entries);

struct MaterialSpec {
    bool alphaTest = false;
    bool transparent = false;
    float ambient[4] = {1, 1, 1, 1};
    float diffuse[4] = {1, 1, 1, 1};
    float specular[4] = {0, 0, 0, 1};
    float shininess = 0;
};

struct MeshSpec {
    std::string textureName;  // a picture entry of the same archive
    MaterialSpec material;
    std::vector<float> positions;  // 9 a triangle
    std::vector<float> normals;    // 9 a triangle
    std::vector<float> texCoords;  // 6 a triangle

    // Appends one triangle with a shared normal.
    void addTriangle(const float a[3], const float b[3], const float c[3], const float uvA[2],
                     const float uvB[2], const float uvC[2], const float normal[3]);
    int32_t triangleCount() const { return int32_t(positions.size() / 9); }
};

// A model entry. Name blocks are padded to four bytes, so that the float
// arrays stay aligned when the entry starts on an aligned address.
Bytes writeModel(const std::vector<MeshSpec>& meshes);

// An 8-bit RGBA PNG, rows top to bottom.
Bytes encodePng(int width, int height, const uint8_t* rgba);

void appendInt32(Bytes& out, int32_t value);
void appendFloat(Bytes& out, float value);
