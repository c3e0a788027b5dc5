#include "scene/scene_node.h"

#include "resources/resource_manager.h"
#include "resources/sub_mesh.h"
#include "scene/draw_pass.h"

#include <GL/gl.h>

SceneNode::SceneNode() {
    states.animator = &animator;
}

SceneNode::~SceneNode() {
    giveBackModels();
}

void SceneNode::addModel(const char* archiveName, const char* entryKey) {
    modelPaks.emplace_back(archiveName);
    EntryData entry = resourceManager.acquireEntry(archiveName, entryKey);
    subMeshCount += parseModel(entry, archiveName, subMeshes);
    hasModel = true;
}

// Archives first, then textures: the order in which references are dropped.
void SceneNode::giveBackModels() {
    for (const std::string& name : modelPaks)
        resourceManager.releaseArchive(name);
    modelPaks.clear();
    for (SubMesh* subMesh : subMeshes) {
        if (subMesh == nullptr)
            continue;
        forgetSubMesh(subMesh);
        subMesh->releaseTexture();
        delete subMesh;
    }
    subMeshes.clear();
}

void SceneNode::releaseModels() {
    giveBackModels();
    subMeshCount = 0;
    hasModel = false;
}

void SceneNode::setColour(double red, double green, double blue) {
    for (SubMesh* subMesh : subMeshes)
        subMesh->setTint(red, green, blue, alpha);
    colour = {red, green, blue};
}

void SceneNode::setAlpha(double newAlpha) {
    for (SubMesh* subMesh : subMeshes) {
        subMesh->setTint(colour.red, colour.green, colour.blue, newAlpha);
    }
    alpha = newAlpha;
}

void SceneNode::callDrawCallbacks(int phase) {
    for (const DrawCallback& callback : drawCallbacks)
        callback.function(phase, callback.argument);
}

void SceneNode::drawOwnSubMeshes() {
    for (SubMesh* subMesh : subMeshes) {
        if (drawMeshes) {
            drawSubMesh(*subMesh);
        } else {
            recordModelView(*subMesh);
        }
    }
}

void SceneNode::deleteReleasedChildren() {
    size_t kept = 0;
    for (SceneNode* child : children) {
        if (child->released) {
            delete child;
        } else {
            children[kept++] = child;
        }
    }
    children.resize(kept);
}

void SceneNode::draw() {
    currentNode = this;
    glPushMatrix();
    transform.applyTransform();
    const double* scale = transform.scale;
    if (scaleChildren && transform.scaled)
        glScaled(scale[0], scale[1], scale[2]);

    if (!releaseRequested) {
        animator.update();
        if (hasModel) {
            callDrawCallbacks(1);
            if (!scaleChildren && transform.scaled) {
                glPushMatrix();
                glScaled(scale[0], scale[1], scale[2]);
                drawOwnSubMeshes();
                glPopMatrix();
            } else {
                drawOwnSubMeshes();
            }
            callDrawCallbacks(2);
        }
    }

    deleteReleasedChildren();
    if (releaseRequested && children.empty()) {
        released = true;
    } else {
        // Indexed, re-reading the size: callbacks may append children mid-walk.
        for (size_t i = 0; i < children.size(); ++i) {
            SceneNode* child = children[i];
            if (releaseRequested)
                child->releaseRequested = true;
            callDrawCallbacks(3);
            child->draw();
            callDrawCallbacks(4);
        }
    }
    glPopMatrix();
}
