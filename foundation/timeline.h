// timeline: start-up and frame marks for measuring scripts. Off unless the environment
// variable ZINDREL_TIMELINE is set (to anything but "0"); then every mark is one line on
// standard error, "timeline NANOSECONDS KILOBYTES NAME" (KILOBYTES: resident memory then) or
// "frame NUMBER NANOSECONDS", the time read from the monotonic clock, so a parent process can
// subtract the moment it spawned this one. Standard output is never touched.
#pragma once

#include <cstdint>

// True when marks are written. The environment is read on the first call only.
bool Timeline_IsEnabled(void);
// Writes "timeline NANOSECONDS KILOBYTES NAME" when enabled. The name is not kept.
void Timeline_Mark(const char *name);
// Writes "frame NUMBER NANOSECONDS" when enabled: a frame was presented. Number 1 is the
// first presented frame.
void Timeline_MarkFrame(int64_t number);
