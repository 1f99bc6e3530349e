// GL's matrices and its two matrix stacks, as OpenGL 1.1 and GLU define
// them: 4 x 4, column-major, each transform multiplying the current matrix
// on the right. Products are worked out in double and kept as floats, as
// GL keeps them. The page's GL and the tools' share them.
#pragma once

struct Matrix {
    float m[16];
};

Matrix identityMatrix();
// a times b: b's transform applies first.
Matrix product(const Matrix &a, const Matrix &b);

// The matrices glTranslate, glRotate (degrees about the axis through the
// origin, right-handed), glScale, glOrtho, gluPerspective (fovy in degrees)
// and gluLookAt multiply by.
Matrix translation(double x, double y, double z);
Matrix rotation(double angle, double x, double y, double z);
Matrix scaling(double x, double y, double z);
Matrix orthographic(double left, double right, double bottom, double top, double zNear,
                    double zFar);
Matrix perspective(double fovy, double aspect, double zNear, double zFar);
Matrix lookAt(const double eye[3], const double centre[3], const double up[3]);

// A point (x, y, z, w) moved by a matrix.
struct Point {
    double x, y, z, w;
};
Point moved(const Matrix &matrix, const Point &p);

// A matrix stack as deep as GL's own, holding at least its current matrix.
const int matrixStackDepth = 32;
struct MatrixStack {
    Matrix levels[matrixStackDepth] = {identityMatrix()};
    int depth = 1;
};
Matrix &topOf(MatrixStack &stack);
const Matrix &topOf(const MatrixStack &stack);

// The modelview and projection stacks and which of them GL's matrix calls
// change (glMatrixMode). A push past the stack's depth or a pop of its last
// matrix is refused, as GL refuses it, and says so.
struct MatrixStacks {
    MatrixStack modelview;
    MatrixStack projection;
    bool changingProjection = false;
};

MatrixStack &currentStack(MatrixStacks &stacks);
bool pushMatrix(MatrixStacks &stacks);
bool popMatrix(MatrixStacks &stacks);
void loadIdentity(MatrixStacks &stacks);
void multiplyMatrix(MatrixStacks &stacks, const Matrix &by);
