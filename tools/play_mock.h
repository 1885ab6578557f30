// play_mock: a still of the play screen (1024 x 768) composed from the sheets at the sizes and
// with the blending the game uses, so that the art can be judged at its real scale.
#pragma once

#include "tools/pixmap.h"

Pixmap PlayMock_Draw(void);
