// main: the program's entry point. It brings every subsystem up in a fixed order, hands the
// frame loop the game's two callbacks, and takes everything down again in reverse once the
// player quits (Escape or the window's close button).
#include "audio/audio_openal.h"
#include "foundation/allocator.h"
#include "foundation/color.h"
#include "foundation/logging.h"
#include "foundation/timeline.h"
#include "frame/integration_win.h"
#include "frame/window.h"
#include "game/player.h"
#include "game/world.h"
#include "input/controller_win.h"
#include "render/graphics_win.h"
#include "resources/resource_win.h"

#include <csignal>
#include <cstdio>

static World *world = nullptr;
static Player *player = nullptr;
static Window *window = nullptr;

// The game's logic lives in the world's render step; this hook is kept for the frame loop.
static void logic(Window *)
{
    World_Logic(world);
}

static void render(Window *activeWindow)
{
    Graphics_SetContext(activeWindow);
    const Color black = Color_Static(0.0f, 0.0f, 0.0f, 1.0f);
    Graphics_SetColor(&black);
    World_Render(world);
}

// A request to stop from outside (kill, Ctrl+C, a closed terminal) is the Escape key: the frame
// completes and the shut-down runs.
static void _StopOnSignal(int)
{
    OSProgramShouldExit();
}

static void _HandleStopSignals(void)
{
    struct sigaction action = {};
    action.sa_handler = _StopOnSignal;
    sigemptyset(&action.sa_mask);
    static constexpr int stopSignals[] = {SIGTERM, SIGINT, SIGHUP};
    for (int signalNumber : stopSignals)
    {
        sigaction(signalNumber, &action, nullptr);
    }
}

int main(int argc, char **argv)
{
    Timeline_Mark("main");
    _HandleStopSignals();
    // Log lines reach a redirected output as they are written, not only at exit.
    setvbuf(stdout, nullptr, _IOLBF, 0);
    Allocator_Initialize(16384, 131072);
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    Resource_Init(argc, argv);
    Resource_Load("resources.dat");
    Timeline_Mark("archive");
    Window_Initialize_Library();
    Timeline_Mark("window library");
    Audio_Initialize(nullptr);
    Timeline_Mark("audio");

    LOG_INFO("Creating world.");
    world = World_Create();
    LOG_INFO("Creating player.");
    player = World_GetPlayer(world);
    Timeline_Mark("world");
    LOG_INFO("Loading sounds.");
    World_LoadSounds();
    Timeline_Mark("sounds");

    LOG_INFO("Opening Window and fullscreen if window mode isn't supported.");
    window = Window_Create(1024, 768, "Zindrel", logic, render);
    if (!OSHasWindowMode() && OSHasFullScreenMode())
    {
        Window_Fullscreen(window);
    }
    Timeline_Mark("window");
    Controller *controller = Window_GetController(window);
    Controller_AddPlayer(controller, player);
    Controller_SetPlayerFunctions(controller, Player_HandleKeyboardEvent, Player_HandleMouseEvent,
                                  Player_HandleJoystickEvent);
    Controller_SetPlayerFocusFunction(controller, Player_HandleFocusEvent);
    Timeline_Mark("controller");
    Graphics_Initialize();
    Timeline_Mark("graphics");

    // Kept as is: at Error level on purpose, the one start-up line the game prints.
    LOG_ERROR("Making window active.");
    Window_MakeActive(window);

    LOG_INFO("Closed window.");
    Window_Destroy(window);
    Graphics_Deinitialize();
    World_DestroySounds();
    World_Destroy(world);
    Audio_Deinitialize();
    Window_Deinitialize_Library();
    Resource_Unload();
    Allocator_PrintDebugOutput();
    Allocator_Shutdown();
    return 0;
}
