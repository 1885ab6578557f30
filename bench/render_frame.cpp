// Rendering: the drawing of one typical play frame (the scrolling background, fifteen ships and
// bullets, four ten-character lines of text) in the real window, pictures from the shared
// catalogue cut from resources.dat. Each iteration ends with glFinish so the rasteriser's work
// is inside the frame; "allocations_per_frame" must stay 0.
#include "foundation/allocator.h"
#include "foundation/logging.h"
#include "frame/integration_win.h"
#include "frame/window.h"
#include "game/sprite.h"
#include "render/background.h"
#include "render/graphics_win.h"
#include "resources/asset.h"
#include "resources/resource_win.h"

#include <GLFW/glfw3.h>
#include <benchmark/benchmark.h>
#include <vector>

namespace
{

Window *PlayWindow()
{
    static Window *window = nullptr;
    if (window == nullptr)
    {
        Logging_SetLevel(LOGGING_LEVEL_ERROR);
        Resource_Load(ZINDREL_BENCH_RESOURCES);
        Window_Initialize_Library();
        window = Window_Create(1024, 768, "Zindrel render benchmark", nullptr, nullptr);
        OSWindow_FrameInit(Window_GetOSWindow(window));
        Graphics_Initialize();
        Graphics_SetContext(window);
        Graphics_GetAsset();
    }
    return window;
}

struct PlayFrame
{
    Background *background = nullptr;
    std::vector<Sprite *> sprites;

    PlayFrame()
    {
        Asset *asset = Graphics_GetAsset();
        background =
            Background_Create(Vector2_Static(2.0f, 4.0f), Asset_GetBackgroundSubTexture(asset));
        Background_SetAnimationSpeed(background, -0.01);
        // Ten ships of a formation, the player, its bullet and three enemy bullets.
        for (int32_t i = 0; i < 10; i++)
        {
            Sprite *ship = Sprite_Create(static_cast<int16_t>(i + 1), "enemy");
            Sprite_SetSubTexture(ship, Asset_GetSpaceShipSubTexture(asset, i));
            Sprite_SetSize(ship, Vector2_Static(0.15f, 0.15f));
            const int32_t column = i % 5, row = i / 5;
            Sprite_SetPosition(ship, Vector2_Static(-0.6f + 0.3f * static_cast<float>(column),
                                                    0.6f - 0.25f * static_cast<float>(row)));
            sprites.push_back(ship);
        }
        Sprite *player = Sprite_Create(-1, "player");
        Sprite_SetSubTexture(player, Asset_GetPlayerSubTexture(asset, 0));
        Sprite_SetSize(player, Vector2_Static(0.15f, 0.15f));
        Sprite_SetPosition(player, Vector2_Static(0.0f, -0.8f));
        sprites.push_back(player);
        for (int32_t i = 0; i < 4; i++)
        {
            Sprite *bullet = Sprite_Create(-1, "bullet");
            Sprite_SetSubTexture(bullet, i == 0 ? Asset_GetPlayerBulletSubTexture(asset, 7)
                                                : Asset_GetSpaceShipBulletSubTexture(asset, i));
            Sprite_SetSize(bullet, Vector2_Static(0.05f, 0.05f));
            Sprite_SetPosition(bullet, Vector2_Static(-0.3f + 0.2f * i, 0.1f * i - 0.4f));
            sprites.push_back(bullet);
        }
    }
    ~PlayFrame()
    {
        for (Sprite *sprite : sprites)
        {
            Sprite_Destroy(sprite);
        }
        Background_Destroy(background);
    }

    void Draw(Window *window)
    {
        Graphics_SetContext(window);
        Background_Render(background);
        Graphics_SetBlendFactors(1, 7);
        for (Sprite *sprite : sprites)
        {
            Sprite_Logic(sprite);
            Sprite_Render(sprite);
        }
        Graphics_SetBlendFactors(1, 3);
        static const char *const lines[4] = {"Score: 900", "Level: 3  ", "Lives: 2  ",
                                             "Shield: 3 "};
        for (int32_t i = 0; i < 4; i++)
        {
            Graphics_SetPosition(Vector2_Static(-0.95f, 0.9f - 0.07f * i));
            Graphics_DrawMessageCStr(lines[i], 0.06f, 0);
        }
    }
};

void RunPlayFrames(benchmark::State &state)
{
    Window *window = PlayWindow();
    PlayFrame frame;
    const uint32_t allocatedBefore = Allocator_GetAllocatedObjects();
    for (auto _ : state)
    {
        frame.Draw(window);
        glFinish();
    }
    state.counters["allocations_per_frame"] =
        benchmark::Counter(static_cast<double>(Allocator_GetAllocatedObjects() - allocatedBefore),
                           benchmark::Counter::kAvgIterations);
}

// CPU time of the game's thread per frame.
void BM_PlayFrame(benchmark::State &state)
{
    RunPlayFrames(state);
}
BENCHMARK(BM_PlayFrame)->Unit(benchmark::kMicrosecond);

// The same, counting the rasteriser's worker threads too, against the wall clock.
void BM_PlayFrameWholeProcess(benchmark::State &state)
{
    RunPlayFrames(state);
}
BENCHMARK(BM_PlayFrameWholeProcess)
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// The frame set-up alone: asking the window library for the framebuffer size, viewport, clear.
void BM_SetContext(benchmark::State &state)
{
    Window *window = PlayWindow();
    for (auto _ : state)
    {
        Graphics_SetContext(window);
    }
    glFinish();
}
BENCHMARK(BM_SetContext)->Unit(benchmark::kMicrosecond);

} // namespace
