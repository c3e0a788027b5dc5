#pragma once

#include "scene/rgb.h"

#include <GL/gl.h>

#include <cstdint>
#include <vector>

struct SceneNode;
struct SubMesh;

// Finds the frontmost pickable node under the mouse with GL selection mode,
// at the end of each frame, for the handlers of the next frame.
struct Picker {
    static constexpr int kSelectionWords = 512;
    GLuint selectionBuffer[kSelectionWords] = {};
    std::vector<SceneNode*> pickables;  // registered this frame, in order
    SceneNode* hoveredNode = nullptr;   // compared with, never followed

    void registerCurrentNode();
    bool isHovered() const;
    void pick();
};

// Globals of the draw pass.
extern SceneNode* currentNode;                   // the node whose draw started last
extern std::vector<SubMesh*> deferredSubMeshes;  // transparent sub-meshes met, in order
extern Picker picker;                            // the pick of the last frame
extern Rgb colourUnderMouse;                     // the picture layer's colour at the mouse

// Draws a sub-mesh now, or queues it for the deferred pass when transparent.
void drawSubMesh(SubMesh& subMesh);
// Records the current model-view matrix only, so that the sub-mesh can be picked.
void recordModelView(SubMesh& subMesh);
// Draws and empties the queued transparent sub-meshes, blended, without depth writes.
void drawDeferredSubMeshes();
// Drops a sub-mesh that is about to be deleted from the deferred queue.
void forgetSubMesh(const SubMesh* subMesh);
// Reads the colour under the mouse from the back buffer into colourUnderMouse.
void readColourUnderMouse();

// True while the node whose actions run is the one under the mouse.
inline bool isHovered() {
    return picker.isHovered();
}

// Stock draw callbacks.
void pickableCallback(int phase, int argument);   // phase 1: the node takes part in picking
void billboardCallback(int phase, int argument);  // the node's own sub-meshes face the viewer
