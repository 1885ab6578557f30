// The readers against files written by a tool we did not write: our shapes as OBJ text, turned
// into 3DS and into assimp's own OBJ by `assimp export`, and measured by `assimp info`.
#include "toolkit/mesh_3ds.h"
#include "toolkit/mesh_obj.h"

#include "foundation/logging.h"
#include "shapes.h"
#include "toolkit/mesh.h"
#include "toolkit/model.h"
#include "toolkit_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>

namespace
{

struct Box
{
    float min[3];
    float max[3];
};

// What `assimp info` reports about a file.
struct AssimpInfo
{
    bool ok = false;
    int32_t faces = -1;
    std::vector<int32_t> meshVertices;
    std::vector<int32_t> meshFaces;
    Box box = {};
};

AssimpInfo RunAssimpInfo(const std::string &path, bool raw)
{
    AssimpInfo info;
    int32_t status = 0;
    const std::string output = RunCommand(std::string(ASSIMP_COMMAND) + " info '" + path + "'" +
                                              (raw ? " -r" : "") + " 2>&1",
                                          &status);
    EXPECT_EQ(status, 0) << output;
    std::smatch match;
    if (std::regex_search(output, match, std::regex(R"(\nFaces:\s+(\d+))")))
    {
        info.faces = std::stoi(match[1]);
    }
    const std::regex point(R"((Minimum|Maximum) point\s+\(([-0-9.e]+) ([-0-9.e]+) ([-0-9.e]+)\))");
    for (auto it = std::sregex_iterator(output.begin(), output.end(), point);
         it != std::sregex_iterator(); ++it)
    {
        float *target = (*it)[1] == "Minimum" ? info.box.min : info.box.max;
        for (int32_t k = 0; k < 3; k++)
        {
            target[k] = std::stof((*it)[k + 2]);
        }
    }
    const std::regex mesh(R"(\n\s+\d+ \(.*\): \[(\d+) / \d+ / (\d+) \|)");
    for (auto it = std::sregex_iterator(output.begin(), output.end(), mesh);
         it != std::sregex_iterator(); ++it)
    {
        info.meshVertices.push_back(std::stoi((*it)[1]));
        info.meshFaces.push_back(std::stoi((*it)[2]));
    }
    info.ok = info.faces >= 0 && !info.meshFaces.empty();
    EXPECT_TRUE(info.ok) << output;
    return info;
}

void Export(const std::string &from, const std::string &to)
{
    int32_t status = 0;
    const std::string output = RunCommand(
        std::string(ASSIMP_COMMAND) + " export '" + from + "' '" + to + "' 2>&1", &status);
    ASSERT_EQ(status, 0) << output;
}

// assimp's box divided by its largest absolute coordinate, as our readers normalise.
Box Normalised(Box box)
{
    float largest = 0;
    for (int32_t k = 0; k < 3; k++)
    {
        largest = std::max({largest, std::fabs(box.min[k]), std::fabs(box.max[k])});
    }
    for (int32_t k = 0; k < 3; k++)
    {
        box.min[k] /= largest;
        box.max[k] /= largest;
    }
    return box;
}

// The box of every vertex our meshes draw.
Box DrawnBox(Model *model)
{
    Box box = {{INFINITY, INFINITY, INFINITY}, {-INFINITY, -INFINITY, -INFINITY}};
    for (int32_t m = 0; m < Model_GetMeshCount(model); m++)
    {
        Mesh *mesh = Model_GetMesh(model, m);
        const MeshVertex *g = Mesh_GetGPUData(mesh);
        for (int32_t i = 0; i < 3 * Mesh_GetFaceCount(mesh); i++)
        {
            const float p[3] = {g[i].x, g[i].y, g[i].z};
            for (int32_t k = 0; k < 3; k++)
            {
                box.min[k] = std::min(box.min[k], p[k]);
                box.max[k] = std::max(box.max[k], p[k]);
            }
        }
    }
    return box;
}

void ExpectSameBox(const Box &ours, const Box &theirs, const std::string &what)
{
    for (int32_t k = 0; k < 3; k++)
    {
        EXPECT_NEAR(ours.min[k], theirs.min[k], 2e-5) << what << " axis " << k;
        EXPECT_NEAR(ours.max[k], theirs.max[k], 2e-5) << what << " axis " << k;
    }
}

std::vector<int32_t> NonEmptyMeshFaces(Model *model)
{
    std::vector<int32_t> faces;
    for (int32_t m = 0; m < Model_GetMeshCount(model); m++)
    {
        if (Mesh_GetFaceCount(Model_GetMesh(model, m)) > 0)
        {
            faces.push_back(Mesh_GetFaceCount(Model_GetMesh(model, m)));
        }
    }
    return faces;
}

// The count assimp writes in a comment of its own OBJ output, e.g. "# 8 vertex positions".
int32_t CommentCount(const std::string &text, const std::string &what)
{
    std::smatch match;
    if (std::regex_search(text, match, std::regex("\n# (\\d+) " + what + "\n")))
    {
        return std::stoi(match[1]);
    }
    return 0;
}

class AssimpTest : public testing::TestWithParam<std::string>
{
  protected:
    void SetUp() override { Logging_SetLevel(LOGGING_LEVEL_SILENT); }
    void TearDown() override { Logging_SetLevel(LOGGING_LEVEL_DEBUG); }

    std::string Text()
    {
        if (GetParam() == "cube")
        {
            return Shapes_CubeObj();
        }
        if (GetParam() == "sphere")
        {
            return Shapes_SphereObj(8, 12);
        }
        return Shapes_GroupsObj();
    }

    ScratchDirectory scratch;
};

TEST_P(AssimpTest, OurObjTextReadsAsAssimpReadsIt)
{
    const std::string path = scratch.Path(GetParam() + ".obj");
    const std::string text = Text();
    WriteText(path, text);
    Model *model = MeshObj_Create(text.data(), static_cast<int32_t>(text.size()));
    ASSERT_NE(model, nullptr);
    const AssimpInfo info = RunAssimpInfo(path, false);
    const AssimpInfo raw = RunAssimpInfo(path, true);
    ASSERT_TRUE(info.ok && raw.ok);
    EXPECT_EQ(Model_GetFaceCount(model), info.faces);
    EXPECT_EQ(NonEmptyMeshFaces(model), info.meshFaces);
    // Raw, assimp keeps each polygon with one vertex per corner; every polygon of n corners is
    // n - 2 of our triangles.
    ASSERT_EQ(raw.meshFaces.size(), info.meshFaces.size());
    for (size_t m = 0; m < raw.meshFaces.size(); m++)
    {
        EXPECT_EQ(raw.meshVertices[m] - 2 * raw.meshFaces[m], info.meshFaces[m]) << m;
    }
    ExpectSameBox(DrawnBox(model), Normalised(info.box), GetParam() + ".obj");
    Model_Destroy(model);
}

TEST_P(AssimpTest, AssimpsThreeDsExportReadsWithTheSameCountsAndBox)
{
    const std::string objPath = scratch.Path(GetParam() + ".obj");
    const std::string path = scratch.Path(GetParam() + ".3ds");
    WriteText(objPath, Text());
    Export(objPath, path);
    const std::string bytes = ReadText(path);
    ASSERT_GT(bytes.size(), 6u);
    Model *model = Mesh3DS_Create(reinterpret_cast<const uint8_t *>(bytes.data()),
                                  static_cast<int32_t>(bytes.size()));
    ASSERT_NE(model, nullptr);
    const AssimpInfo info = RunAssimpInfo(path, false);
    const AssimpInfo raw = RunAssimpInfo(path, true);
    ASSERT_TRUE(info.ok && raw.ok);
    EXPECT_EQ(Model_GetFaceCount(model), info.faces);
    EXPECT_EQ(NonEmptyMeshFaces(model), info.meshFaces);
    // Raw, assimp gives every triangle three vertices of its own, as our vertex arrays do.
    ASSERT_EQ(raw.meshVertices.size(), static_cast<size_t>(Model_GetMeshCount(model)));
    for (int32_t m = 0; m < Model_GetMeshCount(model); m++)
    {
        EXPECT_EQ(3 * Mesh_GetFaceCount(Model_GetMesh(model, m)), raw.meshVertices[m]) << m;
    }
    // assimp turns the file's z-up axes into y-up ones: (x, y, z) becomes (x, z, -y).
    const Box theirs = Normalised(info.box);
    const Box fileAxes = {{theirs.min[0], -theirs.max[2], theirs.min[1]},
                          {theirs.max[0], -theirs.min[2], theirs.max[1]}};
    ExpectSameBox(DrawnBox(model), fileAxes, GetParam() + ".3ds");
    Model_Destroy(model);
}

TEST_P(AssimpTest, AssimpsObjExportReadsWithTheCountsItWrites)
{
    const std::string objPath = scratch.Path(GetParam() + ".obj");
    const std::string path = scratch.Path(GetParam() + "-assimp.obj");
    WriteText(objPath, Text());
    Export(objPath, path);
    // Our reader wants its header line first; assimp's own comment lines follow it.
    const std::string text = "# Wavefront OBJ\n" + ReadText(path);
    Model *model = MeshObj_Create(text.data(), static_cast<int32_t>(text.size()));
    ASSERT_NE(model, nullptr);
    const AssimpInfo info = RunAssimpInfo(path, false);
    ASSERT_TRUE(info.ok);
    EXPECT_EQ(Model_GetVertexCount(model), CommentCount(text, "vertex positions"));
    EXPECT_EQ(Model_GetTexCoordCount(model), CommentCount(text, "UV coordinates"));
    EXPECT_EQ(Model_GetNormalCount(model), CommentCount(text, "vertex normals"));
    EXPECT_GT(Model_GetVertexCount(model), 0);
    EXPECT_EQ(Model_GetFaceCount(model), info.faces);
    EXPECT_EQ(NonEmptyMeshFaces(model), info.meshFaces);
    ExpectSameBox(DrawnBox(model), Normalised(info.box), GetParam() + "-assimp.obj");
    Model_Destroy(model);
}

INSTANTIATE_TEST_SUITE_P(Shapes, AssimpTest, testing::Values("cube", "sphere", "groups"));

} // namespace
