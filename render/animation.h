// animation: a short sequence of sub-textures picked by a count-down of render calls rather
// than by time. Explosions and the splash logo use it; their owners also read the running
// count-down as a state (the ship is gone while it runs, the explosion is over once it ended).
#pragma once

#include "foundation/vector.h"

#include <cstdint>

struct Animation;
struct AnimationFrame;
struct SubTexture;

// An idle animation (count-down 0, not ended) without frames, drawn at size.
// Ownership: the caller; release with Animation_Destroy.
Animation *Animation_Create(Vector2 size);
// Releases the frames and the animation; their sub-textures are not touched.
void Animation_Destroy(Animation *animation);
// Appends a frame shown while the count-down is above threshold; add them with falling
// thresholds. The sub-texture is borrowed and must outlive the animation.
void Animation_AddFrame(Animation *animation, int32_t threshold, SubTexture *subTexture);
// Starts, restarts or (with 0) stops the animation, and clears the ended flag.
void Animation_SetCountDown(Animation *animation, int32_t count);
Vector2 Animation_GetSize(Animation *animation);
int32_t Animation_GetCountDown(Animation *animation);
// 1 once a render call has brought the count-down to 0, until it is set again.
int32_t Animation_HasEnded(Animation *animation);
// Draws the first frame whose threshold is below the count-down at the drawing position, with
// the caller's blend factors, then lowers the count-down by one. Idle or ended: nothing.
void Animation_Render(Animation *animation);

// A stand-alone frame record, as Animation_AddFrame makes it; the sub-texture is borrowed.
// Ownership: the caller; release with AnimationFrame_Destroy.
AnimationFrame *AnimationFrame_Create(int32_t threshold, SubTexture *subTexture);
void AnimationFrame_Destroy(AnimationFrame *frame);
