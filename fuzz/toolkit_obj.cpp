// Any bytes into the OBJ reader; whatever it returns must pass the model check. Inputs without
// the header line are refused at once, so most of the work goes to text that has it.
#include "fuzz/fuzz_prologue.h"
#include "toolkit/mesh_obj.h"
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
    Model *model = MeshObj_Create(reinterpret_cast<const char *>(data), static_cast<int32_t>(size));
    if (model != nullptr)
    {
        ToolkitFuzz_CheckModel(model);
        Model_Destroy(model);
    }
    return 0;
}
