// web_loop: the frame loop of the web build. A browser page cannot block in a loop of its own,
// so the browser calls one frame per display refresh (requestAnimationFrame) and this module
// decides which of those calls run a game step.
#pragma once

#include <cstdint>

typedef void (*WebLoopFrameFunction)(void *argument);

// Runs frame(argument) from the browser's refresh, at most OS_FRAME_RATE_CAP times a second:
// a refresh that comes before the current frame's share of a second is over runs nothing and
// leaves the last picture on the page, so a 120 or 144 Hz display plays at the desktop's speed.
// Once the exit flag is set (OSProgramShouldExit) the loop stops for good, the page keeps the
// last frame, and the page's Module.onGameEnded is called when it has one.
// Never returns: the browser's event loop takes over, and main's code after the call never runs.
void WebLoop_Run(WebLoopFrameFunction frame, void *argument);

// Frames run so far, for the page and its tests (Module._WebLoop_GetFrameCount()).
extern "C" uint32_t WebLoop_GetFrameCount(void);
