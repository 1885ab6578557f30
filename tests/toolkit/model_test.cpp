// Models, meshes and the OBJ and 3DS readers: log lines, refusals, short, lying, read-only input.
#include "toolkit/array.h"
#include "toolkit/mesh.h"
#include "toolkit/mesh_3ds.h"
#include "toolkit/mesh_obj.h"
#include "toolkit/model.h"

#include "foundation/logging.h"
#include "resources/subtexture.h"
#include "resources/targa.h"
#include "resources/texture_win.h"
#include "tests/support/support.h"

#include <GL/gl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

using namespace testing;
using Bytes = std::vector<uint8_t>;
using Rows = std::vector<std::vector<float>>;

namespace
{

// The log messages written while action runs, each followed by '|'.
std::string LogMessages(const std::function<void()> &action)
{
    std::string joined;
    for (const std::string &message : CaptureMessages(action))
        joined += message + "|";
    return joined;
}

class ModelTest : public testing::Test
{
  protected:
    void SetUp() override { Logging_SetLevel(LOGGING_LEVEL_ERROR); }
    void TearDown() override { Logging_SetLevel(LOGGING_LEVEL_DEBUG); }
    ~ModelTest() override { Drop(); }
    void Drop() { model = model != nullptr ? (Model_Destroy(model), nullptr) : nullptr; }

    // Loads bytes copied read-only right before a no-access page into model; returns the log.
    std::string Read(const void *bytes, size_t size, bool obj)
    {
        Drop();
        const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
        const size_t dataSize = (size / page + 1) * page;
        void *mapping = mmap(nullptr, dataSize + page, PROT_READ | PROT_WRITE,
                             MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        uint8_t *copy = static_cast<uint8_t *>(mapping) + dataSize - size;
        std::copy_n(static_cast<const uint8_t *>(bytes), size, copy);
        mprotect(mapping, dataSize, PROT_READ);
        mprotect(copy + size, page, PROT_NONE);
        const auto n = static_cast<int32_t>(size);
        std::string log = LogMessages(
            [&] { model = obj ? MeshObj_Create((const char *)copy, n) : Mesh3DS_Create(copy, n); });
        munmap(mapping, dataSize + page);
        return log;
    }
    std::string LoadObj(const std::string &text) { return Read(text.data(), text.size(), true); }
    std::string Load3ds(const Bytes &bytes) { return Read(bytes.data(), bytes.size(), false); }

    // Counts of positions, coordinates, normals, faces, then each mesh's first, count, end face.
    std::vector<int32_t> Shape()
    {
        if (model == nullptr)
            return {};
        std::vector<int32_t> shape = {Model_GetVertexCount(model), Model_GetTexCoordCount(model),
                                      Model_GetNormalCount(model), Model_GetFaceCount(model)};
        for (int32_t m = 0; m < Model_GetMeshCount(model); m++)
            for (const auto get : {Mesh_GetFirstFace, Mesh_GetFaceCount, Mesh_GetEndFace})
                shape.push_back(get(Model_GetMesh(model, m)));
        return shape;
    }

    // Position, texture coordinate and normal indices of the face.
    std::vector<int32_t> FaceIndices(int32_t face)
    {
        const ModelFace &f = Model_GetFaces(model)[face];
        return {f.vertex[0],   f.vertex[1], f.vertex[2], f.texCoord[0], f.texCoord[1],
                f.texCoord[2], f.normal[0], f.normal[1], f.normal[2]};
    }

    // Adds vertices, texture coordinates and faces to the model.
    void Add(const Rows &vertices, const Rows &texCoords, const std::vector<ModelFace> &faces)
    {
        model = model != nullptr ? model : Model_Create();
        for (const auto &v : vertices)
            Model_AddVertex(model, v[0], v[1], v[2]);
        for (const auto &t : texCoords)
            Model_AddTexCoord(model, t[0], t[1]);
        for (const ModelFace &face : faces)
            Model_AddFace(model, &face);
    }

    // x, y, z, u, v of each vertex of mesh m's vertex array.
    std::vector<float> Drawn(int32_t m)
    {
        const MeshVertex *g = Mesh_GetGPUData(Model_GetMesh(model, m));
        std::vector<float> values;
        for (int32_t i = 0; i < 3 * Mesh_GetFaceCount(Model_GetMesh(model, m)); i++)
            values.insert(values.end(), {g[i].x, g[i].y, g[i].z, g[i].u, g[i].v});
        return values;
    }

    std::vector<float> Floats(const float *values, size_t n) { return {values, values + n}; }

    // Little-endian 3DS bytes: parts joined, values, a chunk (id, length with header, data).
    static Bytes Concat(const std::vector<Bytes> &parts)
    {
        Bytes bytes;
        for (const auto &part : parts)
            bytes.insert(bytes.end(), part.begin(), part.end());
        return bytes;
    }
    template <typename T> static Bytes Le(const std::vector<T> &v)
    {
        return Bytes((const uint8_t *)v.data(), (const uint8_t *)(v.data() + v.size()));
    }
    static Bytes U16(uint16_t value) { return Le<uint16_t>({value}); }
    static Bytes Chunk(uint16_t id, const Bytes &data)
    {
        return Concat({U16(id), Le<uint32_t>({static_cast<uint32_t>(data.size() + 6)}), data});
    }
    static Bytes Main(const std::vector<Bytes> &chunks) { return Chunk(0x4D4D, Concat(chunks)); }

    // An object: name, a mesh block of positions, coordinates (if any), triangles (flags 0).
    static Bytes Object(const std::string &name, const std::vector<float> &positions,
                        const std::vector<float> &texCoords, const std::vector<uint16_t> &triangles)
    {
        auto array = [](uint16_t id, const std::vector<float> &v, size_t stride) {
            return Chunk(id, Concat({U16(static_cast<uint16_t>(v.size() / stride)), Le(v)}));
        };
        Bytes faces = U16(static_cast<uint16_t>(triangles.size() / 3));
        for (size_t i = 0; i < triangles.size(); i++)
            faces = Concat({faces, U16(triangles[i]), i % 3 == 2 ? U16(0) : Bytes{}});
        const Bytes block = Concat({array(0x4110, positions, 3),
                                    texCoords.empty() ? Bytes{} : array(0x4140, texCoords, 2),
                                    Chunk(0x4120, faces)});
        return Chunk(0x4000, Concat({Bytes(name.c_str(), name.c_str() + name.size() + 1),
                                     Chunk(0x4100, block)}));
    }
    // A whole file: main chunk, version 3, an editor block holding the objects.
    static Bytes File(const std::vector<Bytes> &objects)
    {
        return Main({Chunk(0x0002, {3, 0, 0, 0}), Chunk(0x3D3D, Concat(objects))});
    }
    // A file of one object, named by the bytes given, holding the chunks given.
    static Bytes InObject(const std::vector<Bytes> &chunks, const Bytes &name = {'s', 0})
    {
        return Main({Chunk(0x3D3D, Chunk(0x4000, Concat({name, Concat(chunks)})))});
    }

    Model *model = nullptr;
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
    free(array);
}

#define DROPPED " points outside the model's arrays and is dropped.|"

TEST_F(ModelTest, DropsFacesOutsideTheArraysNormalisesAndDrawsWithTheWindingReversedAndVMirrored)
{
    // Faces 0, 3, 4 point one past the arrays; face 2's two missing coordinates read as (0, 0).
    Add({{0, 0, 0}, {1, 0, 0}, {0, 1, -2}}, {{0.25f, 0.75f}, {0.5f, 0}, {1, 1}},
        {{{0, 1, 3}, {0, 1, 2}, {-1, -1, -1}},
         {{0, 1, 2}, {0, 1, 2}, {-1, -1, -1}},
         {{0, 1, 2}, {-1, 1, -1}, {-1, -1, -1}},
         {{0, 1, 2}, {0, 1, 2}, {0, 0, 0}},
         {{0, 1, 2}, {0, 1, 3}, {-1, -1, -1}}});
    Model_AddMesh(model, 0, 5, 5);
    EXPECT_EQ(LogMessages([&] { Model_GenerateGPUData(model); }),
              "Face 0" DROPPED "Face 3" DROPPED "Face 4" DROPPED);
    EXPECT_THAT(Shape(), ElementsAre(3, 3, 0, 2, 0, 2, 2));
    // Positions divided by the largest absolute coordinate; corners 0, 2, 1 of the faces kept.
    EXPECT_THAT(Drawn(0), ElementsAreArray<float>(
                              {0, 0, 0, 0.25f, 0.25f, 0, 0.5f, -1, 1, 0, 0.5f, 0, 0, 0.5f, 1,
                               0, 0, 0, 0,     1,     0, 0.5f, -1, 0, 1, 0.5f, 0, 0, 0.5f, 1}));
    EXPECT_THAT(Mesh_GetGPUData(Model_GetMesh(model, 0))[2].color, ElementsAre(0, 0, 127, 255));
    EXPECT_TRUE(Model_GetMesh(model, 1) == nullptr && Model_GetMesh(model, -1) == nullptr);

    // A mesh set by hand past the model's faces, or over a bad one, draws them as zeros.
    Add({}, {}, {{{0, 0, 70}, {-1, -1, -1}, {-1, -1, -1}}});
    Mesh_SetFaceRange(Model_GetMesh(model, 0), 2, 2, 4);
    EXPECT_EQ(LogMessages([&] { Mesh_GenerateGPUData(Model_GetMesh(model, 0), model); }),
              "2 faces of a mesh lie outside the model and are not drawn.|");
    EXPECT_THAT(Drawn(0), Each(0.0f));

    // All zero: nothing to scale by, and no not-a-number may appear.
    Drop();
    Add({{0, 0, 0}, {0, -0.0f, 0}}, {}, {});
    Model_GenerateGPUData(model);
    EXPECT_THAT(Floats(Model_GetVertices(model), 6), ElementsAre(0, 0, 0, 0, 0, 0));
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
        {{{0, 1, 2}, {0, 1, 1}, {-1, -1, -1}}, {{0, 2, 3}, {0, 1, 1}, {-1, -1, -1}}});
    Model_AddMesh(model, 0, 2, 2);
    Model_AddMesh(model, 2, 0, 2);
    Model_GenerateGPUData(model);
    glViewport(0, 0, kSize, kSize);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // Empty mesh: nothing; turned a quarter, the square spans x 0.5+-0.5, y +-0.25 in texel colour.
    Vector3 zero{}, one{1, 1, 1}, at{0.5f, 0, 0}, turn{0, 0, 90}, size{0.25f, 0.5f, 1};
    ASSERT_NE(Mesh_GetGPUData(Model_GetMesh(model, 1)), nullptr);
    Mesh_Render(Model_GetMesh(model, 1), subTexture, &zero, &zero, &one);
    Mesh_Render(Model_GetMesh(model, 0), subTexture, &at, &turn, &size);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const int32_t points[][3] = {{12, 8, 1}, {14, 9, 1}, {4, 8, 0}, {12, 14, 0}}; // sixteenths
    uint8_t rgb[kSize][kSize][3]; // rows from the bottom
    glReadPixels(0, 0, kSize, kSize, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    for (const auto &[x, y, in] : points)
        EXPECT_THAT(rgb[kSize * y / 16][kSize * x / 16], ElementsAre(200 * in, 40 * in, 10 * in))
            << x << "," << y;
    for (const GLenum on : {GL_TEXTURE_2D, GL_TEXTURE_COORD_ARRAY, GL_COLOR_ARRAY, GL_VERTEX_ARRAY})
        EXPECT_TRUE(glIsEnabled(on)) << on;
    EXPECT_FALSE(glIsEnabled(GL_BLEND) || glIsEnabled(GL_DEPTH_TEST));
    // Model-view: translate, rotate 90 degrees about z (its sign), scale; projection: identity.
    float m[32], expected[32] = {0, 0.25f, 0, 0, -0.5f, 0, 0, 0, 0, 0, 1, 0, 0.5f, 0, 0, 1,
                                 1, 0,     0, 0, 0,     1, 0, 0, 0, 0, 1, 0, 0,    0, 0, 1};
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glGetFloatv(GL_PROJECTION_MATRIX, m + 16);
    EXPECT_THAT(m, Pointwise(FloatNear(1e-6f), expected));
    SubTexture_Destroy(subTexture);
    Texture_Destroy(texture);
}

#define OBJ     "# Wavefront OBJ\n"
#define READ    "_parseObjFile|_isObjData|"
#define REFUSED "Not Wavefront OBJ txt data.|Unable to parse Obj File|"

TEST_F(ModelTest, ObjReadsLinesGroupsAndEndingsWithTheirLogLines)
{
    // The log after the reader's first lines and the model's Shape(); none when refused.
    auto check =
        [&](const std::string &input, const std::string &log, const std::vector<int32_t> &shape)
    {
        SCOPED_TRACE(input);
        EXPECT_EQ(LoadObj(input), READ + log);
        EXPECT_THAT(Shape(), ElementsAreArray(shape));
    };
    // A group line closes the faces before it as a mesh; the end closes the last.
    check(OBJ "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\ng first\nf 1 2 3\nf 2 4 3\n", "group first|",
          {4, 0, 0, 2, 0, 0, 0, 0, 2, 2});
    // "g " and "gshort" close a mesh, "g" alone does not.
    check(OBJ "mtllib a.mtl\nusemtl red\nv 1 2\nvt 0.5\nvn 1 0\nv 1 2 3\nf 1 1\ng\ng \ngshort\n"
              "# comment\no object\ns 1\n\nvx 1 2 3\n",
          "mtllib|usemtl|Unable to parse vertex|Unable to parse texcoord|Unable to parse normal|"
          "Unable to parse polygon line <f 1 1>.|group|Unable to parse group|group short|"
          "Unable to parse vertex|",
          {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    // Faces pointing outside the arrays, or at position 0, are dropped; meshes follow.
    check(OBJ "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\ng a\nf 1 2 3\nf 1 2 4\nf 1/2 2/1 3/1\n"
              "g b\nf 0 1 2\nf -1 1 2\nf 3 2 1\nf x 1 2\n",
          "group a|group b|Face 1" DROPPED "Face 2" DROPPED "Face 3" DROPPED "Face 4" DROPPED
          "Face 6" DROPPED,
          {3, 1, 0, 2, 0, 0, 0, 0, 1, 1, 1, 1, 2});
    // Carriage returns end lines, and so does the end of the text.
    check(OBJ "v 0 0 0\r\nv 4 0 0\r\nv 0 2 0\r\ng tri\r\nf 1 2 3", "group tri|",
          {3, 0, 0, 1, 0, 0, 0, 0, 1, 1});
    check(OBJ "g\r\nv 1 1 1", "group|", {1, 0, 0, 0, 0, 0, 0});
    check("# Wavefront OBJ", "", {0, 0, 0, 0, 0, 0, 0});
    // Corners cut after 31 characters: normal saturates, zero tail is a 4th corner (stored -1).
    check(OBJ "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\ng " + std::string(40, 'n') +
              "\nf 1/1/1" + std::string(40, '0') + " 2/1/1 3/1/1\n",
          "group " + std::string(32, 'n') + "|Face 0" DROPPED "Face 1" DROPPED,
          {3, 1, 1, 0, 0, 0, 0, 0, 0, 0});
    check("# Wavefront OB", REFUSED, {});
    check("# wavefront OBJ\nv 1 2 3\n", "Invalid OBJ magic.|" REFUSED, {});
    EXPECT_EQ(LogMessages([&] { model = MeshObj_Create(nullptr, 100); }), READ REFUSED);
    EXPECT_EQ(model, nullptr);
}

TEST_F(ModelTest, ObjSplitsQuadsStoresMinusOneForMissingIndicesAndReadsNumbersAsScanf)
{
    const std::string text = OBJ "v 0 0 0\nvt 0 0\nvn 0 0 1\nv 1 0 0\nvt 0 0\nvn 0 0 1\n"
                                 "v 2 0 0\nvt 0 0\nvn 0 0 1\nv 3 0 0\nvt 0 0\nvn 0 0 1\n";
    LoadObj(text + "f 1/1/1 2/2/2 3/3/3 4/4/4\n");
    ASSERT_EQ(Model_GetFaceCount(model), 2);
    EXPECT_THAT(FaceIndices(0), ElementsAre(0, 1, 2, 0, 1, 2, 0, 1, 2));
    EXPECT_THAT(FaceIndices(1), ElementsAre(0, 2, 3, 0, 2, 3, 0, 2, 3));
    EXPECT_THAT(Shape(), ElementsAre(4, 4, 4, 2, 0, 2, 2));
    LoadObj(text + "f 1 2 3 4 1\n"); // five corners: only four are read, as a quad
    EXPECT_EQ(Model_GetFaceCount(model), 2);

    LoadObj(OBJ "v 0 0 0\nv 2 0 0\nv 0 2 0\nvt 0.5 0.25\nvn 0 0 1\nvn 0 1 0\n"
                "f 1//2 2//1 3//2\nf 1/1 2/1 3/1\nf 3 2 1\n");
    ASSERT_EQ(Model_GetFaceCount(model), 3);
    EXPECT_THAT(FaceIndices(0), ElementsAre(0, 1, 2, -1, -1, -1, 1, 0, 1));
    EXPECT_THAT(FaceIndices(1), ElementsAre(0, 1, 2, 0, 0, 0, -1, -1, -1));
    EXPECT_THAT(FaceIndices(2), ElementsAre(2, 1, 0, -1, -1, -1, -1, -1, -1));

    LoadObj(OBJ "v +1.5e1 -0x1p1 .5\nv 1. 2 3 7\nv\t4\t5\t6\r\nvt 0.25 1e-1 9\nvn -0 +0 1\n");
    EXPECT_THAT(Shape(), ElementsAre(3, 1, 1, 0, 0, 0, 0));
    EXPECT_THAT(Floats(Model_GetVertices(model), 9),
                ElementsAre(1, -2 / 15.0f, 0.5f / 15, 1 / 15.0f, 2 / 15.0f, 3 / 15.0f, 4 / 15.0f,
                            5 / 15.0f, 6 / 15.0f));
    EXPECT_THAT(Floats(Model_GetTexCoords(model), 2), ElementsAre(0.25f, 0.1f));
    // 1e40 is read as infinity, as strtof reads it, and then swamps the normalisation.
    LoadObj(OBJ "v 1 0 0\nv 1e40 0 0\n");
    EXPECT_EQ(Model_GetVertices(model)[0], 0.0f);
    EXPECT_FALSE(std::isfinite(Model_GetVertices(model)[3]));
}

#define OBJECT(name)                                                                               \
    "_parseTag3D3D|_parseTag4000|_parseTag4000 object name=" name ".|_parseTag4100|TriangleData|"
#define POSITIONS  "_parseTag4110 - vertex coords|"
#define TEXCOORDS  "_parseTag4140 - texture coords|"
#define FACES      "_parseTag4120 - faces|"
#define SHORT(tag) "Not enough data left for parseTag" tag "|"

const std::vector<float> kPositions = {0, 0, 0, 2, 0, 0, 0, 4, 0, 2, 4, 1};
const std::vector<float> kTexCoords = {0, 0, 1, 0, 0, 1, 0.25f, 0.75f};
const std::vector<uint16_t> kFaces = {0, 1, 2, 1, 3, 2};

TEST_F(ModelTest, ThreeDsWalksTheChunksWithTheirLogLinesAndDebugValues)
{
    auto check = [&](const Bytes &input, const std::string &log, const std::vector<int32_t> &shape)
    {
        SCOPED_TRACE(log);
        debugString = "before", debugInteger = 99;
        EXPECT_EQ(Load3ds(input), "_parse3dsFile|_is3DSData|" + log);
        // A refusal leaves its report in the debug values; a load resets them.
        EXPECT_STREQ(debugString, shape.empty() ? "Not 3DS data." : nullptr);
        EXPECT_EQ(debugInteger, shape.empty() ? -3 : 0);
        EXPECT_THAT(Shape(), ElementsAreArray(shape));
    };
    auto set = [](Bytes bytes, size_t at, uint8_t value) { return bytes[at] = value, bytes; };
    auto block = [](const std::vector<Bytes> &chunks) { return Chunk(0x4100, Concat(chunks)); };
    check(File({Object("box", kPositions, kTexCoords, kFaces)}),
          "_parseTag4D4D|_parseTag0002|" OBJECT("box") POSITIONS TEXCOORDS FACES,
          {4, 4, 0, 2, 0, 2, 2});
    check(Main({}), "_parseTag4D4D|", {0, 0, 0, 0});
    check(
        Main({Chunk(0x0002, {3, 0, 0, 0}), Chunk(0x1234, {1, 2, 3}), Chunk(0xB000, {}),
              Chunk(0x3D3D, Concat({Chunk(0xAFFF, {1}), Object("tri", kPositions, {}, kFaces)}))}),
        "_parseTag4D4D|_parseTag0002|Unknown tag|_parseTagB000|" OBJECT("tri") POSITIONS FACES,
        {4, 0, 0, 2, 0, 2, 2});
    check({0x4D, 0x4C, 6, 0, 0, 0}, "Invalid 3ds magic.|Not 3DS data.|Unable to parse 3dsFile|",
          {});
    check({0x4D, 0x4D, 6}, "Invalid 3ds header size.|Not 3DS data.|Unable to parse 3dsFile|", {});
    // Array chunks whose counts go beyond their data are skipped (10 positions need 120 bytes).
    check(InObject({block({Chunk(0x4110, Concat({U16(10), Bytes(98)}))})}),
          "_parseTag4D4D|" OBJECT("s") POSITIONS SHORT("4110"), {0, 0, 0, 0, 0, 0, 0});
    check(InObject({block({Chunk(0x4110, Concat({U16(10), Bytes(121)}))})}),
          "_parseTag4D4D|" OBJECT("s") POSITIONS, {10, 0, 0, 0, 0, 0, 0});
    check(InObject({block({Chunk(0x4140, U16(9)), Chunk(0x4120, U16(9))})}),
          "_parseTag4D4D|" OBJECT("s") TEXCOORDS SHORT("4140") FACES SHORT("4120"),
          {0, 0, 0, 0, 0, 0, 0});
    // A position chunk after the mesh block is still met: the walk ends at the object's end.
    check(InObject({block({Chunk(0x4120, Le<uint16_t>({1, 0, 1, 2, 0}))}),
                    Chunk(0x4110, Concat({U16(3), Le(std::vector<float>(9))}))}),
          "_parseTag4D4D|" OBJECT("s") FACES POSITIONS, {3, 0, 0, 1, 0, 1, 1});
    // Lying lengths never lead past the data.
    check(set(Main({Chunk(0x0002, {3, 0})}), 8, 200), // the version chunk's length
          "_parseTag4D4D|Invalid 3ds file size, 2: 200 != 8|_parseTag0002|Wrong size|",
          {0, 0, 0, 0});
    check(Concat({Main({Chunk(0x0002, {3, 0})}), {1, 2, 3}}),
          "_parseTag4D4D|_parseTag0002|Invalid 3ds header size.|Wrong size|", {0, 0, 0, 0});
    check(set(InObject({}), 14, 0), // the object's length
          "_parseTag4D4D|_parseTag3D3D|Invalid 3ds chunk length, 16384: 0|", {0, 0, 0, 0});
    check(InObject({}, {'a', 'b', 'c'}),
          "_parseTag4D4D|_parseTag3D3D|_parseTag4000|Object name runs past the data.|",
          {0, 0, 0, 0});
    check(File({Object("bad", kPositions, {}, {0, 1, 2, 0, 1, 4, 3, 2, 1})}),
          "_parseTag4D4D|_parseTag0002|" OBJECT("bad") POSITIONS FACES "Face 1" DROPPED,
          {4, 0, 0, 2, 0, 2, 2});
}

TEST_F(ModelTest, ThreeDsReadsObjectsIntoSharedArraysWithOffsetIndices)
{
    Load3ds(File({Object("first", kPositions, kTexCoords, kFaces),
                  Object("second", {10, 0, 0, 10, 2, 0, 10, 0, 2}, {}, {0, 1, 2}),
                  Object("third", kPositions, kTexCoords, {3, 2, 1})}));
    ASSERT_NE(model, nullptr);
    EXPECT_STREQ(Model_GetName(model), "third");
    EXPECT_THAT(Shape(), ElementsAre(11, 8, 0, 4, 0, 2, 2, 2, 1, 3, 3, 1, 4));
    EXPECT_THAT(FaceIndices(2), ElementsAre(4, 5, 6, -1, -1, -1, -1, -1, -1));
    EXPECT_THAT(FaceIndices(3), ElementsAre(10, 9, 8, 7, 6, 5, -1, -1, -1));
    Load3ds(InObject({}, {'a', 'b', 'c'})); // a name without its zero, at the end of the data
    EXPECT_EQ(Model_GetName(model), nullptr);
}

} // namespace
