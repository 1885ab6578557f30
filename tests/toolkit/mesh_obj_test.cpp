// OBJ reader: the recognised lines, groups closed as meshes, quads split, corner forms with
// missing indices, refusals, and text that is read-only and ends without a line feed.
#include "toolkit/mesh_obj.h"

#include "foundation/logging.h"
#include "toolkit/mesh.h"
#include "toolkit/model.h"
#include "toolkit_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::HasSubstr;
using testing::IsEmpty;

namespace
{

const std::string kHeader = "# Wavefront OBJ\n";

class MeshObjTest : public testing::Test
{
  protected:
    void SetUp() override { Logging_SetLevel(LOGGING_LEVEL_ERROR); }
    void TearDown() override
    {
        if (model != nullptr)
        {
            Model_Destroy(model);
        }
        Logging_SetLevel(LOGGING_LEVEL_DEBUG);
    }

    // Loads the text from read-only memory that ends at an inaccessible page.
    std::vector<std::string> Load(const std::string &text)
    {
        if (model != nullptr)
        {
            Model_Destroy(model);
        }
        GuardedBuffer buffer(text);
        return LogMessages(
            CaptureLines([&] { model = MeshObj_Create(buffer.text(), buffer.size()); }));
    }

    std::vector<int32_t> MeshRanges()
    {
        std::vector<int32_t> ranges;
        for (int32_t m = 0; m < Model_GetMeshCount(model); m++)
        {
            Mesh *mesh = Model_GetMesh(model, m);
            ranges.insert(ranges.end(), {Mesh_GetFirstFace(mesh), Mesh_GetFaceCount(mesh),
                                         Mesh_GetEndFace(mesh)});
        }
        return ranges;
    }

    std::vector<int32_t> FaceIndices(int32_t index)
    {
        const ModelFace &f = Model_GetFaces(model)[index];
        return {f.vertex[0],   f.vertex[1], f.vertex[2], f.texCoord[0], f.texCoord[1],
                f.texCoord[2], f.normal[0], f.normal[1], f.normal[2]};
    }

    Model *model = nullptr;
};

TEST_F(MeshObjTest, GroupLineClosesTheFacesBeforeIt)
{
    const auto log = Load(kHeader + "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\n"
                                    "g first\nf 1 2 3\nf 2 4 3\n");
    ASSERT_NE(model, nullptr);
    EXPECT_THAT(log, ElementsAre("_parseObjFile", "_isObjData", "group first"));
    EXPECT_THAT(MeshRanges(), ElementsAre(0, 0, 0, 0, 2, 2));
}

TEST_F(MeshObjTest, QuadsSplitIntoTwoTrianglesInEveryIndexKind)
{
    std::string text = kHeader;
    for (int32_t i = 0; i < 4; i++)
    {
        text += "v " + std::to_string(i) + " 0 0\nvt 0 0\nvn 0 0 1\n";
    }
    Load(text + "f 1/1/1 2/2/2 3/3/3 4/4/4\n");
    ASSERT_EQ(Model_GetFaceCount(model), 2);
    EXPECT_THAT(FaceIndices(0), ElementsAre(0, 1, 2, 0, 1, 2, 0, 1, 2));
    EXPECT_THAT(FaceIndices(1), ElementsAre(0, 2, 3, 0, 2, 3, 0, 2, 3));
    EXPECT_THAT(MeshRanges(), ElementsAre(0, 2, 2));
    // Five corners: only four tokens are read, as a quad.
    Load(text + "f 1 2 3 4 1\n");
    EXPECT_EQ(Model_GetFaceCount(model), 2);
}

TEST_F(MeshObjTest, CornersWithoutCoordinatesOrNormalsStoreMinusOne)
{
    const std::string points = "v 0 0 0\nv 2 0 0\nv 0 2 0\nvt 0.5 0.25\nvn 0 0 1\nvn 0 1 0\n";
    Load(kHeader + points + "f 1//2 2//1 3//2\nf 1/1 2/1 3/1\nf 3 2 1\n");
    ASSERT_EQ(Model_GetFaceCount(model), 3);
    EXPECT_THAT(FaceIndices(0), ElementsAre(0, 1, 2, -1, -1, -1, 1, 0, 1));
    EXPECT_THAT(FaceIndices(1), ElementsAre(0, 1, 2, 0, 0, 0, -1, -1, -1));
    EXPECT_THAT(FaceIndices(2), ElementsAre(2, 1, 0, -1, -1, -1, -1, -1, -1));
    const MeshVertex *g = Mesh_GetGPUData(Model_GetMesh(model, 0));
    EXPECT_EQ(g[0].u, 0.0f); // no coordinate: (0, 0), mirrored
    EXPECT_EQ(g[0].v, 1.0f);
    EXPECT_EQ(g[3].u, 0.5f);
    EXPECT_EQ(g[3].v, 0.75f);
    EXPECT_EQ(g[7].x, 0.0f); // third face (2, 1, 0) drawn as positions 2, 0, 1
    EXPECT_EQ(g[8].x, 1.0f);
}

TEST_F(MeshObjTest, FacesPointingOutsideAreDroppedAndTheRestKept)
{
    const auto log = Load(kHeader + "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\n"
                                    "g a\nf 1 2 3\nf 1 2 4\nf 1/2 2/1 3/1\n"
                                    "g b\nf 0 1 2\nf -1 1 2\nf 3 2 1\nf x 1 2\n");
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string &m) { return m.find("Face ") == 0; }),
              5);
    EXPECT_EQ(Model_GetFaceCount(model), 2);
    EXPECT_THAT(MeshRanges(), ElementsAre(0, 0, 0, 0, 1, 1, 1, 1, 2));
    EXPECT_THAT(FaceIndices(1), ElementsAre(2, 1, 0, -1, -1, -1, -1, -1, -1));
}

TEST_F(MeshObjTest, LogsEveryRecognisedAndBadLine)
{
    const auto log = Load(kHeader + "mtllib a.mtl\nusemtl red\n"
                                    "v 1 2\nvt 0.5\nvn 1 0\nv 1 2 3\n"
                                    "f 1 1\ng\ng \ngshort\n# comment\no object\ns 1\n\n"
                                    "vx 1 2 3\n");
    EXPECT_THAT(log, ElementsAre("_parseObjFile", "_isObjData", "mtllib", "usemtl",
                                 "Unable to parse vertex", "Unable to parse texcoord",
                                 "Unable to parse normal", "Unable to parse polygon line <f 1 1>.",
                                 "group", "Unable to parse group", "group short",
                                 "Unable to parse vertex"));
    EXPECT_EQ(Model_GetVertexCount(model), 1);
    EXPECT_EQ(Model_GetTexCoordCount(model), 0);
    EXPECT_EQ(Model_GetNormalCount(model), 0);
    // "g " and "gshort" each closed a mesh, "g" alone did not; the end closes one more.
    EXPECT_EQ(Model_GetMeshCount(model), 3);
}

TEST_F(MeshObjTest, ReadsNumbersTheWayScanfDoes)
{
    Load(kHeader + "v +1.5e1 -0x1p1 .5\nv 1. 2 3 7\nv\t4\t5\t6\r\nvt 0.25 1e-1 9\n"
                   "vn -0 +0 1\nv 1e40 0 0\n");
    ASSERT_EQ(Model_GetVertexCount(model), 4);
    const float *v = Model_GetVertices(model);
    // 1e40 is read as infinity, as strtof reads it, and then swamps the normalisation.
    EXPECT_EQ(v[0], 0.0f);
    EXPECT_FALSE(std::isfinite(v[9]));
    const float *t = Model_GetTexCoords(model);
    EXPECT_EQ(t[0], 0.25f);
    EXPECT_EQ(t[1], 0.1f);
    EXPECT_EQ(Model_GetNormalCount(model), 1);

    Load(kHeader + "v +1.5e1 -0x1p1 .5\nv 1. 2 3 7\nv\t4\t5\t6\r\n");
    v = Model_GetVertices(model);
    EXPECT_THAT(std::vector<float>(v, v + 9),
                ElementsAre(1, -2 / 15.0f, 0.5f / 15, 1 / 15.0f, 2 / 15.0f, 3 / 15.0f, 4 / 15.0f,
                            5 / 15.0f, 6 / 15.0f));
}

TEST_F(MeshObjTest, LastLineWithoutLineFeedAndCrLfEndingsAreRead)
{
    Load(kHeader + "v 0 0 0\r\nv 4 0 0\r\nv 0 2 0\r\ng tri\r\nf 1 2 3");
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(Model_GetFaceCount(model), 1);
    EXPECT_THAT(MeshRanges(), ElementsAre(0, 0, 0, 0, 1, 1));
    // A "g" ended by a carriage return is "g" alone.
    const auto log = Load(kHeader + "g\r\nv 1 1 1");
    EXPECT_THAT(log, ElementsAre("_parseObjFile", "_isObjData", "group"));
    EXPECT_EQ(Model_GetVertexCount(model), 1);
    EXPECT_EQ(Model_GetMeshCount(model), 1);
    // The header alone is a model without anything in it.
    Load(kHeader.substr(0, 15));
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(Model_GetMeshCount(model), 1);
    EXPECT_EQ(Model_GetFaceCount(model), 0);
}

TEST_F(MeshObjTest, RefusesTextWithoutTheHeader)
{
    auto log = Load("# Wavefront OB");
    EXPECT_EQ(model, nullptr);
    EXPECT_THAT(log, ElementsAre("_parseObjFile", "_isObjData", "Not Wavefront OBJ txt data.",
                                 "Unable to parse Obj File"));
    log = Load("# wavefront OBJ\nv 1 2 3\n");
    EXPECT_EQ(model, nullptr);
    EXPECT_THAT(log, ElementsAre("_parseObjFile", "_isObjData", "Invalid OBJ magic.",
                                 "Not Wavefront OBJ txt data.", "Unable to parse Obj File"));
    log = LogMessages(CaptureLines([&] { model = MeshObj_Create(nullptr, 100); }));
    EXPECT_EQ(model, nullptr);
    EXPECT_THAT(log, ElementsAre("_parseObjFile", "_isObjData", "Not Wavefront OBJ txt data.",
                                 "Unable to parse Obj File"));
}

TEST_F(MeshObjTest, LongTokensAndNamesAreCutLikeTheirFieldWidths)
{
    const std::string longName(40, 'n');
    const std::string longCorner = "1/1/1" + std::string(40, '0');
    const auto log = Load(kHeader +
                          "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\n"
                          "g " +
                          longName + "\nf " + longCorner + " 2/1/1 3/1/1\n");
    // The corner is cut after 31 characters: its normal index saturates, and its tail of
    // zeros becomes a second corner (position 0, stored -1), so the line reads as a quad.
    EXPECT_THAT(log, ElementsAre("_parseObjFile", "_isObjData", "group " + longName.substr(0, 32),
                                 "Face 0 points outside the model's arrays and is dropped.",
                                 "Face 1 points outside the model's arrays and is dropped."));
    EXPECT_EQ(Model_GetFaceCount(model), 0);
}

} // namespace
