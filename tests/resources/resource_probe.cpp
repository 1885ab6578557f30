// A program that finds "resources.dat" the way the game does and reads one entry of it.
#include "foundation/logging.h"
#include "resources/resource_win.h"

int main(int argc, char **argv)
{
    Logging_SetLevel(LOGGING_LEVEL_SILENT);
    Resource_Init(argc, argv);
    Resource_Load("resources.dat");
    const bool found = Resource_GetData("folder/inner.txt") != nullptr;
    Resource_Unload();
    return found ? 0 : 1;
}
