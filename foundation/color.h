// color: an RGBA value, four floats from 0 to 1, passed by value.
#pragma once

struct Color
{
    float red;
    float green;
    float blue;
    float alpha;
};

Color Color_Static(float red, float green, float blue, float alpha);
