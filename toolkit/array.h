// array: growth of the plain arrays that the model readers fill one element at a time.
#pragma once

#include <cstdint>

// Makes room for element `count` of an array that holds count elements of elementSize
// bytes: when count is 0 or a multiple of step, the array is reallocated to
// (count + step) x elementSize bytes; otherwise it already has room and is returned as it is.
// The caller then writes element count and increments its count. Exhausted memory ends the
// process. Ownership: the array lives on the standard heap; the caller releases it with free.
void *Array_Extend(void *array, int32_t count, int32_t elementSize, int32_t step);
