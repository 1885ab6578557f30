// 3DS reader: the chunk walk with its log lines and debug values, refusals, short and lying
// chunks, and several objects merged into one model.
#include "toolkit/mesh_3ds.h"

#include "foundation/logging.h"
#include "resources/targa.h"
#include "shapes.h"
#include "toolkit/mesh.h"
#include "toolkit/model.h"
#include "toolkit_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::Contains;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

namespace
{

const std::vector<float> kTrianglePositions = {0, 0, 0, 2, 0, 0, 0, 4, 0, 2, 4, 1};
const std::vector<float> kTriangleTexCoords = {0, 0, 1, 0, 0, 1, 0.25f, 0.75f};
const std::vector<uint16_t> kTriangleFaces = {0, 1, 2, 1, 3, 2};

class Mesh3dsTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        Logging_SetLevel(LOGGING_LEVEL_ERROR);
        debugString = "before";
        debugInteger = 99;
    }
    void TearDown() override
    {
        if (model != nullptr)
        {
            Model_Destroy(model);
        }
        debugString = nullptr;
        debugInteger = 0;
        Logging_SetLevel(LOGGING_LEVEL_DEBUG);
    }

    // Loads from read-only memory that ends at an inaccessible page.
    std::vector<std::string> Load(const std::vector<uint8_t> &bytes)
    {
        if (model != nullptr)
        {
            Model_Destroy(model);
        }
        GuardedBuffer buffer(bytes);
        return LogMessages(
            CaptureLines([&] { model = Mesh3DS_Create(buffer.data(), buffer.size()); }));
    }

    Model *model = nullptr;
};

std::vector<uint8_t> Main(const std::vector<std::vector<uint8_t>> &chunks)
{
    return Shapes_Chunk(0x4D4D, Shapes_Concat(chunks));
}

TEST_F(Mesh3dsTest, ReadsAnObjectWithTheDocumentedLogLines)
{
    const auto log = Load(Shapes_File3ds(
        {Shapes_Object3ds("box", kTrianglePositions, kTriangleTexCoords, kTriangleFaces)}));
    ASSERT_NE(model, nullptr);
    EXPECT_THAT(log, ElementsAre("_parse3dsFile", "_is3DSData", "_parseTag4D4D", "_parseTag0002",
                                 "_parseTag3D3D", "_parseTag4000", "_parseTag4000 object name=box.",
                                 "_parseTag4100", "TriangleData", "_parseTag4110 - vertex coords",
                                 "_parseTag4140 - texture coords", "_parseTag4120 - faces"));
    EXPECT_EQ(debugString, nullptr);
    EXPECT_EQ(debugInteger, 0);
    EXPECT_STREQ(Model_GetName(model), "box");
    EXPECT_EQ(Model_GetVertexCount(model), 4);
    EXPECT_EQ(Model_GetTexCoordCount(model), 4);
    ASSERT_EQ(Model_GetFaceCount(model), 2);
    const ModelFace &f = Model_GetFaces(model)[1];
    EXPECT_THAT(std::vector<int32_t>(f.vertex, f.vertex + 3), ElementsAre(1, 3, 2));
    EXPECT_THAT(std::vector<int32_t>(f.texCoord, f.texCoord + 3), ElementsAre(1, 3, 2));
    EXPECT_THAT(std::vector<int32_t>(f.normal, f.normal + 3), ElementsAre(-1, -1, -1));
    ASSERT_EQ(Model_GetMeshCount(model), 1);
    Mesh *mesh = Model_GetMesh(model, 0);
    EXPECT_EQ(Mesh_GetFirstFace(mesh), 0);
    EXPECT_EQ(Mesh_GetFaceCount(mesh), 2);
    EXPECT_EQ(Mesh_GetEndFace(mesh), 2);
    // Second face, corners 0, 2, 1: positions 1, 2, 3 normalised by 4.
    const MeshVertex *g = Mesh_GetGPUData(mesh);
    EXPECT_EQ(g[3].x, 0.5f);
    EXPECT_EQ(g[4].y, 1.0f);
    EXPECT_EQ(g[5].z, 0.25f);
    EXPECT_EQ(g[5].u, 0.25f);
    EXPECT_EQ(g[5].v, 0.25f);
}

TEST_F(Mesh3dsTest, MainChunkAloneIsAnEmptyModel)
{
    const auto log = Load(Main({}));
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(Model_GetMeshCount(model), 0);
    EXPECT_EQ(debugString, nullptr);
    EXPECT_EQ(debugInteger, 0);
    EXPECT_THAT(log, ElementsAre("_parse3dsFile", "_is3DSData", "_parseTag4D4D"));
}

TEST_F(Mesh3dsTest, UnknownTagIsReportedAndTheWalkGoesOn)
{
    const auto log = Load(Main(
        {Shapes_Chunk(0x0002, {3, 0, 0, 0}), Shapes_Chunk(0x1234, {1, 2, 3}),
         Shapes_Chunk(0xB000, {}),
         Shapes_Chunk(0x3D3D, Shapes_Object3ds("tri", kTrianglePositions, {}, kTriangleFaces))}));
    ASSERT_NE(model, nullptr);
    EXPECT_THAT(log, Contains("Unknown tag"));
    EXPECT_THAT(log, Contains("_parseTagB000"));
    EXPECT_EQ(Model_GetFaceCount(model), 2);
    // Without coordinates in the block the faces have none.
    EXPECT_EQ(Model_GetFaces(model)[0].texCoord[0], -1);
    EXPECT_EQ(debugString, nullptr);
}

TEST_F(Mesh3dsTest, DebugValuesHoldTheLastReportUntilTheEnd)
{
    // The version and the unknown tag are reported on the way; only a refusal keeps its values.
    const std::vector<uint8_t> bad = {0x4D, 0x4C, 6, 0, 0, 0};
    const auto log = Load(bad);
    EXPECT_EQ(model, nullptr);
    EXPECT_STREQ(debugString, "Not 3DS data.");
    EXPECT_EQ(debugInteger, -3);
    EXPECT_THAT(log, ElementsAre("_parse3dsFile", "_is3DSData", "Invalid 3ds magic.",
                                 "Not 3DS data.", "Unable to parse 3dsFile"));

    const auto shortLog = Load({0x4D, 0x4D, 6});
    EXPECT_EQ(model, nullptr);
    EXPECT_STREQ(debugString, "Not 3DS data.");
    EXPECT_THAT(shortLog, ElementsAre("_parse3dsFile", "_is3DSData", "Invalid 3ds header size.",
                                      "Not 3DS data.", "Unable to parse 3dsFile"));
}

TEST_F(Mesh3dsTest, ShortArrayChunksAreSkipped)
{
    // A position chunk of count 10 holding only 100 bytes, last in the data.
    std::vector<uint8_t> positions = Shapes_U16(10);
    positions.resize(100, 0);
    std::vector<uint8_t> name = {'s', 0};
    auto log = Load(Main({Shapes_Chunk(
        0x3D3D, Shapes_Chunk(
                    0x4000, Shapes_Concat(
                                {name, Shapes_Chunk(0x4100, Shapes_Chunk(0x4110, positions))})))}));
    ASSERT_NE(model, nullptr);
    EXPECT_THAT(log, Contains("Not enough data left for parseTag4110"));
    EXPECT_EQ(Model_GetVertexCount(model), 0);
    EXPECT_EQ(Model_GetMeshCount(model), 1);

    // Exactly enough: 2 + 10 x 12 bytes plus one byte more.
    positions.resize(2 + 120 + 1, 0);
    log = Load(Main({Shapes_Chunk(
        0x3D3D, Shapes_Chunk(
                    0x4000, Shapes_Concat(
                                {name, Shapes_Chunk(0x4100, Shapes_Chunk(0x4110, positions))})))}));
    EXPECT_THAT(log, Not(Contains("Not enough data left for parseTag4110")));
    EXPECT_EQ(Model_GetVertexCount(model), 10);

    // Faces and coordinates with counts beyond their chunks.
    log = Load(Main({Shapes_Chunk(
        0x3D3D,
        Shapes_Chunk(
            0x4000,
            Shapes_Concat(
                {name,
                 Shapes_Chunk(0x4100, Shapes_Concat({Shapes_Chunk(0x4140, Shapes_U16(9)),
                                                     Shapes_Chunk(0x4120, Shapes_U16(9))}))})))}));
    EXPECT_THAT(log, Contains("Not enough data left for parseTag4140"));
    EXPECT_THAT(log, Contains("Not enough data left for parseTag4120"));
    EXPECT_EQ(Model_GetFaceCount(model), 0);
}

TEST_F(Mesh3dsTest, ObjectsAndBlocksAreMergedWithOffsetIndices)
{
    const std::vector<float> far = {10, 0, 0, 10, 2, 0, 10, 0, 2};
    const auto log = Load(Shapes_File3ds(
        {Shapes_Object3ds("first", kTrianglePositions, kTriangleTexCoords, kTriangleFaces),
         Shapes_Object3ds("second", far, {}, {0, 1, 2}),
         Shapes_Object3ds("third", kTrianglePositions, kTriangleTexCoords, {3, 2, 1})}));
    ASSERT_NE(model, nullptr);
    EXPECT_STREQ(Model_GetName(model), "third");
    EXPECT_EQ(Model_GetVertexCount(model), 11);
    EXPECT_EQ(Model_GetTexCoordCount(model), 8);
    ASSERT_EQ(Model_GetFaceCount(model), 4);
    const ModelFace *faces = Model_GetFaces(model);
    EXPECT_THAT(std::vector<int32_t>(faces[2].vertex, faces[2].vertex + 3), ElementsAre(4, 5, 6));
    EXPECT_THAT(std::vector<int32_t>(faces[2].texCoord, faces[2].texCoord + 3),
                ElementsAre(-1, -1, -1));
    EXPECT_THAT(std::vector<int32_t>(faces[3].vertex, faces[3].vertex + 3), ElementsAre(10, 9, 8));
    EXPECT_THAT(std::vector<int32_t>(faces[3].texCoord, faces[3].texCoord + 3),
                ElementsAre(7, 6, 5));
    ASSERT_EQ(Model_GetMeshCount(model), 3);
    const int32_t expected[3][3] = {{0, 2, 2}, {2, 1, 3}, {3, 1, 4}};
    for (int32_t m = 0; m < 3; m++)
    {
        Mesh *mesh = Model_GetMesh(model, m);
        EXPECT_EQ(Mesh_GetFirstFace(mesh), expected[m][0]) << m;
        EXPECT_EQ(Mesh_GetFaceCount(mesh), expected[m][1]) << m;
        EXPECT_EQ(Mesh_GetEndFace(mesh), expected[m][2]) << m;
    }
    // The second object's triangle lies at x = 10, normalised to 1.
    const MeshVertex *g = Mesh_GetGPUData(Model_GetMesh(model, 1));
    EXPECT_EQ(g[0].x, 1.0f);
    EXPECT_EQ(g[1].x, 1.0f);
    EXPECT_THAT(log, Contains("_parseTag4000 object name=second."));
}

TEST_F(Mesh3dsTest, LyingLengthsNeverLeadPastTheData)
{
    // A chunk claiming more than there is: reported, and the main level comes out negative.
    std::vector<uint8_t> bytes = Main({Shapes_Chunk(0x0002, {3, 0})});
    bytes[8] = 200; // the version chunk's length
    auto log = Load(bytes);
    ASSERT_NE(model, nullptr);
    EXPECT_THAT(log, Contains("Invalid 3ds file size, 2: 200 != 8"));
    EXPECT_THAT(log, Contains("Wrong size"));
    EXPECT_EQ(debugString, nullptr);

    // Three bytes after the last chunk: no header fits, the level ends with bytes left over.
    bytes = Main({Shapes_Chunk(0x0002, {3, 0})});
    bytes.insert(bytes.end(), {1, 2, 3});
    log = Load(bytes);
    EXPECT_THAT(log, ElementsAre("_parse3dsFile", "_is3DSData", "_parseTag4D4D", "_parseTag0002",
                                 "Invalid 3ds header size.", "Wrong size"));

    // A zero length would never move the walk on.
    bytes = Main({Shapes_Chunk(0x3D3D, Shapes_Chunk(0x4000, {'x', 0}))});
    bytes[14] = 0; // the object's length
    log = Load(bytes);
    ASSERT_NE(model, nullptr);
    EXPECT_THAT(log, Contains(HasSubstr("Invalid 3ds chunk length, 16384: 0")));

    // A name without its terminating zero, at the very end of the data.
    bytes = Main({Shapes_Chunk(0x3D3D, Shapes_Chunk(0x4000, {'a', 'b', 'c'}))});
    log = Load(bytes);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(Model_GetName(model), nullptr);

    // Triangles pointing past the positions are dropped, the rest kept.
    log = Load(Shapes_File3ds(
        {Shapes_Object3ds("bad", kTrianglePositions, {}, {0, 1, 2, 0, 1, 4, 3, 2, 1})}));
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(Model_GetFaceCount(model), 2);
    EXPECT_THAT(log, Contains("Face 1 points outside the model's arrays and is dropped."));
    EXPECT_EQ(Mesh_GetFaceCount(Model_GetMesh(model, 0)), 2);
}

TEST_F(Mesh3dsTest, WalksRunOnPastTheirChunkAtTheLevelAbove)
{
    // A position chunk after the triangle-mesh block, inside the same object, is still met by
    // the block's walk, which is bounded by its object's bytes, not by its own length.
    std::vector<uint8_t> name = {'o', 0};
    const auto block = Shapes_Chunk(
        0x4100, Shapes_Chunk(0x4120, Shapes_Concat({Shapes_U16(1), Shapes_U16(0), Shapes_U16(1),
                                                    Shapes_U16(2), Shapes_U16(0)})));
    const auto positions = Shapes_Chunk(
        0x4110, Shapes_Concat({Shapes_U16(3), Shapes_Floats({0, 0, 0, 1, 0, 0, 0, 1, 0})}));
    const auto log = Load(Main(
        {Shapes_Chunk(0x3D3D, Shapes_Chunk(0x4000, Shapes_Concat({name, block, positions})))}));
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(Model_GetVertexCount(model), 3);
    EXPECT_EQ(Model_GetFaceCount(model), 1);
    EXPECT_THAT(log, Not(Contains("Wrong size")));
}

} // namespace
