// 3DS reader: the chunk walk with its log lines and debug values, refusals, short and lying
// chunks, and several objects merged into one model.
#include "toolkit/mesh_3ds.h"

#include "resources/targa.h"
#include "shapes.h"
#include "toolkit/mesh.h"
#include "toolkit/model.h"
#include "toolkit_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::ElementsAre;
using testing::ElementsAreArray;

#define OBJECT(name)                                                                               \
    "_parseTag3D3D|_parseTag4000|_parseTag4000 object name=" name ".|_parseTag4100|TriangleData|"
#define POSITIONS  "_parseTag4110 - vertex coords|"
#define TEXCOORDS  "_parseTag4140 - texture coords|"
#define FACES      "_parseTag4120 - faces|"
#define SHORT(tag) "Not enough data left for parseTag" tag "|"

namespace
{

const std::vector<float> kPositions = {0, 0, 0, 2, 0, 0, 0, 4, 0, 2, 4, 1};
const std::vector<float> kTexCoords = {0, 0, 1, 0, 0, 1, 0.25f, 0.75f};
const std::vector<uint16_t> kFaces = {0, 1, 2, 1, 3, 2};

class Mesh3dsTest : public ModelFixture
{
};

std::vector<uint8_t> Main(const std::vector<std::vector<uint8_t>> &chunks)
{
    return Shapes_Chunk(0x4D4D, Shapes_Concat(chunks));
}

// A file of one object "s", named by the bytes given, holding the chunks given.
std::vector<uint8_t> InObject(const std::vector<std::vector<uint8_t>> &chunks,
                              const std::vector<uint8_t> &name = {'s', 0})
{
    return Main(
        {Shapes_Chunk(0x3D3D, Shapes_Chunk(0x4000, Shapes_Concat({name, Shapes_Concat(chunks)})))});
}

// The bytes, the log after "_parse3dsFile" and "_is3DSData", and the model's Shape(); a
// refused file has no model.
struct ThreeDsCase
{
    std::vector<uint8_t> bytes;
    std::string log;
    std::vector<int32_t> shape;
};

TEST_F(Mesh3dsTest, WalksTheChunksWithTheirLogLinesAndDebugValues)
{
    std::vector<uint8_t> lyingVersion = Main({Shapes_Chunk(0x0002, {3, 0})});
    lyingVersion[8] = 200; // the version chunk's length
    std::vector<uint8_t> zeroLength = InObject({});
    zeroLength[14] = 0; // the object's length
    std::vector<uint8_t> positions = Shapes_U16(10), morePositions = Shapes_U16(10);
    positions.resize(100, 0); // 10 positions need 120 bytes
    morePositions.resize(2 + 120 + 1, 0);
    auto block = [](const std::vector<std::vector<uint8_t>> &chunks)
    { return Shapes_Chunk(0x4100, Shapes_Concat(chunks)); };
    // A position chunk after the triangle-mesh block, inside the same object, is still met by
    // the block's walk, which is bounded by its object's bytes, not by its own length.
    const std::vector<uint8_t> after = InObject(
        {block({Shapes_Chunk(0x4120, Shapes_Concat({Shapes_U16(1), Shapes_U16(0), Shapes_U16(1),
                                                    Shapes_U16(2), Shapes_U16(0)}))}),
         Shapes_Chunk(0x4110,
                      Shapes_Concat({Shapes_U16(3), Shapes_Floats(std::vector<float>(9))}))});
    const ThreeDsCase cases[] = {
        {Shapes_File3ds({Shapes_Object3ds("box", kPositions, kTexCoords, kFaces)}),
         "_parseTag4D4D|_parseTag0002|" OBJECT("box") POSITIONS TEXCOORDS FACES,
         {4, 4, 0, 2, 0, 2, 2}},
        {Main({}), "_parseTag4D4D|", {0, 0, 0, 0}},
        {Main({Shapes_Chunk(0x0002, {3, 0, 0, 0}), Shapes_Chunk(0x1234, {1, 2, 3}),
               Shapes_Chunk(0xB000, {}),
               Shapes_Chunk(0x3D3D, Shapes_Object3ds("tri", kPositions, {}, kFaces))}),
         "_parseTag4D4D|_parseTag0002|Unknown tag|_parseTagB000|" OBJECT("tri") POSITIONS FACES,
         {4, 0, 0, 2, 0, 2, 2}},
        {{0x4D, 0x4C, 6, 0, 0, 0}, "Invalid 3ds magic.|Not 3DS data.|Unable to parse 3dsFile|", {}},
        {{0x4D, 0x4D, 6}, "Invalid 3ds header size.|Not 3DS data.|Unable to parse 3dsFile|", {}},
        // Array chunks whose counts go beyond their data are skipped.
        {InObject({block({Shapes_Chunk(0x4110, positions)})}),
         "_parseTag4D4D|" OBJECT("s") POSITIONS SHORT("4110"),
         {0, 0, 0, 0, 0, 0, 0}},
        {InObject({block({Shapes_Chunk(0x4110, morePositions)})}),
         "_parseTag4D4D|" OBJECT("s") POSITIONS,
         {10, 0, 0, 0, 0, 0, 0}},
        {InObject(
             {block({Shapes_Chunk(0x4140, Shapes_U16(9)), Shapes_Chunk(0x4120, Shapes_U16(9))})}),
         "_parseTag4D4D|" OBJECT("s") TEXCOORDS SHORT("4140") FACES SHORT("4120"),
         {0, 0, 0, 0, 0, 0, 0}},
        {after, "_parseTag4D4D|" OBJECT("s") FACES POSITIONS, {3, 0, 0, 1, 0, 1, 1}},
        // Lying lengths never lead past the data.
        {lyingVersion,
         "_parseTag4D4D|Invalid 3ds file size, 2: 200 != 8|_parseTag0002|Wrong size|",
         {0, 0, 0, 0}},
        {Shapes_Concat({Main({Shapes_Chunk(0x0002, {3, 0})}), {1, 2, 3}}),
         "_parseTag4D4D|_parseTag0002|Invalid 3ds header size.|Wrong size|",
         {0, 0, 0, 0}},
        {zeroLength,
         "_parseTag4D4D|_parseTag3D3D|Invalid 3ds chunk length, 16384: 0|",
         {0, 0, 0, 0}},
        {InObject({}, {'a', 'b', 'c'}),
         "_parseTag4D4D|_parseTag3D3D|_parseTag4000|Object name runs past the data.|",
         {0, 0, 0, 0}},
        {Shapes_File3ds({Shapes_Object3ds("bad", kPositions, {}, {0, 1, 2, 0, 1, 4, 3, 2, 1})}),
         "_parseTag4D4D|_parseTag0002|" OBJECT("bad") POSITIONS FACES
         "Face 1 points outside the model's arrays and is dropped.|",
         {4, 0, 0, 2, 0, 2, 2}},
    };
    for (const ThreeDsCase &c : cases)
    {
        SCOPED_TRACE(c.log);
        debugString = "before";
        debugInteger = 99;
        EXPECT_EQ(Load3ds(c.bytes), "_parse3dsFile|_is3DSData|" + c.log);
        // A refusal leaves its report in the debug values; a load resets them.
        const bool refused = c.shape.empty();
        EXPECT_STREQ(debugString, refused ? "Not 3DS data." : nullptr);
        EXPECT_EQ(debugInteger, refused ? -3 : 0);
        EXPECT_THAT(Shape(), ElementsAreArray(c.shape));
    }
}

TEST_F(Mesh3dsTest, ReadsObjectsIntoSharedArraysWithOffsetIndices)
{
    const std::string log = Load3ds(
        Shapes_File3ds({Shapes_Object3ds("first", kPositions, kTexCoords, kFaces),
                        Shapes_Object3ds("second", {10, 0, 0, 10, 2, 0, 10, 0, 2}, {}, {0, 1, 2}),
                        Shapes_Object3ds("third", kPositions, kTexCoords, {3, 2, 1})}));
    ASSERT_NE(model, nullptr);
    EXPECT_THAT(log, testing::HasSubstr("|_parseTag4000 object name=second.|"));
    EXPECT_STREQ(Model_GetName(model), "third");
    EXPECT_THAT(Shape(), ElementsAre(11, 8, 0, 4, 0, 2, 2, 2, 1, 3, 3, 1, 4));
    EXPECT_THAT(FaceIndices(1), ElementsAre(1, 3, 2, 1, 3, 2, -1, -1, -1));
    EXPECT_THAT(FaceIndices(2), ElementsAre(4, 5, 6, -1, -1, -1, -1, -1, -1));
    EXPECT_THAT(FaceIndices(3), ElementsAre(10, 9, 8, 7, 6, 5, -1, -1, -1));
    // The second object's triangle lies at x = 10, normalised to 1.
    const MeshVertex *g = Mesh_GetGPUData(Model_GetMesh(model, 1));
    EXPECT_THAT((std::vector<float>{g[0].x, g[1].x}), ElementsAre(1, 1));

    Load3ds(InObject({}, {'a', 'b', 'c'})); // a name without its zero, at the end of the data
    EXPECT_EQ(Model_GetName(model), nullptr);
}

} // namespace
