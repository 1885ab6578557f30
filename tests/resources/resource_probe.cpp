// A program that finds "resources.dat" the way the game does and prints one entry of it.
#include "foundation/logging.h"
#include "resources/resource_win.h"

#include <cstdio>

int main(int argc, char **argv)
{
    Logging_SetLevel(LOGGING_LEVEL_SILENT);
    Resource_Init(argc, argv);
    Resource_Load("resources.dat");
    const int32_t size = Resource_GetSize("folder/inner.txt");
    const uint8_t *data = Resource_GetData("folder/inner.txt");
    const bool found = data != nullptr && fwrite(data, 1, size, stdout) == size_t(size);
    Resource_Unload();
    return found ? 0 : 1;
}
