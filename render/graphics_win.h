// graphics_win: the game's only drawing interface. It keeps the drawing position, the blend
// factors of textured rectangles and the shared asset catalogue with its font, and draws
// axis-aligned rectangles (plain, textured, text) in OpenGL immediate mode. Everything is in
// normalised device coordinates: x and y run from -1 to +1 across the window, y up.
#pragma once

#include "foundation/color.h"
#include "foundation/vector.h"

#include <cstdint>

struct Asset;
struct String;
struct SubTexture;
struct Window;

// Puts the drawing position back at (0, 0). Called once after the window exists.
void Graphics_Initialize(void);
// Destroys the font and then the catalogue, when they were made. Called once at shut-down
// (the next Graphics_GetAsset would make them anew).
void Graphics_Deinitialize(void);
// The shared catalogue; the first call creates it and the font cut from its glyph sheets, so
// it needs a current OpenGL context and the resource archive.
// Ownership: this module's; released by Graphics_Deinitialize.
Asset *Graphics_GetAsset(void);

// Starts a frame: the viewport covers the window's framebuffer (larger than the window on a
// scaled desktop), the colour buffer is cleared to dark grey and the model-view matrix is
// selected for the drawing that follows. The window stays the caller's.
void Graphics_SetContext(Window *window);

// The bottom-left corner of the next rectangle. Positions replace each other; they never add up.
void Graphics_SetPosition(Vector2 position);
Vector2 Graphics_GetPosition(void);
// Colour of plain rectangles (textured ones show their texels). The colour is copied.
void Graphics_SetColor(const Color *color);
// Blend codes for the next textured rectangles, mapped 1 GL_ONE, 2 GL_SRC_COLOR,
// 3 GL_ONE_MINUS_SRC_COLOR, 4 GL_DST_COLOR, 5 GL_ONE_MINUS_DST_COLOR, 6 GL_SRC_ALPHA,
// 7 GL_ONE_MINUS_SRC_ALPHA, 8 GL_DST_ALPHA, 9 GL_ONE_MINUS_DST_ALPHA, 10 GL_SRC_ALPHA_SATURATE,
// anything else GL_ZERO. They stay in force, across frames, until set again.
void Graphics_SetBlendFactors(int32_t source, int32_t destination);

// A quad from the drawing position to the position plus size, in the current colour, opaque.
void Graphics_DrawRectangle(Vector2 size);
void Graphics_DrawSquare(double size);
// The sub-texture stretched over the rectangle, its upper-left row along the top edge, blended
// with the current blend factors. A null sub-texture is logged and drawn as a plain rectangle.
// Texturing and blending stay on afterwards for the next textured rectangle; this module's
// plain drawings turn them off, so OpenGL calls of other code must set what they need.
// The sub-texture stays the caller's.
void Graphics_DrawTexturedRectangle(Vector2 size, SubTexture *subTexture);

// Text through the shared font at the drawing position, in square cells of the given size;
// alignment 1 centres it on the position, 2 ends it there, anything else starts it there.
// Nothing is drawn while the font does not exist yet. The text stays the caller's.
void Graphics_DrawMessage(String *text, float size, int32_t alignment);
void Graphics_DrawMessageCStr(const char *text, float size, int32_t alignment);

// Copies the frame drawn so far into a picture kept by this module, for a screen that stands
// still over it later. Needs the frame's viewport set (after Graphics_SetContext). The picture
// is replaced by the next call and released by Graphics_Deinitialize.
void Graphics_HoldFrame(void);
// The held picture over the whole viewport, opaque; nothing before the first hold. The drawing
// position stays where it was.
void Graphics_DrawHeldFrame(void);
