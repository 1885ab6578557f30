// The frame-rate cap of the real loop. Under Xvfb the swap does not wait for a retrace, so
// without the cap these frames would take a few milliseconds.
#include "frame/window.h"

#include "foundation/logging.h"
#include "frame/integration_win.h"

#include <gtest/gtest.h>

#include <chrono>

namespace
{
int frames = 0;

void CountFrames(Window *window)
{
    if (++frames == 120)
    {
        Window_SetShouldClose(window);
    }
}

TEST(FramePacing, HundredTwentyFramesTakeAboutTwoSeconds)
{
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    Window_Initialize_Library();
    OSProgramResume();
    // A small window keeps each frame's own work (clear, cube, swap) far below its share of a
    // second even on a busy machine, so the time measured is the cap's.
    Window *window = Window_Create(160, 120, "Zindrel pacing test", CountFrames, nullptr);
    const auto start = std::chrono::steady_clock::now();
    Window_MakeActive(window);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    Window_Destroy(window);
    EXPECT_EQ(frames, 120);
    // 119 full slots at 62 frames a second are 1.92 s.
    EXPECT_GT(elapsed.count(), 1.5);
    EXPECT_LT(elapsed.count(), 3.0);
}
} // namespace
