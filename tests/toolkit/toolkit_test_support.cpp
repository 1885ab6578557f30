// Helpers shared by the toolkit tests.
#include "toolkit_test_support.h"

#include "foundation/logging.h"
#include "toolkit/mesh.h"
#include "toolkit/mesh_3ds.h"
#include "toolkit/mesh_obj.h"
#include "toolkit/model.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

// Replaces *model with what the OBJ or 3DS reader makes of a copy of size bytes placed just
// before an inaccessible page, in pages then made read-only; returns the log messages.
static std::string _ReadGuarded(Model **model, const void *bytes, size_t size, bool obj)
{
    if (*model != nullptr)
        Model_Destroy(*model);
    *model = nullptr;
    const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const size_t dataSize = (size / page + 1) * page;
    void *mapping =
        mmap(nullptr, dataSize + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED)
    {
        ADD_FAILURE() << "mmap failed";
        return {};
    }
    uint8_t *copy = static_cast<uint8_t *>(mapping) + dataSize - size;
    std::copy_n(static_cast<const uint8_t *>(bytes), size, copy);
    mprotect(mapping, dataSize, PROT_READ);
    mprotect(copy + size, page, PROT_NONE);
    const auto length = static_cast<int32_t>(size);
    std::string log = LogMessages(
        [&]
        {
            *model = obj ? MeshObj_Create(reinterpret_cast<const char *>(copy), length)
                         : Mesh3DS_Create(copy, length);
        });
    munmap(mapping, dataSize + page);
    return log;
}

void ModelFixture::SetUp()
{
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
}

void ModelFixture::TearDown()
{
    if (model != nullptr)
        Model_Destroy(model);
    Logging_SetLevel(LOGGING_LEVEL_DEBUG);
}

std::string ModelFixture::LoadObj(const std::string &text)
{
    return _ReadGuarded(&model, text.data(), text.size(), true);
}

std::string ModelFixture::Load3ds(const std::vector<uint8_t> &bytes)
{
    return _ReadGuarded(&model, bytes.data(), bytes.size(), false);
}

std::vector<int32_t> ModelFixture::Shape()
{
    if (model == nullptr)
        return {};
    std::vector<int32_t> shape = {Model_GetVertexCount(model), Model_GetTexCoordCount(model),
                                  Model_GetNormalCount(model), Model_GetFaceCount(model)};
    for (int32_t m = 0; m < Model_GetMeshCount(model); m++)
    {
        Mesh *mesh = Model_GetMesh(model, m);
        shape.insert(shape.end(),
                     {Mesh_GetFirstFace(mesh), Mesh_GetFaceCount(mesh), Mesh_GetEndFace(mesh)});
    }
    return shape;
}

std::vector<int32_t> ModelFixture::FaceIndices(int32_t face)
{
    const ModelFace &f = Model_GetFaces(model)[face];
    return {f.vertex[0],   f.vertex[1], f.vertex[2], f.texCoord[0], f.texCoord[1],
            f.texCoord[2], f.normal[0], f.normal[1], f.normal[2]};
}

std::string RunCommand(const std::string &command, int32_t *status)
{
    std::string output;
    FILE *pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (size_t n; pipe != nullptr && (n = fread(buffer, 1, sizeof(buffer), pipe)) > 0;)
        output.append(buffer, n);
    const int result = pipe != nullptr ? pclose(pipe) : -1;
    *status = result != -1 && WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    return output;
}
