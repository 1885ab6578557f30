// Any bytes into the 3DS reader; whatever it returns must pass the model check.
#include "fuzz/fuzz_prologue.h"
#include "toolkit/mesh_3ds.h"
#include "toolkit/model.h"

#include <cstddef>
#include <cstdint>

void ToolkitFuzz_CheckModel(Model *model);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!Fuzz_Accept(size))
    {
        return 0;
    }
    Model *model = Mesh3DS_Create(data, static_cast<int32_t>(size));
    if (model != nullptr)
    {
        ToolkitFuzz_CheckModel(model);
        Model_Destroy(model);
    }
    return 0;
}
