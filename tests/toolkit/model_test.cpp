// Models and meshes: array growth, normalisation, the GPU vertex layout, the face check that
// keeps file indices from becoming memory reads, and drawing through OpenGL.
#include "toolkit/array.h"
#include "toolkit/mesh.h"
#include "toolkit/model.h"

#include "foundation/logging.h"
#include "resources/subtexture.h"
#include "resources/texture_win.h"
#include "toolkit_test_support.h"

#include <GL/gl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <malloc.h>

using testing::ElementsAre;

namespace
{

class ModelTest : public testing::Test
{
  protected:
    void SetUp() override { Logging_SetLevel(LOGGING_LEVEL_ERROR); }
    void TearDown() override { Logging_SetLevel(LOGGING_LEVEL_DEBUG); }
};

ModelFace Face(int32_t a, int32_t b, int32_t c, int32_t ta, int32_t tb, int32_t tc)
{
    return ModelFace{{a, b, c}, {ta, tb, tc}, {-1, -1, -1}};
}

TEST_F(ModelTest, ArrayExtendGrowsOnlyAtMultiplesOfTheStep)
{
    int32_t *array = nullptr;
    for (int32_t count = 0; count < 600; count++)
    {
        int32_t *grown = static_cast<int32_t *>(Array_Extend(array, count, sizeof(int32_t), 256));
        if (count % 256 != 0)
        {
            EXPECT_EQ(grown, array) << count;
        }
        else
        {
            ASSERT_NE(grown, nullptr);
            EXPECT_GE(malloc_usable_size(grown), (count + 256) * sizeof(int32_t)) << count;
        }
        array = grown;
        array[count] = count; // AddressSanitizer checks every element written
    }
    EXPECT_EQ(array[599], 599);
    EXPECT_EQ(array[256], 256);
    free(array);
}

TEST_F(ModelTest, NormalisesByTheLargestAbsoluteCoordinate)
{
    Model *model = Model_Create();
    Model_AddVertex(model, 1, 2, -4);
    Model_AddVertex(model, 3, -0.5f, 2);
    Model_GenerateGPUData(model);
    const float *v = Model_GetVertices(model);
    EXPECT_THAT(std::vector<float>(v, v + 6), ElementsAre(0.25f, 0.5f, -1, 0.75f, -0.125f, 0.5f));
    Model_Destroy(model);

    // All zero: nothing to scale by, and no not-a-number may appear.
    model = Model_Create();
    Model_AddVertex(model, 0, 0, 0);
    Model_AddVertex(model, 0, -0.0f, 0);
    Model_GenerateGPUData(model);
    v = Model_GetVertices(model);
    for (int32_t i = 0; i < 6; i++)
    {
        EXPECT_EQ(v[i], 0.0f) << i;
    }
    Model_Destroy(model);
}

TEST_F(ModelTest, VertexArrayReversesTheWindingAndMirrorsV)
{
    Model *model = Model_Create();
    Model_AddVertex(model, 0, 0, 0);
    Model_AddVertex(model, 1, 0, 0);
    Model_AddVertex(model, 0, 1, 0);
    Model_AddTexCoord(model, 0.25f, 0.75f);
    Model_AddTexCoord(model, 0.5f, 0.0f);
    Model_AddTexCoord(model, 1.0f, 1.0f);
    ModelFace face = Face(0, 1, 2, 0, 1, 2);
    Model_AddFace(model, &face);
    face = Face(0, 1, 2, -1, 1, -1); // missing coordinates read as (0, 0)
    Model_AddFace(model, &face);
    Model_AddMesh(model, 0, 2, 2);
    Model_GenerateGPUData(model);

    Mesh *mesh = Model_GetMesh(model, 0);
    ASSERT_NE(mesh, nullptr);
    const MeshVertex *g = Mesh_GetGPUData(mesh);
    ASSERT_NE(g, nullptr);
    // Corners 0, 2, 1.
    EXPECT_EQ(g[0].u, 0.25f);
    EXPECT_EQ(g[0].v, 0.25f);
    EXPECT_EQ(g[1].x, 0.0f);
    EXPECT_EQ(g[1].y, 1.0f);
    EXPECT_EQ(g[1].u, 1.0f);
    EXPECT_EQ(g[1].v, 0.0f);
    EXPECT_EQ(g[2].x, 1.0f);
    EXPECT_EQ(g[2].u, 0.5f);
    EXPECT_EQ(g[2].v, 1.0f);
    EXPECT_THAT(std::vector<uint8_t>(g[2].color, g[2].color + 4), ElementsAre(0, 0, 127, 255));
    EXPECT_EQ(g[3].u, 0.0f);
    EXPECT_EQ(g[3].v, 1.0f);
    EXPECT_EQ(g[4].u, 0.0f);
    EXPECT_EQ(g[4].v, 1.0f);
    EXPECT_EQ(g[5].u, 0.5f);
    EXPECT_EQ(g[5].v, 1.0f);
    EXPECT_EQ(Model_GetMesh(model, 1), nullptr);
    EXPECT_EQ(Model_GetMesh(model, -1), nullptr);
    Model_Destroy(model);
}

TEST_F(ModelTest, FacesOutsideTheArraysAreDroppedAndMeshesFollow)
{
    Model *model = Model_Create();
    for (int32_t i = 0; i < 4; i++)
    {
        Model_AddVertex(model, static_cast<float>(i), 1, 0);
    }
    Model_AddTexCoord(model, 0, 0);
    Model_AddTexCoord(model, 1, 1);
    Model_AddNormal(model, 0, 0, 1);
    const ModelFace faces[] = {
        Face(0, 1, 2, 0, 1, 0),                     // kept
        Face(0, 1, 4, 0, 1, 0),                     // position 4 of 4
        Face(1, 2, 3, -1, -1, -1),                  // kept, no coordinates
        Face(1, 2, 3, 0, 2, 0),                     // coordinate 2 of 2
        Face(-1, 2, 3, 0, 0, 0),                    // no position
        ModelFace{{3, 2, 1}, {0, 1, 1}, {0, 0, 0}}, // kept, with its normal
        ModelFace{{3, 2, 1}, {0, 1, 1}, {0, 1, 0}}, // normal 1 of 1
        Face(0, 2, 3, 1, 1, 1),                     // kept
        Face(2147483647, 0, 0, 0, 0, 0),            // far out
    };
    for (const ModelFace &face : faces)
    {
        Model_AddFace(model, &face);
    }
    Model_AddMesh(model, 0, 2, 2);
    Model_AddMesh(model, 2, 4, 6);
    Model_AddMesh(model, 6, 3, 9);
    Model_AddMesh(model, 9, 0, 9);

    const auto lines = CaptureLines([&] { Model_GenerateGPUData(model); });
    EXPECT_EQ(LogMessages(lines).size(), 5u);
    EXPECT_THAT(LogMessages(lines)[0], testing::HasSubstr("Face 1 "));
    ASSERT_EQ(Model_GetFaceCount(model), 4);
    const ModelFace *kept = Model_GetFaces(model);
    EXPECT_EQ(kept[1].texCoord[0], -1);
    EXPECT_EQ(kept[2].normal[0], 0);
    EXPECT_EQ(kept[3].vertex[2], 3);

    const int32_t expected[4][3] = {{0, 1, 1}, {1, 2, 3}, {3, 1, 4}, {4, 0, 4}};
    for (int32_t m = 0; m < 4; m++)
    {
        Mesh *mesh = Model_GetMesh(model, m);
        EXPECT_EQ(Mesh_GetFirstFace(mesh), expected[m][0]) << m;
        EXPECT_EQ(Mesh_GetFaceCount(mesh), expected[m][1]) << m;
        EXPECT_EQ(Mesh_GetEndFace(mesh), expected[m][2]) << m;
        ASSERT_NE(Mesh_GetGPUData(mesh), nullptr) << m;
    }
    // The third mesh draws the last kept face: (0, 2, 3) as corners 0, 3, 2.
    const MeshVertex *g = Mesh_GetGPUData(Model_GetMesh(model, 2));
    EXPECT_EQ(g[0].x, 0.0f);
    EXPECT_EQ(g[1].x, 1.0f);
    EXPECT_EQ(g[2].x, 2.0f / 3.0f);
    Model_Destroy(model);
}

TEST_F(ModelTest, MeshBuiltDirectlyNeverReadsOutsideTheModel)
{
    Model *model = Model_Create();
    Model_AddVertex(model, 1, 2, 3);
    const ModelFace bad = Face(0, 0, 7, -1, -1, -1);
    Model_AddFace(model, &bad);
    Model_AddMesh(model, 0, 3, 1); // claims more faces than there are
    Mesh *mesh = Model_GetMesh(model, 0);
    const auto lines = CaptureLines([&] { Mesh_GenerateGPUData(mesh, model); });
    EXPECT_EQ(LogMessages(lines).size(), 1u);
    const MeshVertex *g = Mesh_GetGPUData(mesh);
    for (int32_t i = 0; i < 9; i++)
    {
        EXPECT_EQ(g[i].x, 0.0f);
        EXPECT_EQ(g[i].y, 0.0f);
        EXPECT_EQ(g[i].z, 0.0f);
    }
    Model_SetName(model, "ship");
    EXPECT_STREQ(Model_GetName(model), "ship");
    Model_SetName(model, nullptr);
    EXPECT_EQ(Model_GetName(model), nullptr);
    Model_Destroy(model);
}

// Renders into a small window and reads the pixels back.
class MeshRenderTest : public ModelTest
{
  protected:
    static constexpr int32_t kSize = 64;

    void SetUp() override
    {
        ModelTest::SetUp();
        window = std::make_unique<GlWindow>(kSize, kSize);
        ASSERT_TRUE(window->ok());
        const uint8_t pixels[4 * 3] = {200, 40, 10, 200, 40, 10, 200, 40, 10, 200, 40, 10};
        texture = Texture_Create(pixels, 3, 2, 2);
        subTexture = SubTexture_Create(texture, Vector2{0, 0}, Vector2{1, 1});
        // Two triangles covering the square from -1 to +1 at z = 0.
        model = Model_Create();
        Model_AddVertex(model, -1, -1, 0);
        Model_AddVertex(model, 1, -1, 0);
        Model_AddVertex(model, 1, 1, 0);
        Model_AddVertex(model, -1, 1, 0);
        Model_AddTexCoord(model, 0, 0);
        Model_AddTexCoord(model, 1, 1);
        ModelFace face = Face(0, 1, 2, 0, 1, 1);
        Model_AddFace(model, &face);
        face = Face(0, 2, 3, 0, 1, 1);
        Model_AddFace(model, &face);
        Model_AddMesh(model, 0, 2, 2);
        Model_AddMesh(model, 2, 0, 2);
        Model_GenerateGPUData(model);
    }
    void TearDown() override
    {
        if (model != nullptr)
        {
            Model_Destroy(model);
            SubTexture_Destroy(subTexture);
            Texture_Destroy(texture);
        }
        window.reset();
        ModelTest::TearDown();
    }

    void Clear()
    {
        glViewport(0, 0, kSize, kSize);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    std::vector<uint8_t> Pixel(int32_t x, int32_t y)
    {
        std::vector<uint8_t> rgb(3);
        glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }

    std::unique_ptr<GlWindow> window;
    Texture *texture = nullptr;
    SubTexture *subTexture = nullptr;
    Model *model = nullptr;
};

TEST_F(MeshRenderTest, DrawsTexturedUnderItsTransformAndLeavesTheDocumentedState)
{
    Clear();
    Vector3 position = {0.5f, 0, 0};
    Vector3 rotation = {0, 0, 90};
    Vector3 scale = {0.25f, 0.5f, 1};
    Mesh_Render(Model_GetMesh(model, 0), subTexture, &position, &rotation, &scale);
    glFinish();
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // Rotated a quarter turn, the square spans x 0.5 +- 0.5 and y +- 0.25.
    EXPECT_THAT(Pixel(kSize * 3 / 4, kSize / 2), ElementsAre(200, 40, 10)); // replace mode
    EXPECT_THAT(Pixel(kSize * 3 / 4 + kSize / 8, kSize / 2 + kSize / 16), ElementsAre(200, 40, 10));
    EXPECT_THAT(Pixel(kSize / 4, kSize / 2), ElementsAre(0, 0, 0));
    EXPECT_THAT(Pixel(kSize * 3 / 4, kSize * 7 / 8), ElementsAre(0, 0, 0));

    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
    GLint value = 0;
    glGetIntegerv(GL_FRONT_FACE, &value);
    EXPECT_EQ(value, GL_CCW);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_REPLACE);
    glGetIntegerv(GL_BLEND_SRC, &value);
    EXPECT_EQ(value, GL_ONE);
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(value, GL_ONE);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(static_cast<GLuint>(value), Texture_GetTextureNumber(texture));
    GLint stride = 0;
    glGetIntegerv(GL_VERTEX_ARRAY_STRIDE, &stride);
    EXPECT_EQ(stride, 24);

    // Model-view: translate, rotate 90 degrees about z, scale; projection: identity.
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const float expected[16] = {0, 0.25f, 0, 0, -0.5f, 0, 0, 0, 0, 0, 1, 0, 0.5f, 0, 0, 1};
    for (int32_t i = 0; i < 16; i++)
    {
        EXPECT_NEAR(m[i], expected[i], 1e-6) << i;
    }
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    for (int32_t i = 0; i < 16; i++)
    {
        EXPECT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
    }
}

TEST_F(MeshRenderTest, EmptyMeshDrawsNothing)
{
    Clear();
    Vector3 position = {0, 0, 0};
    Vector3 rotation = {0, 0, 0};
    Vector3 scale = {1, 1, 1};
    Mesh *empty = Model_GetMesh(model, 1);
    ASSERT_EQ(Mesh_GetFaceCount(empty), 0);
    ASSERT_NE(Mesh_GetGPUData(empty), nullptr);
    Mesh_Render(empty, subTexture, &position, &rotation, &scale);
    glFinish();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_THAT(Pixel(kSize / 2, kSize / 2), ElementsAre(0, 0, 0));

    // The full square under the identity fills the window.
    Mesh_Render(Model_GetMesh(model, 0), subTexture, &position, &rotation, &scale);
    glFinish();
    EXPECT_THAT(Pixel(1, 1), ElementsAre(200, 40, 10));
    EXPECT_THAT(Pixel(kSize - 2, kSize - 2), ElementsAre(200, 40, 10));
}

} // namespace
