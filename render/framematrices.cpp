#include "render/framematrices.h"

#include <cmath>

#include "render/clipscale.h"

namespace orolith::render {

namespace {

// The frustum of reshape(): the near plane 0.2 either side of the axis.
constexpr double FRUSTUM_HALF = 0.2, NEAR = 18.0, FAR = 200.0;

Mat4 identity()
{
    Mat4 m{};
    m[0] = m[5] = m[10] = m[15] = 1;
    return m;
}

Mat4 translation(double x, double y, double z)
{
    Mat4 m = identity();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

Mat4 scaling(double x, double y, double z)
{
    Mat4 m = identity();
    m[0] = x;
    m[5] = y;
    m[10] = z;
    return m;
}

// glRotate about the x or the z axis. GL takes the angle as a float and
// works out its sine and cosine from that; so does this.
Mat4 rotationX(float degrees)
{
    const double a = static_cast<double>(degrees) * PI / 180.0, c = std::cos(a), s = std::sin(a);
    Mat4 m = identity();
    m[5] = c;
    m[6] = s;
    m[9] = -s;
    m[10] = c;
    return m;
}

Mat4 rotationZ(float degrees)
{
    const double a = static_cast<double>(degrees) * PI / 180.0, c = std::cos(a), s = std::sin(a);
    Mat4 m = identity();
    m[0] = c;
    m[1] = s;
    m[4] = -s;
    m[5] = c;
    return m;
}

Mat4 frustum(double l, double r, double b, double t, double n, double f)
{
    Mat4 m{};
    m[0] = 2 * n / (r - l);
    m[5] = 2 * n / (t - b);
    m[8] = (r + l) / (r - l);
    m[9] = (t + b) / (t - b);
    m[10] = -(f + n) / (f - n);
    m[11] = -1;
    m[14] = -2 * f * n / (f - n);
    return m;
}

struct Vec4 {
    double x, y, z, w;
};

Vec4 apply(const Mat4& m, const Vec4& v)
{
    return {m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12] * v.w, m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13] * v.w,
            m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14] * v.w, m[3] * v.x + m[7] * v.y + m[11] * v.z + m[15] * v.w};
}

} // namespace

Mat4 multiply(const Mat4& a, const Mat4& b)
{
    Mat4 m{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a[k * 4 + row] * b[col * 4 + k];
            m[col * 4 + row] = sum;
        }
    return m;
}

std::optional<Mat4> inverse(const Mat4& m)
{
    // Gauss-Jordan elimination with partial pivoting on [m | I].
    double a[4][8];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            a[r][c] = m[c * 4 + r];
            a[r][c + 4] = r == c ? 1 : 0;
        }
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r)
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col]))
                pivot = r;
        if (a[pivot][col] == 0)
            return std::nullopt;
        if (pivot != col)
            for (int c = 0; c < 8; ++c)
                std::swap(a[pivot][c], a[col][c]);
        const double p = a[col][col];
        for (int c = 0; c < 8; ++c)
            a[col][c] /= p;
        for (int r = 0; r < 4; ++r) {
            if (r == col || a[r][col] == 0)
                continue;
            const double f = a[r][col];
            for (int c = 0; c < 8; ++c)
                a[r][c] -= f * a[col][c];
        }
    }
    Mat4 inv{};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            inv[c * 4 + r] = a[r][c + 4];
    return inv;
}

FrameMatrices frameMatrices(const ViewState& view, int width, int height)
{
    FrameMatrices f;
    f.width = width;
    f.height = height;
    const ClipScale s = imageClipScale(width, height);
    f.projection =
        multiply(scaling(s.x, s.y, 1), frustum(-FRUSTUM_HALF, FRUSTUM_HALF, -FRUSTUM_HALF, FRUSTUM_HALF, NEAR, FAR));
    // gluLookAt from (0, 0, eye) at the origin, y up, is a move along z.
    Mat4 m = translation(0, 0, -static_cast<double>(view.eyevalue));
    m = multiply(m, rotationX(view.xrotation));
    m = multiply(m, rotationZ(view.zrotation));
    m = multiply(m, translation(view.xtranslate, view.ytranslate, 0));
    f.modelview = m;
    return f;
}

std::optional<WindowPoint> project(const FrameMatrices& f, const Vec3& p)
{
    const Vec4 clip = apply(multiply(f.projection, f.modelview), {p.x, p.y, p.z, 1});
    if (!(clip.w > 0))
        return std::nullopt;
    const double nx = clip.x / clip.w, ny = clip.y / clip.w;
    return WindowPoint{(nx + 1) / 2 * f.width, (1 - ny) / 2 * f.height};
}

std::optional<Ray> rayThrough(const FrameMatrices& f, const WindowPoint& at)
{
    if (f.width <= 0 || f.height <= 0)
        return std::nullopt;
    const std::optional<Mat4> back = inverse(multiply(f.projection, f.modelview));
    if (!back)
        return std::nullopt;
    const double nx = 2 * at.x / f.width - 1, ny = 1 - 2 * at.y / f.height;
    auto unproject = [&](double nz) {
        const Vec4 v = apply(*back, {nx, ny, nz, 1});
        return Vec3{v.x / v.w, v.y / v.w, v.z / v.w};
    };
    return Ray{unproject(-1), unproject(1)};
}

} // namespace orolith::render
