// vector: two- and three-component float values, passed and returned by value.
#pragma once

struct Vector2
{
    float x;
    float y;
};

struct Vector3
{
    float x;
    float y;
    float z;
};

Vector2 Vector2_Static(float x, float y);
Vector3 Vector3_Static(float x, float y, float z);

// Heap vectors from the tracking allocator. Ownership: the caller; release with the
// matching _Destroy.
Vector2 *Vector2_Create(float x, float y);
Vector3 *Vector3_Create(float x, float y, float z);
void Vector2_Destroy(Vector2 *vector);
void Vector3_Destroy(Vector3 *vector);

// Component-wise arithmetic; no operand is checked (division by zero gives IEEE results).
Vector2 Vector2_Add(Vector2 a, Vector2 b);
Vector2 Vector2_Subtract(Vector2 a, Vector2 b);
Vector2 Vector2_Multiply(Vector2 v, float factor);
Vector2 Vector2_Divide(Vector2 v, float divisor);
// Negates the components below zero; -0 and NaN stay as they are.
Vector2 Vector2_Abs(Vector2 v);

Vector3 Vector3_Add(Vector3 a, Vector3 b);
Vector3 Vector3_Subtract(Vector3 a, Vector3 b);
Vector3 Vector3_Multiply(Vector3 v, float factor);
Vector3 Vector3_Divide(Vector3 v, float divisor);
Vector3 Vector3_Abs(Vector3 v);
