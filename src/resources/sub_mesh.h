#pragma once

#include "resources/pak_archive.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Surface properties of a sub-mesh, as stored in 60 bytes of a model entry.
struct Material {
    static constexpr int32_t kStoredSize = 60;
    bool alphaTest = false;    // discard texels of alpha 0.9 or less while drawing
    bool transparent = false;  // drawn blended in the deferred pass
    float ambient[4] = {};
    float diffuse[4] = {};
    float specular[4] = {};
    float shininess = 0;

    static Material read(const uint8_t* stored);
};

// One textured triangle list of a model. The geometry is not copied: the
// arrays point into the archive entry, which the owning node keeps open.
struct SubMesh {
    double colour[4] = {1, 1, 1, 1};  // tint pushed by the node's colour and alpha
    bool tinted = false;              // false: drawn in white
    Material material;
    // Draw state captured for the deferred pass.
    bool depthTestOn = false;
    bool lightingOn = false;
    bool lightOn[8] = {};
    int32_t triangleCount = 0;
    const float* positions = nullptr;  // 9 floats a triangle
    const float* normals = nullptr;    // 9 floats a triangle
    const float* texCoords = nullptr;  // 6 floats a triangle
    std::string textureKey;            // the archive the texture came from
    const char* textureName = nullptr;
    uint32_t textureId = 0;
    bool generated = false;
    double modelView[16] = {};  // model-view matrix when last drawn

    // Reads one record from [cursor, end) and takes its texture. Returns the
    // position after the record, or nullptr (taking nothing) when the record
    // does not fit whole or is malformed.
    const uint8_t* parse(const uint8_t* cursor, const uint8_t* end, std::string_view archiveName);
    void releaseTexture();
    void setTint(double red, double green, double blue, double alpha);
};

// Parses every whole sub-mesh record of a model entry into `out` (appended);
// a short or negative count yields only the records that fit. Returns how
// many were added.
int32_t parseModel(EntryData entry, std::string_view archiveName, std::vector<SubMesh*>& out);
