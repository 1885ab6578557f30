// vector: plain single-precision arithmetic, one component at a time.
#include "foundation/vector.h"

#include "foundation/allocator.h"

Vector2 Vector2_Static(float x, float y)
{
    return Vector2{x, y};
}

Vector3 Vector3_Static(float x, float y, float z)
{
    return Vector3{x, y, z};
}

Vector2 *Vector2_Create(float x, float y)
{
    Vector2 *vector = MEMORY_ALLOCATE_RECORD(Vector2);
    *vector = Vector2{x, y};
    return vector;
}

Vector3 *Vector3_Create(float x, float y, float z)
{
    Vector3 *vector = MEMORY_ALLOCATE_RECORD(Vector3);
    *vector = Vector3{x, y, z};
    return vector;
}

void Vector2_Destroy(Vector2 *vector)
{
    MEMORY_FREE(vector);
}

void Vector3_Destroy(Vector3 *vector)
{
    MEMORY_FREE(vector);
}

// Only values below zero are negated, so -0 and NaN pass through unchanged.
static float _Abs(float value)
{
    return value < 0.0f ? -value : value;
}

Vector2 Vector2_Add(Vector2 a, Vector2 b)
{
    return Vector2{a.x + b.x, a.y + b.y};
}

Vector2 Vector2_Subtract(Vector2 a, Vector2 b)
{
    return Vector2{a.x - b.x, a.y - b.y};
}

Vector2 Vector2_Multiply(Vector2 v, float factor)
{
    return Vector2{v.x * factor, v.y * factor};
}

Vector2 Vector2_Divide(Vector2 v, float divisor)
{
    return Vector2{v.x / divisor, v.y / divisor};
}

Vector2 Vector2_Abs(Vector2 v)
{
    return Vector2{_Abs(v.x), _Abs(v.y)};
}

Vector3 Vector3_Add(Vector3 a, Vector3 b)
{
    return Vector3{a.x + b.x, a.y + b.y, a.z + b.z};
}

Vector3 Vector3_Subtract(Vector3 a, Vector3 b)
{
    return Vector3{a.x - b.x, a.y - b.y, a.z - b.z};
}

Vector3 Vector3_Multiply(Vector3 v, float factor)
{
    return Vector3{v.x * factor, v.y * factor, v.z * factor};
}

Vector3 Vector3_Divide(Vector3 v, float divisor)
{
    return Vector3{v.x / divisor, v.y / divisor, v.z / divisor};
}

Vector3 Vector3_Abs(Vector3 v)
{
    return Vector3{_Abs(v.x), _Abs(v.y), _Abs(v.z)};
}
