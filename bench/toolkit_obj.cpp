// OBJ text to a usable model: ours (triangles, normalised positions, vertex arrays) beside
// tinyobjloader (triangulated attributes and shapes), both from the same text in memory.
#include "foundation/logging.h"
#include "terrain_shapes.h"
#include "toolkit/mesh_obj.h"
#include "toolkit/model.h"

#include <benchmark/benchmark.h>
#include <tiny_obj_loader.h>

#include <string>

namespace
{

// 2 x 224 x 224 = 100,352 triangles, corners written v/t/n.
const std::string &TerrainText()
{
    static const std::string text = Shapes_TerrainObj(224, 224);
    return text;
}

void SetCounters(benchmark::State &state, int64_t triangles)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(TerrainText().size()));
    state.counters["triangles"] = static_cast<double>(triangles);
}

void BM_MeshObj_Create(benchmark::State &state)
{
    const std::string &text = TerrainText();
    // The reader's progress lines are Error-level log lines; the level filters them unformatted.
    Logging_SetLevel(LOGGING_LEVEL_SILENT);
    int64_t triangles = 0;
    for (auto _ : state)
    {
        Model *model = MeshObj_Create(text.data(), static_cast<int32_t>(text.size()));
        triangles = Model_GetFaceCount(model);
        benchmark::DoNotOptimize(Model_GetMesh(model, 1));
        Model_Destroy(model);
    }
    Logging_SetLevel(LOGGING_LEVEL_DEBUG);
    SetCounters(state, triangles);
}
BENCHMARK(BM_MeshObj_Create)->Unit(benchmark::kMillisecond);

void BM_TinyObjLoader_ParseFromString(benchmark::State &state)
{
    const std::string &text = TerrainText();
    int64_t triangles = 0;
    for (auto _ : state)
    {
        tinyobj::ObjReader reader;
        tinyobj::ObjReaderConfig config; // triangulates, like ours
        if (!reader.ParseFromString(text, "", config))
        {
            state.SkipWithError("tinyobjloader refused the text");
            break;
        }
        triangles = 0;
        for (const tinyobj::shape_t &shape : reader.GetShapes())
        {
            triangles += static_cast<int64_t>(shape.mesh.num_face_vertices.size());
        }
        benchmark::DoNotOptimize(reader.GetAttrib().vertices.data());
    }
    SetCounters(state, triangles);
}
BENCHMARK(BM_TinyObjLoader_ParseFromString)->Unit(benchmark::kMillisecond);

} // namespace
