// background: the endlessly scrolling star field behind the game. One tall picture is drawn
// twice a frame, one copy right above the other, while a scroll offset shared by every
// background of the program moves both a little each frame and wraps around.
#pragma once

#include "foundation/vector.h"

struct Background;
struct SubTexture;

// A background of the given size centred on (0, 0), standing still, showing subTexture (or,
// while that is null, a plain black rectangle). The sub-texture is borrowed.
// Ownership: the caller; release with Background_Destroy.
Background *Background_Create(Vector2 size, SubTexture *subTexture);
void Background_Destroy(Background *background);
// The picture, borrowed from the asset catalogue once it exists.
void Background_SetSubTexture(Background *background, SubTexture *subTexture);
// Change of the shared scroll offset per rendered frame, in drawing units; negative scrolls
// the picture down.
void Background_SetAnimationSpeed(Background *background, double speed);
Vector2 Background_GetSize(Background *background);
// Advances the shared offset by the speed (back to 0 below minus the height, held at the height
// above it) and draws both copies, replacing whatever was drawn before them.
void Background_Render(Background *background);
