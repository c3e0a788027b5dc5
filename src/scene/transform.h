#pragma once

// A placement: translation, then rotations about x, y and z in degrees. The
// scale is applied by the draw pass, and only when `scaled` is set.
struct Transform {
    bool scaled = false;
    double position[3] = {0, 0, 0};
    double rotation[3] = {0, 0, 0};
    double scale[3] = {1, 1, 1};

    Transform& setPosition(double x, double y, double z);
    Transform& translateBy(double dx, double dy, double dz);
    Transform& setRotation(double rx, double ry, double rz);
    Transform& rotateBy(double drx, double dry, double drz);
    Transform& setScale(double sx, double sy, double sz);
    // Adds to the scale (it does not multiply).
    Transform& scaleBy(double dsx, double dsy, double dsz);
    Transform& resetTransform();
    bool isScaled() const { return scaled; }
    double scaleX() const { return scale[0]; }

    // Issues the translation and the non-zero rotations to the model-view matrix.
    void applyTransform() const;
};
