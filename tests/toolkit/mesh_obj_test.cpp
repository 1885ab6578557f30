// OBJ reader: the recognised lines, groups closed as meshes, quads split, corner forms with
// missing indices, refusals, and text that is read-only and ends without a line feed.
#include "toolkit/mesh_obj.h"

#include "toolkit/model.h"
#include "toolkit_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

using testing::ElementsAre;
using testing::ElementsAreArray;

#define OBJ     "# Wavefront OBJ\n"
#define READ    "_parseObjFile|_isObjData|"
#define REFUSED "Not Wavefront OBJ txt data.|Unable to parse Obj File|"
#define DROPPED " points outside the model's arrays and is dropped.|"

namespace
{

class MeshObjTest : public ModelFixture
{
};

// The text, its log and the model's Shape(); refused text has no model.
struct ObjCase
{
    std::string text;
    std::string log;
    std::vector<int32_t> shape;
};

TEST_F(MeshObjTest, ReadsLinesGroupsAndEndingsWithTheirLogLines)
{
    const std::string longName(40, 'n');
    const ObjCase cases[] = {
        // A group line closes the faces before it as a mesh; the end closes the last.
        {OBJ "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\ng first\nf 1 2 3\nf 2 4 3\n",
         "group first|",
         {4, 0, 0, 2, 0, 0, 0, 0, 2, 2}},
        // "g " and "gshort" close a mesh, "g" alone does not.
        {OBJ "mtllib a.mtl\nusemtl red\nv 1 2\nvt 0.5\nvn 1 0\nv 1 2 3\nf 1 1\ng\ng \ngshort\n"
             "# comment\no object\ns 1\n\nvx 1 2 3\n",
         "mtllib|usemtl|Unable to parse vertex|Unable to parse texcoord|Unable to parse normal|"
         "Unable to parse polygon line <f 1 1>.|group|Unable to parse group|group short|"
         "Unable to parse vertex|",
         {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        // Faces pointing outside the arrays, or at position 0, are dropped; meshes follow.
        {OBJ "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\ng a\nf 1 2 3\nf 1 2 4\nf 1/2 2/1 3/1\n"
             "g b\nf 0 1 2\nf -1 1 2\nf 3 2 1\nf x 1 2\n",
         "group a|group b|Face 1" DROPPED "Face 2" DROPPED "Face 3" DROPPED "Face 4" DROPPED
         "Face 6" DROPPED,
         {3, 1, 0, 2, 0, 0, 0, 0, 1, 1, 1, 1, 2}},
        // Carriage returns end lines, and so does the end of the text.
        {OBJ "v 0 0 0\r\nv 4 0 0\r\nv 0 2 0\r\ng tri\r\nf 1 2 3",
         "group tri|",
         {3, 0, 0, 1, 0, 0, 0, 0, 1, 1}},
        {OBJ "g\r\nv 1 1 1", "group|", {1, 0, 0, 0, 0, 0, 0}},
        {"# Wavefront OBJ", "", {0, 0, 0, 0, 0, 0, 0}},
        // A corner is cut after 31 characters: its normal index saturates, and its tail of
        // zeros becomes a second corner (position 0, stored -1), so the line reads as a quad.
        {OBJ "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\ng " + longName + "\nf 1/1/1" +
             std::string(40, '0') + " 2/1/1 3/1/1\n",
         "group " + longName.substr(0, 32) + "|Face 0" DROPPED "Face 1" DROPPED,
         {3, 1, 1, 0, 0, 0, 0, 0, 0, 0}},
        {"# Wavefront OB", REFUSED, {}},
        {"# wavefront OBJ\nv 1 2 3\n", "Invalid OBJ magic.|" REFUSED, {}},
    };
    for (const ObjCase &c : cases)
    {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(LoadObj(c.text), READ + c.log);
        EXPECT_THAT(Shape(), ElementsAreArray(c.shape));
    }
    Model *none = nullptr;
    EXPECT_EQ(LogMessages([&] { none = MeshObj_Create(nullptr, 100); }), READ REFUSED);
    EXPECT_EQ(none, nullptr);
}

TEST_F(MeshObjTest, SplitsQuadsAndStoresMinusOneForMissingIndices)
{
    std::string text = OBJ;
    for (int32_t i = 0; i < 4; i++)
        text += "v " + std::to_string(i) + " 0 0\nvt 0 0\nvn 0 0 1\n";
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
}

TEST_F(MeshObjTest, ReadsNumbersTheWayScanfDoes)
{
    LoadObj(OBJ "v +1.5e1 -0x1p1 .5\nv 1. 2 3 7\nv\t4\t5\t6\r\nvt 0.25 1e-1 9\nvn -0 +0 1\n");
    EXPECT_THAT(Shape(), ElementsAre(3, 1, 1, 0, 0, 0, 0));
    const float *v = Model_GetVertices(model);
    EXPECT_THAT(std::vector<float>(v, v + 9),
                ElementsAre(1, -2 / 15.0f, 0.5f / 15, 1 / 15.0f, 2 / 15.0f, 3 / 15.0f, 4 / 15.0f,
                            5 / 15.0f, 6 / 15.0f));
    EXPECT_THAT(std::vector<float>(Model_GetTexCoords(model), Model_GetTexCoords(model) + 2),
                ElementsAre(0.25f, 0.1f));
    // 1e40 is read as infinity, as strtof reads it, and then swamps the normalisation.
    LoadObj(OBJ "v 1 0 0\nv 1e40 0 0\n");
    EXPECT_EQ(Model_GetVertices(model)[0], 0.0f);
    EXPECT_FALSE(std::isfinite(Model_GetVertices(model)[3]));
}

} // namespace
