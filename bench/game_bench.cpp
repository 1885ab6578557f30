// The game: the CPU cost of one frame of play (the world's step and its drawing, rasterised by
// the software renderer before the frame counts as done), over 10,000 frames of scripted play
// with levels changing, and the time a fresh process takes, from its start to its first
// presented frame, going through the program's own start-up order.
#include "audio/audio_openal.h"
#include "foundation/allocator.h"
#include "foundation/color.h"
#include "foundation/list.h"
#include "foundation/logging.h"
#include "foundation/random.h"
#include "frame/integration_win.h"
#include "frame/window.h"
#include "game/bullet.h"
#include "game/level.h"
#include "game/player.h"
#include "game/spaceship.h"
#include "game/sprite.h"
#include "game/world.h"
#include "input/controller_win.h"
#include "render/graphics_win.h"
#include "resources/asset.h"
#include "resources/resource_win.h"
#include "tests/game/scripted_play.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace
{

int64_t MonotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

void RenderFrame(Window *window, World *world)
{
    Graphics_SetContext(window);
    const Color black = Color_Static(0.0f, 0.0f, 0.0f, 1.0f);
    Graphics_SetColor(&black);
    World_Render(world);
}

void BM_PlayFrame(benchmark::State &state)
{
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    Resource_Load(ZINDREL_BENCH_RESOURCES);
    Window_Initialize_Library();
    Audio_Initialize(nullptr);
    World_LoadSounds();
    Window *window = Window_Create(1024, 768, "Zindrel game benchmark", nullptr, nullptr);
    OSWindow_FrameInit(Window_GetOSWindow(window));
    Graphics_Initialize();
    Random_SetSeed(7);
    World *world = World_Create();
    // Past the splash and into play.
    for (int32_t i = 0; i < 276; i++)
    {
        RenderFrame(window, world);
    }
    ScriptedPlayer person(world, window);
    int32_t frame = 0;
    int32_t levels = 1;
    for (auto _ : state)
    {
        person.Act(true);
        // Most enemy bullets are taken away so that the game is not over too soon.
        if (frame++ % 4 != 0)
        {
            RemoveEnemyBullets(World_GetLevel(world));
        }
        RenderFrame(window, world);
        glFinish();
        levels = std::max(levels, World_GetLevelNumber(world));
    }
    state.counters["highest_level"] = levels;
    World_Destroy(world);
    Window_Destroy(window);
    Graphics_Deinitialize();
    World_DestroySounds();
    Audio_Deinitialize();
    Resource_Unload();
    OSProgramResume();
}
BENCHMARK(BM_PlayFrame)->Iterations(10000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_PlayFrame)
    ->Name("BM_PlayFrame/main_thread")
    ->Iterations(10000)
    ->Unit(benchmark::kMillisecond);

// The child: the program's start-up in its order, one frame presented, and the moment of that
// presentation written to standard output.
int FirstFrameChild()
{
    Allocator_Initialize(16384, 131072);
    Logging_SetLevel(LOGGING_LEVEL_SILENT);
    Resource_Load(ZINDREL_BENCH_RESOURCES);
    Window_Initialize_Library();
    Audio_Initialize(nullptr);
    World *world = World_Create();
    World_LoadSounds();
    Window *window = Window_Create(1024, 768, "Zindrel first frame", nullptr, nullptr);
    Controller_AddPlayer(Window_GetController(window), World_GetPlayer(world));
    Graphics_Initialize();
    OSWindow *osWindow = Window_GetOSWindow(window);
    OSWindow_FrameInit(osWindow);
    OSWindow_FrameBegin(osWindow);
    RenderFrame(window, world);
    OSWindow_FrameEnd(osWindow);
    glFinish();
    printf("%lld\n", static_cast<long long>(MonotonicNanoseconds()));
    fflush(stdout);
    _exit(0);
}

void BM_StartUpToFirstFrame(benchmark::State &state)
{
    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof(self) - 1) <= 0)
    {
        state.SkipWithError("cannot find the benchmark binary");
        return;
    }
    for (auto _ : state)
    {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0)
        {
            state.SkipWithError("no pipe");
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        char flag[] = "--first-frame-child";
        char *argv[] = {self, flag, nullptr};
        pid_t pid = 0;
        const int64_t start = MonotonicNanoseconds();
        posix_spawn(&pid, self, &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(pipeEnds[1]);
        char line[64] = {};
        const ssize_t got = read(pipeEnds[0], line, sizeof(line) - 1);
        close(pipeEnds[0]);
        waitpid(pid, nullptr, 0);
        if (got <= 0)
        {
            state.SkipWithError("the child presented no frame");
            return;
        }
        const double seconds = static_cast<double>(atoll(line) - start) * 1e-9;
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_StartUpToFirstFrame)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && strcmp(argv[1], "--first-frame-child") == 0)
    {
        return FirstFrameChild();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
