#pragma once

#include "scene/action.h"
#include "scene/animator.h"
#include "scene/rgb.h"
#include "scene/transform.h"

#include <cstdint>
#include <string>
#include <vector>

struct SubMesh;

// Called around a node's drawing: phase 1 before its own sub-meshes, 2 after
// them, 3 before each child, 4 after each child.
using DrawFunction = void (*)(int phase, int argument);

struct DrawCallback {
    DrawFunction function = nullptr;
    int argument = 0;
};

// A node of the scene tree. It owns its children, its sub-meshes and one
// archive reference per model; children are deleted only by the draw pass,
// once they are released.
struct SceneNode {
    Transform transform;
    Animator animator;
    NodeStateMachine states;
    bool releaseRequested = false;  // the node and its subtree are to be torn down
    bool released = false;          // torn down; the parent deletes it on its next draw
    Rgb colour{1, 1, 1};            // last pushed into the sub-meshes
    double alpha = 1.0;             // last pushed into the sub-meshes
    bool drawMeshes = true;         // false: sub-meshes are only recorded, for picking
    bool scaleChildren = false;     // the scale also applies to the offset and children
    std::vector<DrawCallback> drawCallbacks;
    std::vector<SubMesh*> subMeshes;     // owned
    std::vector<std::string> modelPaks;  // one archive reference each
    int32_t subMeshCount = 0;
    bool hasModel = false;
    std::vector<SceneNode*> children;  // owned

    SceneNode();
    ~SceneNode();  // gives back the models; never touches the children
    SceneNode(const SceneNode&) = delete;
    SceneNode& operator=(const SceneNode&) = delete;

    // Appends the sub-meshes of a model entry. A key the archive lacks adds
    // none but still holds the archive reference, given back with the others.
    void addModel(const char* archiveName, const char* entryKey);
    void releaseModels();
    void addChild(SceneNode* node) { children.push_back(node); }
    void addDrawCallback(DrawFunction function, int argument) {
        drawCallbacks.push_back({function, argument});
    }
    void requestRelease() { releaseRequested = true; }
    void setColour(double red, double green, double blue);
    void setAlpha(double newAlpha);

    // Draws the node and its subtree, runs their actions and tears down
    // released descendants one level a frame.
    void draw();

private:
    void giveBackModels();
    void callDrawCallbacks(int phase);
    void drawOwnSubMeshes();
    void deleteReleasedChildren();
};
