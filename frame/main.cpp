// main: a stand-in entry point until the game exists. It opens the game's window on the
// demonstration cube and quits on Escape (or the close button) with status 0. The game's own
// start-up and shut-down replace this file.
#include "foundation/allocator.h"
#include "foundation/logging.h"
#include "frame/window.h"
#include "input/controller_win.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

// Takes the player's place as the one receiver of input: Escape asks the loop to end.
static void _QuitOnEscape(Player *, Window *window, KeyboardEvent event)
{
    if (event.action == GLFW_PRESS && event.key == GLFW_KEY_ESCAPE)
    {
        Window_SetShouldClose(window);
    }
}

int main(int, char **)
{
    static int32_t receiver;
    Allocator_Initialize(16384, 131072);
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    Window_Initialize_Library();
    Window *window = Window_Create(1024, 768, "Zindrel", nullptr, nullptr);
    Controller *controller = Window_GetController(window);
    Controller_AddPlayer(controller, reinterpret_cast<Player *>(&receiver));
    Controller_SetPlayerFunctions(controller, _QuitOnEscape, nullptr, nullptr);
    LOG_ERROR("Making window active.");
    Window_MakeActive(window);
    Window_Destroy(window);
    Window_Deinitialize_Library();
    Allocator_Shutdown();
    return 0;
}
