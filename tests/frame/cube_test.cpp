// The demonstration frame, read back from the framebuffer. This binary draws no other cube, so
// the first frame drawn here is the layer's frame 0.
#include "frame/integration_win.h"

#include "foundation/logging.h"

#define GLFW_INCLUDE_NONE
#include <GL/gl.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace
{
constexpr int WIDTH = 1024;
constexpr int HEIGHT = 768;
constexpr double PI = 3.14159265358979323846;

struct Point
{
    double x;
    double y;
};

double Radians(double degrees)
{
    return degrees * PI / 180.0;
}

// Where a corner of the unit cube lands in window pixels: turned about z by the frame's angle,
// about y by 45 and about x by 15 degrees (no projection), then the default viewport.
Point Project(double x, double y, double z, double zDegrees)
{
    const double c = std::cos(Radians(zDegrees)), s = std::sin(Radians(zDegrees));
    double x1 = c * x - s * y, y1 = s * x + c * y, z1 = z;
    const double cy = std::cos(Radians(45.0)), sy = std::sin(Radians(45.0));
    const double x2 = cy * x1 + sy * z1, z2 = -sy * x1 + cy * z1;
    const double cx = std::cos(Radians(15.0)), sx = std::sin(Radians(15.0));
    const double y3 = cx * y1 - sx * z2;
    return {(x2 + 1.0) * 0.5 * WIDTH, (y3 + 1.0) * 0.5 * HEIGHT};
}

// The silhouette of the cube is the union of its six projected faces.
class Silhouette
{
  public:
    explicit Silhouette(double zDegrees)
    {
        auto corner = [&](int i)
        { return Project(i & 1 ? 0.5 : -0.5, i & 2 ? 0.5 : -0.5, i & 4 ? 0.5 : -0.5, zDegrees); };
        static constexpr int faces[6][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                            {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}};
        for (int f = 0; f < 6; f++)
        {
            for (int k = 0; k < 4; k++)
            {
                quads[f][k] = corner(faces[f][k]);
            }
        }
    }
    bool Contains(Point p) const
    {
        for (const auto &quad : quads)
        {
            int positive = 0, negative = 0;
            for (int k = 0; k < 4; k++)
            {
                const Point a = quad[k], b = quad[(k + 1) % 4];
                const double cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
                positive += cross > 0.0;
                negative += cross < 0.0;
            }
            if (positive == 0 || negative == 0)
            {
                return true;
            }
        }
        return false;
    }

  private:
    std::array<std::array<Point, 4>, 6> quads{};
};

std::vector<unsigned char> ReadPixels()
{
    std::vector<unsigned char> pixels(WIDTH * HEIGHT * 4);
    glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// Every pixel whose surroundings lie wholly inside the silhouette is the cube's flat blue and
// every one wholly outside it is black; a pixel and a half of border is left to rasterisation.
void ExpectCubeAt(const std::vector<unsigned char> &pixels, double zDegrees)
{
    const Silhouette silhouette(zDegrees);
    int inside = 0, outside = 0, wrong = 0;
    for (int y = 0; y < HEIGHT; y += 2)
    {
        for (int x = 0; x < WIDTH; x += 2)
        {
            int hits = 0;
            for (const Point offset :
                 {Point{0, 0}, Point{-1.5, 0}, Point{1.5, 0}, Point{0, -1.5}, Point{0, 1.5}})
            {
                hits += silhouette.Contains({x + 0.5 + offset.x, y + 0.5 + offset.y});
            }
            const unsigned char *pixel = &pixels[(y * WIDTH + x) * 4];
            if (hits == 5)
            {
                inside++;
                wrong += !(pixel[0] == 0 && pixel[1] == 51 && pixel[2] == 255);
            }
            else if (hits == 0)
            {
                outside++;
                wrong += !(pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0);
            }
        }
    }
    EXPECT_GT(inside, 20000);
    EXPECT_GT(outside, 20000);
    EXPECT_EQ(wrong, 0) << "at " << zDegrees << " degrees about z";
}

TEST(DemonstrationFrame, TurnsTheCubeByItsAngleAndKeepsTheMatrix)
{
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    OSInit();
    OSWindow *window = OSWindow_Create(WIDTH, HEIGHT, "Zindrel cube");
    OSWindow_FrameInit(window);
    const double degreesPerFrame = 0.79 * PI / 180.0;

    GLfloat before[16], after[16];
    glMatrixMode(GL_MODELVIEW);
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    OSWindow_FrameBegin(window);
    OSWindow_FrameDrawCube(window); // frame 0
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; i++)
    {
        EXPECT_EQ(before[i], after[i]);
    }
    ExpectCubeAt(ReadPixels(), 0.0);

    // The texture of the first frame: name 1 with its mipmaps down to 1 x 1, red bytes from the
    // two sines, kept to their low 8 bits (negative sums wrap).
    GLint smallest = 0;
    glBindTexture(GL_TEXTURE_2D, 1);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 6, GL_TEXTURE_WIDTH, &smallest);
    EXPECT_EQ(smallest, 1);
    std::vector<unsigned char> texels(64 * 64 * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    auto red = [&](int row, int column) { return texels[(row * 64 + column) * 4]; };
    EXPECT_EQ(red(0, 0), 0);
    EXPECT_EQ(red(1, 0), 53);    // 64 sin 1 = 53.85
    EXPECT_EQ(red(1, 2), 112);   // 53.85 + 58.20
    EXPECT_EQ(red(4, 5), 147);   // -48.44 - 61.37 = -109.81, cut to -109
    EXPECT_EQ(red(11, 11), 129); // -127.998, cut to -127
    EXPECT_EQ(texels[(4 * 64 + 5) * 4 + 1] + texels[(4 * 64 + 5) * 4 + 3], 0);

    // A thousand frames on: 13.8 degrees about the cube's own z axis. The frames in between
    // are drawn into a single pixel, since only their count matters.
    glViewport(0, 0, 1, 1);
    for (int frame = 1; frame < 1000; frame++)
    {
        OSWindow_FrameDrawCube(window);
    }
    glViewport(0, 0, WIDTH, HEIGHT);
    OSWindow_FrameBegin(window);
    OSWindow_FrameDrawCube(window); // frame 1000
    ExpectCubeAt(ReadPixels(), 1000 * degreesPerFrame);

    OSWindow_Destroy(window);
}
} // namespace
