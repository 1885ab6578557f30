// web_loop: frames are timed on a grid of slots of 1 / OS_FRAME_RATE_CAP s, like the desktop's
// frame-rate cap; the browser's refreshes only decide when a due frame is shown.
#include "frame/web/web_loop.h"

#include "frame/integration_win.h"

#include <emscripten.h>

static constexpr double _FRAME_PERIOD_MS = 1000.0 / OS_FRAME_RATE_CAP;
// A refresh this close before its slot ends still runs the frame: refresh times jitter, and a
// 60 Hz display (16.7 ms) must not lose frames to a 16.1 ms slot.
static constexpr double _SLOT_TOLERANCE_MS = 1.0;

static WebLoopFrameFunction _frame = nullptr;
static void *_argument = nullptr;
static double _slotStart = 0.0;
static uint32_t _frameCount = 0;

static void _Refresh(void)
{
    if (!OSProgramRunning())
    {
        emscripten_cancel_main_loop();
        EM_ASM({
            if (Module['onGameEnded'])
            {
                Module['onGameEnded']();
            }
        });
        return;
    }
    const double now = emscripten_get_now();
    if (_frameCount > 0)
    {
        const double slotEnd = _slotStart + _FRAME_PERIOD_MS;
        if (now < slotEnd - _SLOT_TOLERANCE_MS)
        {
            return;
        }
        // Slots follow one another on the grid; after a stall the grid restarts at now rather
        // than running frames back to back to catch up.
        _slotStart = now - slotEnd < _FRAME_PERIOD_MS ? slotEnd : now;
    }
    else
    {
        _slotStart = now;
    }
    _frame(_argument);
    _frameCount++;
}

void WebLoop_Run(WebLoopFrameFunction frame, void *argument)
{
    _frame = frame;
    _argument = argument;
    // 0 frames a second: the browser's refresh rate; 1: main does not return.
    emscripten_set_main_loop(_Refresh, 0, 1);
}

extern "C" EMSCRIPTEN_KEEPALIVE uint32_t WebLoop_GetFrameCount(void)
{
    return _frameCount;
}
