#include "resources/sub_mesh.h"

#include "resources/byte_reader.h"
#include "resources/resource_manager.h"

#include <cstring>

namespace {

constexpr size_t kFloatsPerTriangle = 9 + 9 + 6;

void readColour(const uint8_t* stored, float out[4]) {
    for (int i = 0; i < 4; ++i)
        out[i] = readFloat(stored + 4 * i);
}

}  // namespace

Material Material::read(const uint8_t* stored) {
    Material material;
    material.alphaTest = stored[0] != 0;
    material.transparent = stored[1] != 0;
    readColour(stored + 4, material.ambient);
    readColour(stored + 20, material.diffuse);
    readColour(stored + 36, material.specular);
    material.shininess = readFloat(stored + 52);
    return material;
}

const uint8_t* SubMesh::parse(const uint8_t* cursor, const uint8_t* end,
                              std::string_view archiveName) {
    size_t remaining = size_t(end - cursor);
    if (remaining < 4)
        return nullptr;
    int32_t nameBlock = readInt32(cursor);
    if (nameBlock < 1 || size_t(nameBlock) > remaining - 4)
        return nullptr;
    const uint8_t* name = cursor + 4;
    if (std::memchr(name, 0, size_t(nameBlock)) == nullptr)
        return nullptr;
    const uint8_t* materialBytes = name + nameBlock;
    remaining = size_t(end - materialBytes);
    if (remaining < size_t(Material::kStoredSize) + 4)
        return nullptr;
    int32_t triangles = readInt32(materialBytes + Material::kStoredSize);
    const uint8_t* arrays = materialBytes + Material::kStoredSize + 4;
    remaining -= size_t(Material::kStoredSize) + 4;
    if (triangles < 0 || size_t(triangles) > remaining / (kFloatsPerTriangle * 4))
        return nullptr;

    textureName = reinterpret_cast<const char*>(name);
    textureId = resourceManager.acquireTexture(archiveName, textureName);
    textureKey = archiveName;
    generated = false;
    material = Material::read(materialBytes);
    triangleCount = triangles;
    positions = reinterpret_cast<const float*>(arrays);
    normals = positions + 9 * size_t(triangles);
    texCoords = normals + 9 * size_t(triangles);
    return reinterpret_cast<const uint8_t*>(texCoords + 6 * size_t(triangles));
}

void SubMesh::releaseTexture() {
    resourceManager.releaseTexture(textureKey, textureId);
}

void SubMesh::setTint(double red, double green, double blue, double alpha) {
    colour[0] = red;
    colour[1] = green;
    colour[2] = blue;
    colour[3] = alpha;
    tinted = true;
}

int32_t parseModel(EntryData entry, std::string_view archiveName, std::vector<SubMesh*>& out) {
    if (entry.data == nullptr || entry.size < 4)
        return 0;
    int32_t count = readInt32(entry.data);
    const uint8_t* cursor = entry.data + 4;
    const uint8_t* end = entry.data + entry.size;
    int32_t added = 0;
    for (int32_t i = 0; i < count; ++i) {
        auto* subMesh = new SubMesh;
        const uint8_t* next = subMesh->parse(cursor, end, archiveName);
        if (next == nullptr) {
            delete subMesh;
            break;
        }
        out.push_back(subMesh);
        cursor = next;
        ++added;
    }
    return added;
}
