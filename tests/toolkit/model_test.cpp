// Models and meshes: array growth, normalisation, the GPU vertex layout, the face check that
// keeps file indices from becoming memory reads, and drawing through OpenGL.
#include "toolkit/array.h"
#include "toolkit/mesh.h"
#include "toolkit/model.h"

#include "resources/subtexture.h"
#include "resources/texture_win.h"
#include "toolkit_test_support.h"

#include <GL/gl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <malloc.h>

using testing::ElementsAre;
using testing::ElementsAreArray;

namespace
{

class ModelTest : public ModelFixture
{
  protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        model = Model_Create();
    }

    // Adds the vertices, texture coordinates and faces (positions, coordinates, normal each).
    void Add(const std::vector<std::vector<float>> &vertices,
             const std::vector<std::vector<float>> &texCoords,
             const std::vector<std::vector<int32_t>> &faces)
    {
        for (const auto &v : vertices)
            Model_AddVertex(model, v[0], v[1], v[2]);
        for (const auto &t : texCoords)
            Model_AddTexCoord(model, t[0], t[1]);
        for (const auto &f : faces)
        {
            const ModelFace face = {{f[0], f[1], f[2]}, {f[3], f[4], f[5]}, {f[6], f[6], f[6]}};
            Model_AddFace(model, &face);
        }
    }

    // x, y, z, u, v of each vertex of mesh m's vertex array.
    std::vector<float> Drawn(int32_t m)
    {
        Mesh *mesh = Model_GetMesh(model, m);
        std::vector<float> values;
        for (int32_t i = 0; i < 3 * Mesh_GetFaceCount(mesh); i++)
        {
            const MeshVertex &g = Mesh_GetGPUData(mesh)[i];
            values.insert(values.end(), {g.x, g.y, g.z, g.u, g.v});
        }
        return values;
    }
};

TEST_F(ModelTest, ArrayExtendGrowsOnlyAtMultiplesOfTheStep)
{
    int32_t *array = nullptr;
    for (int32_t count = 0; count < 600; count++)
    {
        auto *grown = static_cast<int32_t *>(Array_Extend(array, count, sizeof(int32_t), 256));
        ASSERT_NE(grown, nullptr);
        if (count % 256 != 0)
            EXPECT_EQ(grown, array) << count;
        else
            EXPECT_GE(malloc_usable_size(grown), (count + 256) * sizeof(int32_t)) << count;
        array = grown;
        array[count] = count; // AddressSanitizer checks every element written
    }
    EXPECT_EQ(array[256], 256);
    free(array);
}

TEST_F(ModelTest, NormalisesAndDrawsWithTheWindingReversedAndVMirrored)
{
    // The second face lacks two coordinates, which read as (0, 0).
    Add({{0, 0, 0}, {1, 0, 0}, {0, 1, -2}}, {{0.25f, 0.75f}, {0.5f, 0}, {1, 1}},
        {{0, 1, 2, 0, 1, 2, -1}, {0, 1, 2, -1, 1, -1, -1}});
    Model_AddMesh(model, 0, 2, 2);
    Model_GenerateGPUData(model);
    // Positions divided by the largest absolute coordinate; corners 0, 2, 1 of each face.
    EXPECT_THAT(Drawn(0), ElementsAreArray<float>({0,    0,    0,  0.25f, 0.25f, // first face
                                                   0,    0.5f, -1, 1,     0,     //
                                                   0.5f, 0,    0,  0.5f,  1,     //
                                                   0,    0,    0,  0,     1,     // second face
                                                   0,    0.5f, -1, 0,     1,     //
                                                   0.5f, 0,    0,  0.5f,  1}));
    EXPECT_THAT(Mesh_GetGPUData(Model_GetMesh(model, 0))[2].color, ElementsAre(0, 0, 127, 255));
    EXPECT_EQ(Model_GetMesh(model, 1), nullptr);
    EXPECT_EQ(Model_GetMesh(model, -1), nullptr);

    // All zero: nothing to scale by, and no not-a-number may appear.
    Model_Destroy(model);
    model = Model_Create();
    Add({{0, 0, 0}, {0, -0.0f, 0}}, {}, {});
    Model_GenerateGPUData(model);
    const float *v = Model_GetVertices(model);
    EXPECT_THAT(std::vector<float>(v, v + 6), ElementsAre(0, 0, 0, 0, 0, 0));
}

TEST_F(ModelTest, FacesOutsideTheArraysAreDroppedAndMeshesFollow)
{
    Add({{0, 1, 0}, {1, 1, 0}, {2, 1, 0}, {3, 1, 0}}, {{0, 0}, {1, 1}},
        {{0, 1, 2, 0, 1, 0, -1},            // kept
         {0, 1, 4, 0, 1, 0, -1},            // position 4 of 4
         {1, 2, 3, -1, -1, -1, -1},         // kept, no coordinates
         {1, 2, 3, 0, 2, 0, -1},            // coordinate 2 of 2
         {-1, 2, 3, 0, 0, 0, -1},           // no position
         {3, 2, 1, 0, 1, 1, 0},             // kept, with its normal
         {3, 2, 1, 0, 1, 1, 1},             // normal 1 of 1
         {0, 2, 3, 1, 1, 1, -1},            // kept
         {2147483647, 0, 0, 0, 0, 0, -1}}); // far out
    Model_AddNormal(model, 0, 0, 1);
    Model_AddMesh(model, 0, 2, 2);
    Model_AddMesh(model, 2, 4, 6);
    Model_AddMesh(model, 6, 3, 9);
    Model_AddMesh(model, 9, 0, 9);

    const std::string log = LogMessages([&] { Model_GenerateGPUData(model); });
    EXPECT_EQ(std::count(log.begin(), log.end(), '|'), 5);
    EXPECT_THAT(log, testing::StartsWith("Face 1 "));
    ASSERT_EQ(Model_GetFaceCount(model), 4);
    const ModelFace *kept = Model_GetFaces(model);
    EXPECT_THAT((std::vector<int32_t>{kept[1].texCoord[0], kept[2].normal[0], kept[3].vertex[2]}),
                ElementsAre(-1, 0, 3));
    EXPECT_THAT(Shape(), ElementsAre(4, 2, 1, 4, 0, 1, 1, 1, 2, 3, 3, 1, 4, 4, 0, 4));
    // The third mesh draws the last kept face, (0, 2, 3), as corners 0, 3, 2.
    const std::vector<float> drawn = Drawn(2);
    EXPECT_THAT((std::vector<float>{drawn[0], drawn[5], drawn[10]}), ElementsAre(0, 1, 2.0f / 3));

    // A mesh built directly never reads outside the model: its bad and missing faces are
    // drawn as zeros, with one Error line.
    Add({}, {}, {{0, 0, 70, -1, -1, -1, -1}});
    Mesh_SetFaceRange(Model_GetMesh(model, 3), 4, 3, 5);
    const std::string one =
        LogMessages([&] { Mesh_GenerateGPUData(Model_GetMesh(model, 3), model); });
    EXPECT_EQ(std::count(one.begin(), one.end(), '|'), 1);
    EXPECT_THAT(Drawn(3), testing::Each(0.0f));
}

// A square from -1 to +1 in one colour, drawn into a small window.
TEST_F(ModelTest, RendersUnderItsTransformAndLeavesTheDocumentedState)
{
    constexpr int32_t kSize = 64;
    ASSERT_TRUE(MakeGlContextCurrent(kSize));
    const uint8_t pixels[4 * 3] = {200, 40, 10, 200, 40, 10, 200, 40, 10, 200, 40, 10};
    Texture *texture = Texture_Create(pixels, 3, 2, 2);
    SubTexture *subTexture = SubTexture_Create(texture, Vector2{0, 0}, Vector2{1, 1});
    Add({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}, {{0, 0}, {1, 1}},
        {{0, 1, 2, 0, 1, 1, -1}, {0, 2, 3, 0, 1, 1, -1}});
    Model_AddMesh(model, 0, 2, 2);
    Model_AddMesh(model, 2, 0, 2);
    Model_GenerateGPUData(model);
    auto pixel = [](int32_t x, int32_t y)
    {
        std::vector<uint8_t> rgb(3);
        glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    };
    glViewport(0, 0, kSize, kSize);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    // The empty mesh draws nothing.
    Vector3 position = {0, 0, 0}, rotation = {0, 0, 0}, scale = {1, 1, 1};
    ASSERT_NE(Mesh_GetGPUData(Model_GetMesh(model, 1)), nullptr);
    Mesh_Render(Model_GetMesh(model, 1), subTexture, &position, &rotation, &scale);
    glFinish();
    EXPECT_THAT(pixel(kSize / 2, kSize / 2), ElementsAre(0, 0, 0));

    // Turned a quarter, the square spans x 0.5 +- 0.5 and y +- 0.25, in the texture's colour.
    position = {0.5f, 0, 0};
    rotation = {0, 0, 90};
    scale = {0.25f, 0.5f, 1};
    Mesh_Render(Model_GetMesh(model, 0), subTexture, &position, &rotation, &scale);
    glFinish();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_THAT(pixel(kSize * 3 / 4, kSize / 2), ElementsAre(200, 40, 10)); // replace mode
    EXPECT_THAT(pixel(kSize * 7 / 8, kSize * 9 / 16), ElementsAre(200, 40, 10));
    EXPECT_THAT(pixel(kSize / 4, kSize / 2), ElementsAre(0, 0, 0));
    EXPECT_THAT(pixel(kSize * 3 / 4, kSize * 7 / 8), ElementsAre(0, 0, 0));

    for (const GLenum on : {GL_TEXTURE_2D, GL_TEXTURE_COORD_ARRAY, GL_COLOR_ARRAY, GL_VERTEX_ARRAY})
        EXPECT_TRUE(glIsEnabled(on)) << on;
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    GLint values[6] = {};
    glGetIntegerv(GL_FRONT_FACE, &values[0]);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &values[1]);
    glGetIntegerv(GL_BLEND_SRC, &values[2]);
    glGetIntegerv(GL_BLEND_DST, &values[3]);
    glGetIntegerv(GL_VERTEX_ARRAY_STRIDE, &values[4]);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &values[5]);
    EXPECT_THAT(values, ElementsAre(GL_CCW, GL_REPLACE, GL_ONE, GL_ONE, 24,
                                    static_cast<GLint>(Texture_GetTextureNumber(texture))));
    // Model-view: translate, rotate 90 degrees about z, scale; projection: identity.
    float m[32];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glGetFloatv(GL_PROJECTION_MATRIX, m + 16);
    const float expected[32] = {0, 0.25f, 0, 0, -0.5f, 0, 0, 0, 0, 0, 1, 0, 0.5f, 0, 0, 1,
                                1, 0,     0, 0, 0,     1, 0, 0, 0, 0, 1, 0, 0,    0, 0, 1};
    for (int32_t i = 0; i < 32; i++)
        EXPECT_NEAR(m[i], expected[i], 1e-6) << i;
    SubTexture_Destroy(subTexture);
    Texture_Destroy(texture);
}

} // namespace
