#include "scene/draw_pass.h"

#include "app/display.h"
#include "app/input.h"
#include "resources/sub_mesh.h"
#include "scene/scene_node.h"

#include <GL/glu.h>

#include <algorithm>

SceneNode* currentNode = nullptr;
std::vector<SubMesh*> deferredSubMeshes;
Picker picker;
Rgb colourUnderMouse{0, 0, 0};

namespace {

void applyMaterial(const Material& material) {
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, material.shininess);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, material.specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, material.diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, material.ambient);
}

// The tint is set as the current colour and the previous colour put back
// afterwards. It is put back with glColor, not glPopAttrib: Mesa restores a
// popped colour without passing it to the colour material, and then takes a
// later glColor of that same colour as no change, so every untinted sub-mesh
// after a tinted one would be lit in the tint's colour.
struct SavedColour {
    GLdouble rgba[4] = {1, 1, 1, 1};
};

SavedColour saveColour() {
    SavedColour saved;
    glGetDoublev(GL_CURRENT_COLOR, saved.rgba);
    return saved;
}

void restoreColour(const SavedColour& saved) {
    glColor4dv(saved.rgba);
}

void drawTriangles(const SubMesh& subMesh) {
    glTexCoordPointer(2, GL_FLOAT, 0, subMesh.texCoords);
    glVertexPointer(3, GL_FLOAT, 0, subMesh.positions);
    glNormalPointer(GL_FLOAT, 0, subMesh.normals);
    glDrawArrays(GL_TRIANGLES, 0, 3 * subMesh.triangleCount);
}

void recordDrawState(SubMesh& subMesh) {
    subMesh.depthTestOn = glIsEnabled(GL_DEPTH_TEST);
    subMesh.lightingOn = glIsEnabled(GL_LIGHTING);
    for (int light = 0; light < 8; ++light) {
        subMesh.lightOn[light] = subMesh.lightingOn && glIsEnabled(GL_LIGHT0 + light);
    }
}

void enableRecordedState(const SubMesh& subMesh) {
    if (!subMesh.depthTestOn)
        glDisable(GL_DEPTH_TEST);
    if (subMesh.lightingOn) {
        glEnable(GL_LIGHTING);
        for (int light = 0; light < 8; ++light) {
            if (subMesh.lightOn[light])
                glEnable(GL_LIGHT0 + light);
        }
    }
    if (subMesh.material.alphaTest)
        glEnable(GL_ALPHA_TEST);
}

void undoRecordedState(const SubMesh& subMesh) {
    if (!subMesh.depthTestOn)
        glEnable(GL_DEPTH_TEST);
    if (subMesh.lightingOn) {
        glDisable(GL_LIGHTING);
        for (int light = 0; light < 8; ++light) {
            if (subMesh.lightOn[light])
                glDisable(GL_LIGHT0 + light);
        }
    }
    if (subMesh.material.alphaTest)
        glDisable(GL_ALPHA_TEST);
}

void drawDeferred(const SubMesh& subMesh) {
    enableRecordedState(subMesh);
    glLoadMatrixd(subMesh.modelView);
    glEnable(GL_BLEND);
    applyMaterial(subMesh.material);
    glBindTexture(GL_TEXTURE_2D, subMesh.textureId);
    SavedColour saved;
    if (subMesh.tinted) {
        saved = saveColour();
        glColor4d(subMesh.colour[0], subMesh.colour[1], subMesh.colour[2], subMesh.colour[3]);
    } else {
        glColor4d(1, 1, 1, 1);
    }
    drawTriangles(subMesh);
    if (subMesh.tinted)
        restoreColour(saved);
    undoRecordedState(subMesh);
    glDisable(GL_BLEND);
}

}  // namespace

void recordModelView(SubMesh& subMesh) {
    glGetDoublev(GL_MODELVIEW_MATRIX, subMesh.modelView);
}

void drawSubMesh(SubMesh& subMesh) {
    recordModelView(subMesh);
    if (subMesh.material.transparent) {
        recordDrawState(subMesh);
        deferredSubMeshes.push_back(&subMesh);
        return;
    }
    if (subMesh.material.alphaTest)
        glEnable(GL_ALPHA_TEST);
    applyMaterial(subMesh.material);
    glBindTexture(GL_TEXTURE_2D, subMesh.textureId);
    glEnable(GL_COLOR_MATERIAL);
    SavedColour saved;
    if (subMesh.tinted) {
        saved = saveColour();
        glColor3d(subMesh.colour[0], subMesh.colour[1], subMesh.colour[2]);
    } else {
        glColor3d(1, 1, 1);
    }
    drawTriangles(subMesh);
    if (subMesh.tinted)
        restoreColour(saved);
    if (subMesh.material.alphaTest)
        glDisable(GL_ALPHA_TEST);
}

void drawDeferredSubMeshes() {
    glDepthMask(GL_FALSE);
    for (const SubMesh* subMesh : deferredSubMeshes)
        drawDeferred(*subMesh);
    glDepthMask(GL_TRUE);
    deferredSubMeshes.clear();
}

void forgetSubMesh(const SubMesh* subMesh) {
    auto& list = deferredSubMeshes;
    list.erase(std::remove(list.begin(), list.end(), subMesh), list.end());
}

void readColourUnderMouse() {
    glFlush();
    GLfloat pixel[3] = {float(colourUnderMouse.red), float(colourUnderMouse.green),
                        float(colourUnderMouse.blue)};
    glReadPixels(mouseX, display->height - mouseY, 1, 1, GL_RGB, GL_FLOAT, pixel);
    colourUnderMouse = {pixel[0], pixel[1], pixel[2]};
}

void Picker::registerCurrentNode() {
    pickables.push_back(currentNode);
}

bool Picker::isHovered() const {
    return hoveredNode == currentNode;
}

void Picker::pick() {
    glSelectBuffer(kSelectionWords, selectionBuffer);
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);

    GLint viewport[4];
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glLoadIdentity();
    gluPickMatrix(mouseX, viewport[3] - mouseY, 2, 2, viewport);
    glMultMatrixd(projection);
    glMatrixMode(GL_MODELVIEW);

    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    for (size_t i = 0; i < pickables.size(); ++i) {
        glLoadName(GLuint(i));
        for (const SubMesh* subMesh : pickables[i]->subMeshes) {
            glLoadMatrixd(subMesh->modelView);
            glVertexPointer(3, GL_FLOAT, 0, subMesh->positions);
            glDrawArrays(GL_TRIANGLES, 0, 3 * subMesh->triangleCount);
        }
    }
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glFlush();
    GLint hits = glRenderMode(GL_RENDER);

    hoveredNode = nullptr;
    if (hits > 0) {
        // Four words a record: name count, minimum depth, maximum depth, name.
        GLint best = 0;
        for (GLint k = 1; k < hits; ++k) {
            if (selectionBuffer[4 * k + 1] < selectionBuffer[4 * best + 1])
                best = k;
        }
        GLuint name = selectionBuffer[4 * best + 3];
        if (name < pickables.size())
            hoveredNode = pickables[name];
    }
    pickables.clear();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void pickableCallback(int phase, int) {
    if (phase == 1)
        picker.registerCurrentNode();
}

void billboardCallback(int phase, int) {
    if (phase == 1) {
        glPushMatrix();
        GLdouble matrix[16];
        glGetDoublev(GL_MODELVIEW_MATRIX, matrix);
        for (int column = 0; column < 3; ++column) {
            for (int row = 0; row < 3; ++row)
                matrix[column * 4 + row] = column == row ? 1 : 0;
        }
        glLoadMatrixd(matrix);
    } else if (phase == 2) {
        glPopMatrix();
    }
}
