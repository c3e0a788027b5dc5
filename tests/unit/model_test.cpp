#include "resources/resource_manager.h"
#include "resources/sub_mesh.h"
#include "scene/scene_node.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Texture names that are not entries of the archive: no GL texture is made,
// so these tests need no window.
std::vector<MeshSpec> twoMeshes() {
    MeshSpec first = rectangleMesh(0, 0, 1, 1, 0, "no_such_picture");
    first.material.transparent = true;
    first.material.specular[0] = 0.5f;
    first.material.shininess = 12;
    MeshSpec second = rectangleMesh(2, 2, 3, 3, 0, "other");
    second.material.alphaTest = true;
    return {first, second};
}

float floatAt(const float* array, size_t index) {
    float value;
    std::memcpy(&value, reinterpret_cast<const uint8_t*>(array) + 4 * index, 4);
    return value;
}

void freeAll(std::vector<SubMesh*>& meshes) {
    for (SubMesh* mesh : meshes) {
        mesh->releaseTexture();
        delete mesh;
    }
    meshes.clear();
}

// Parses entry `key` of m.pak and returns how many sub-meshes it gave,
// checking that each holds one archive reference.
int32_t parseEntry(const char* key) {
    EntryData entry = resourceManager.acquireEntry("m.pak", key);
    std::vector<SubMesh*> meshes;
    int32_t count = parseModel(entry, "m.pak", meshes);
    EXPECT_EQ(resourceManager.useCount("m.pak"), 1 + count) << key;
    freeAll(meshes);
    resourceManager.releaseArchive("m.pak");
    return count;
}

class ModelEntries : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(resourceManager.archives.empty()); }
    InTempFolder folder_;
};

TEST_F(ModelEntries, ParsesEveryFieldInPlace) {
    std::vector<MeshSpec> specs = twoMeshes();
    writeFile("m.pak", writePak({{"model", writeModel(specs)}}));
    EntryData entry = resourceManager.acquireEntry("m.pak", "model");
    std::vector<SubMesh*> meshes;
    ASSERT_EQ(parseModel(entry, "m.pak", meshes), 2);
    EXPECT_EQ(resourceManager.useCount("m.pak"), 3);

    for (size_t m = 0; m < 2; ++m) {
        const SubMesh& mesh = *meshes[m];
        const MeshSpec& spec = specs[m];
        EXPECT_STREQ(mesh.textureName, spec.textureName.c_str());
        EXPECT_EQ(mesh.textureKey, "m.pak");
        EXPECT_EQ(mesh.textureId, 0u);
        EXPECT_FALSE(mesh.tinted);
        ASSERT_EQ(mesh.triangleCount, 2);
        const auto* first = reinterpret_cast<const uint8_t*>(mesh.positions);
        EXPECT_TRUE(first > entry.data && first < entry.data + entry.size) << "used in place";
        for (size_t i = 0; i < 18; ++i) {
            EXPECT_EQ(floatAt(mesh.positions, i), spec.positions[i]);
            EXPECT_EQ(floatAt(mesh.normals, i), spec.normals[i]);
        }
        for (size_t i = 0; i < 12; ++i)
            EXPECT_EQ(floatAt(mesh.texCoords, i), spec.texCoords[i]);
    }
    EXPECT_TRUE(meshes[0]->material.transparent);
    EXPECT_FALSE(meshes[0]->material.alphaTest);
    EXPECT_EQ(meshes[0]->material.specular[0], 0.5f);
    EXPECT_EQ(meshes[0]->material.shininess, 12);
    EXPECT_TRUE(meshes[1]->material.alphaTest);

    freeAll(meshes);
    EXPECT_EQ(resourceManager.useCount("m.pak"), 1);
    resourceManager.releaseArchive("m.pak");
}

TEST_F(ModelEntries, ShortEntriesYieldOnlyWholeSubMeshes) {
    Bytes whole = writeModel(twoMeshes());
    Bytes oneMesh = writeModel({twoMeshes()[0]});
    size_t firstEnd = oneMesh.size();  // the first record ends at the same offset
    std::vector<PakWriterEntry> entries;
    for (size_t length = 0; length <= whole.size(); ++length) {
        entries.push_back({"cut" + std::to_string(length),
                           Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(length))});
    }
    writeFile("m.pak", writePak(entries));
    for (size_t length = 0; length <= whole.size(); ++length) {
        int32_t expected = length < firstEnd ? 0 : length < whole.size() ? 1 : 2;
        EXPECT_EQ(parseEntry(("cut" + std::to_string(length)).c_str()), expected) << length;
    }
}

TEST_F(ModelEntries, DamagedCountsAndNamesStopTheParse) {
    // One sub-mesh named "t": count at 0, name block length at 4, name at 8,
    // material at 12, triangle count at 72.
    Bytes good = writeModel({rectangleMesh(0, 0, 1, 1, 0, "t")});
    auto patched = [&](size_t offset, Bytes bytes) {
        Bytes copy = good;
        std::copy(bytes.begin(), bytes.end(), copy.begin() + std::ptrdiff_t(offset));
        return copy;
    };
    writeFile("m.pak", writePak({
                           {"good", good},
                           {"empty", writeModel({})},
                           {"negativeCount", patched(0, {0xff, 0xff, 0xff, 0xff})},
                           {"countTooLarge", patched(0, {0xe8, 0x03, 0, 0})},
                           {"negativeTriangles", patched(72, {0xff, 0xff, 0xff, 0xff})},
                           {"hugeTriangles", patched(72, {0xff, 0xff, 0xff, 0x7f})},
                           {"unterminatedName", patched(8, {'t', 't', 't', 't'})},
                           {"emptyNameBlock", patched(4, {0, 0, 0, 0})},
                           {"nameBlockPastEnd", patched(4, {0xff, 0xff, 0, 0})},
                       }));
    EXPECT_EQ(parseEntry("good"), 1);
    EXPECT_EQ(parseEntry("empty"), 0);
    EXPECT_EQ(parseEntry("negativeCount"), 0);
    EXPECT_EQ(parseEntry("countTooLarge"), 1);
    EXPECT_EQ(parseEntry("negativeTriangles"), 0);
    EXPECT_EQ(parseEntry("hugeTriangles"), 0);
    EXPECT_EQ(parseEntry("unterminatedName"), 0);
    EXPECT_EQ(parseEntry("emptyNameBlock"), 0);
    EXPECT_EQ(parseEntry("nameBlockPastEnd"), 0);
}

TEST_F(ModelEntries, NodeHoldsOneReferencePerModelAndGivesAllBack) {
    writeFile("m.pak", writePak({{"model", writeModel(twoMeshes())}}));
    {
        SceneNode node;
        node.setColour(0.5, 0.5, 0.5);
        node.addModel("m.pak", "model");
        node.addModel("m.pak", "model");
        node.addModel("m.pak", "no_such_model");
        EXPECT_TRUE(node.hasModel);
        EXPECT_EQ(node.subMeshCount, 4);
        EXPECT_EQ(node.subMeshes.size(), 4u);
        EXPECT_EQ(node.modelPaks.size(), 3u);
        EXPECT_EQ(resourceManager.useCount("m.pak"), 3 + 4);
        EXPECT_FALSE(node.subMeshes[0]->tinted) << "new sub-meshes draw untinted";

        node.releaseModels();
        EXPECT_FALSE(node.hasModel);
        EXPECT_EQ(node.subMeshCount, 0);
        EXPECT_EQ(resourceManager.useCount("m.pak"), 0);

        node.addModel("m.pak", "model");
    }
    // The destructor gives back what the node still held.
    EXPECT_EQ(resourceManager.useCount("m.pak"), 0);
}

}  // namespace
