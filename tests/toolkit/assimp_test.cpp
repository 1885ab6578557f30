// The readers against files written by a tool we did not write: our shapes as OBJ text, turned
// into 3DS and into assimp's own OBJ by `assimp export`, and measured by `assimp info`.
#include "shapes.h"
#include "toolkit/mesh.h"
#include "toolkit/model.h"
#include "toolkit_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace
{

// What `assimp info` says about a file (raw: without its post-processing): the face count,
// the vertex and face counts of each mesh, and the corners of the bounding box.
struct AssimpInfo
{
    int32_t faces = -1;
    std::vector<int32_t> meshVertices, meshFaces;
    std::vector<float> box;
};

AssimpInfo RunAssimpInfo(const std::string &path, bool raw)
{
    int32_t status = 0;
    const std::string command = std::string(ASSIMP_COMMAND) + " info " + path + (raw ? " -r" : "");
    std::istringstream output(RunCommand(command + " 2>&1", &status));
    EXPECT_EQ(status, 0);
    AssimpInfo info;
    int32_t vertices = 0, faces = 0;
    float x = 0, y = 0, z = 0;
    for (std::string line; std::getline(output, line);)
    {
        if (sscanf(line.c_str(), "Faces: %d", &faces) == 1)
            info.faces = faces;
        else if (sscanf(line.c_str(), " %*d (%*[^)]): [%d / %*d / %d |", &vertices, &faces) == 2)
        {
            info.meshVertices.push_back(vertices);
            info.meshFaces.push_back(faces);
        }
        else if (!line.starts_with("Center") &&
                 sscanf(line.c_str(), "%*s point (%f %f %f)", &x, &y, &z) == 3)
            info.box.insert(info.box.end(), {x, y, z});
    }
    EXPECT_TRUE(info.faces >= 0 && !info.meshFaces.empty() && info.box.size() == 6);
    return info;
}

class AssimpTest : public ModelFixture, public testing::WithParamInterface<std::string>
{
};

// Our OBJ text, assimp's 3DS export of it and assimp's OBJ export of it, each read by our
// readers and by assimp, give the same faces, vertices and normalised bounding box.
TEST_P(AssimpTest, ReadsShapesAsAssimpReadsThem)
{
    const std::string name = GetParam(), obj = name + ".obj";
    std::ofstream(obj) << (name == "cube"     ? Shapes_CubeObj()
                           : name == "sphere" ? Shapes_SphereObj(8, 12)
                                              : Shapes_GroupsObj());
    for (const std::string &path : {obj, name + ".3ds", name + "-assimp.obj"})
    {
        SCOPED_TRACE(path);
        int32_t status = 0;
        if (path != obj)
            RunCommand(std::string(ASSIMP_COMMAND) + " export " + obj + " " + path, &status);
        ASSERT_EQ(status, 0);
        std::ifstream in(path, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        const bool threeDs = path.ends_with(".3ds");
        if (threeDs)
            Load3ds(std::vector<uint8_t>(bytes.begin(), bytes.end()));
        else
            LoadObj(path == obj ? bytes : "# Wavefront OBJ\n" + bytes); // assimp's lacks our header
        ASSERT_NE(model, nullptr);
        const AssimpInfo info = RunAssimpInfo(path, false), raw = RunAssimpInfo(path, true);
        ASSERT_EQ(info.box.size(), 6u);
        EXPECT_EQ(Model_GetFaceCount(model), info.faces);

        // Raw, assimp keeps a vertex per corner of each polygon (our 3DS meshes have three per
        // triangle), and every polygon of n corners is n - 2 of our triangles.
        std::vector<int32_t> ours, triangles;
        for (int32_t m = 0; m < Model_GetMeshCount(model); m++)
            if (Mesh_GetFaceCount(Model_GetMesh(model, m)) > 0)
                ours.push_back(Mesh_GetFaceCount(Model_GetMesh(model, m)));
        for (size_t m = 0; m < raw.meshFaces.size(); m++)
            triangles.push_back(raw.meshVertices[m] - 2 * raw.meshFaces[m]);
        EXPECT_EQ(ours, info.meshFaces);
        EXPECT_EQ(ours, triangles);

        // assimp notes the counts it writes in comments, such as "# 8 vertex positions".
        std::map<std::string, int32_t> noted;
        std::istringstream lines(bytes);
        int32_t count = 0, end = 0;
        for (std::string line; std::getline(lines, line);)
            if (sscanf(line.c_str(), "# %d %n", &count, &end) == 1)
                noted[line.substr(end)] = count;
        if (path.ends_with("-assimp.obj"))
        {
            const std::vector<int32_t> shape = Shape();
            EXPECT_EQ(std::vector<int32_t>(shape.begin(), shape.begin() + 3),
                      (std::vector<int32_t>{noted["vertex positions"], noted["UV coordinates"],
                                            noted["vertex normals"]}));
        }

        // Our readers divide by the largest absolute coordinate; assimp turns a 3DS file's
        // z-up axes into y-up ones, (x, y, z) becoming (x, z, -y).
        std::vector<float> box = info.box;
        if (threeDs)
            box = {box[0], -box[5], box[1], box[3], -box[2], box[4]};
        float largest = 0;
        for (const float c : box)
            largest = std::max(largest, std::fabs(c));
        std::vector<float> drawn = {INFINITY, INFINITY, INFINITY, -INFINITY, -INFINITY, -INFINITY};
        for (int32_t m = 0; m < Model_GetMeshCount(model); m++)
            for (int32_t i = 0; i < 3 * Mesh_GetFaceCount(Model_GetMesh(model, m)); i++)
            {
                const MeshVertex &g = Mesh_GetGPUData(Model_GetMesh(model, m))[i];
                const float p[3] = {g.x, g.y, g.z};
                for (int32_t k = 0; k < 3; k++)
                {
                    drawn[k] = std::min(drawn[k], p[k]);
                    drawn[k + 3] = std::max(drawn[k + 3], p[k]);
                }
            }
        for (int32_t k = 0; k < 6; k++)
            EXPECT_NEAR(drawn[k], box[k] / largest, 2e-5) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, AssimpTest, testing::Values("cube", "sphere", "groups"));

} // namespace
