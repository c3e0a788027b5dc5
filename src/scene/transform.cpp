#include "scene/transform.h"

#include <GL/gl.h>

Transform& Transform::setPosition(double x, double y, double z) {
    position[0] = x;
    position[1] = y;
    position[2] = z;
    return *this;
}

Transform& Transform::translateBy(double dx, double dy, double dz) {
    position[0] += dx;
    position[1] += dy;
    position[2] += dz;
    return *this;
}

Transform& Transform::setRotation(double rx, double ry, double rz) {
    rotation[0] = rx;
    rotation[1] = ry;
    rotation[2] = rz;
    return *this;
}

Transform& Transform::rotateBy(double drx, double dry, double drz) {
    rotation[0] += drx;
    rotation[1] += dry;
    rotation[2] += drz;
    return *this;
}

Transform& Transform::setScale(double sx, double sy, double sz) {
    scale[0] = sx;
    scale[1] = sy;
    scale[2] = sz;
    scaled = true;
    return *this;
}

Transform& Transform::scaleBy(double dsx, double dsy, double dsz) {
    scale[0] += dsx;
    scale[1] += dsy;
    scale[2] += dsz;
    scaled = true;
    return *this;
}

Transform& Transform::resetTransform() {
    *this = Transform();
    return *this;
}

void Transform::applyTransform() const {
    // `!(v == 0)` so that a NaN counts as non-zero.
    if (!(position[0] == 0) || !(position[1] == 0) || !(position[2] == 0)) {
        glTranslatef(float(position[0]), float(position[1]), float(position[2]));
    }
    if (!(rotation[0] == 0))
        glRotatef(float(rotation[0]), 1, 0, 0);
    if (!(rotation[1] == 0))
        glRotatef(float(rotation[1]), 0, 1, 0);
    if (!(rotation[2] == 0))
        glRotatef(float(rotation[2]), 0, 0, 1);
}
