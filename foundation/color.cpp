// color: the drawing colour value.
#include "foundation/color.h"

Color Color_Static(float red, float green, float blue, float alpha)
{
    return Color{red, green, blue, alpha};
}
