#include "gl/common/matrix.h"

#include <cmath>

static const double pi = 3.14159265358979323846;

Matrix identityMatrix()
{
    return Matrix{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}

// From sixteen doubles in GL's column-major order.
static Matrix fromDoubles(const double (&d)[16])
{
    Matrix out;
    for (int i = 0; i < 16; ++i)
        out.m[i] = static_cast<float>(d[i]);
    return out;
}

Matrix product(const Matrix &a, const Matrix &b)
{
    double out[16];
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += double(a.m[k * 4 + row]) * double(b.m[column * 4 + k]);
            out[column * 4 + row] = sum;
        }
    return fromDoubles(out);
}

Matrix translation(double x, double y, double z)
{
    return fromDoubles({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1});
}

Matrix rotation(double angle, double x, double y, double z)
{
    const double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0)
        return identityMatrix();
    x /= length;
    y /= length;
    z /= length;
    const double radians = angle * pi / 180;
    const double c = std::cos(radians), s = std::sin(radians), k = 1 - c;
    return fromDoubles({x * x * k + c, y * x * k + z * s, x * z * k - y * s, 0,
                        x * y * k - z * s, y * y * k + c, y * z * k + x * s, 0,
                        x * z * k + y * s, y * z * k - x * s, z * z * k + c, 0, 0, 0, 0,
                        1});
}

Matrix scaling(double x, double y, double z)
{
    return fromDoubles({x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1});
}

Matrix orthographic(double left, double right, double bottom, double top, double zNear,
                    double zFar)
{
    const double w = right - left, h = top - bottom, d = zFar - zNear;
    return fromDoubles({2 / w, 0, 0, 0, 0, 2 / h, 0, 0, 0, 0, -2 / d, 0,
                        -(right + left) / w, -(top + bottom) / h, -(zFar + zNear) / d,
                        1});
}

Matrix perspective(double fovy, double aspect, double zNear, double zFar)
{
    const double half = fovy / 2 * pi / 180;
    const double cotangent = std::cos(half) / std::sin(half);
    const double depth = zFar - zNear;
    return fromDoubles({cotangent / aspect, 0, 0, 0, 0, cotangent, 0, 0, 0, 0,
                        -(zFar + zNear) / depth, -1, 0, 0, -2 * zNear * zFar / depth, 0});
}

static void normalise(double (&v)[3])
{
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0)
        return;
    for (double &c : v)
        c /= length;
}

static void cross(const double a[3], const double b[3], double (&out)[3])
{
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

// The view direction turned onto -Z and up onto +Y, then the eye moved to
// the origin.
Matrix lookAt(const double eye[3], const double centre[3], const double up[3])
{
    double forward[3] = {centre[0] - eye[0], centre[1] - eye[1], centre[2] - eye[2]};
    normalise(forward);
    double side[3], newUp[3];
    cross(forward, up, side);
    normalise(side);
    cross(side, forward, newUp);
    const Matrix turn =
        fromDoubles({side[0], newUp[0], -forward[0], 0, side[1], newUp[1], -forward[1], 0,
                     side[2], newUp[2], -forward[2], 0, 0, 0, 0, 1});
    return product(turn, translation(-eye[0], -eye[1], -eye[2]));
}

Point moved(const Matrix &matrix, const Point &p)
{
    const float *m = matrix.m;
    const double in[4] = {p.x, p.y, p.z, p.w};
    double out[4];
    for (int row = 0; row < 4; ++row)
        out[row] = m[row] * in[0] + m[4 + row] * in[1] + m[8 + row] * in[2] +
                   m[12 + row] * in[3];
    return Point{out[0], out[1], out[2], out[3]};
}

Matrix &topOf(MatrixStack &stack)
{
    return stack.levels[stack.depth - 1];
}

const Matrix &topOf(const MatrixStack &stack)
{
    return stack.levels[stack.depth - 1];
}

MatrixStack &currentStack(MatrixStacks &stacks)
{
    return stacks.changingProjection ? stacks.projection : stacks.modelview;
}

bool pushMatrix(MatrixStacks &stacks)
{
    MatrixStack &stack = currentStack(stacks);
    if (stack.depth >= matrixStackDepth)
        return false;
    stack.levels[stack.depth] = topOf(stack);
    ++stack.depth;
    return true;
}

bool popMatrix(MatrixStacks &stacks)
{
    MatrixStack &stack = currentStack(stacks);
    if (stack.depth <= 1)
        return false;
    --stack.depth;
    return true;
}

void loadIdentity(MatrixStacks &stacks)
{
    topOf(currentStack(stacks)) = identityMatrix();
}

void multiplyMatrix(MatrixStacks &stacks, const Matrix &by)
{
    Matrix &top = topOf(currentStack(stacks));
    top = product(top, by);
}
