// float_text: the match is found here, and the conversion of a decimal match is left to strtof
// on a zero-terminated copy: C's strtof rounds correctly too, but it would skip blanks, take
// '+' and hexadecimal, and read on past last.
#include "toolkit/float_text.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

// Copies of longer numbers are made on the heap; almost every number fits here.
static constexpr size_t _SHORT_NUMBER = 64;

static bool _IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Case-insensitive match of a lower-case word at p; returns its length or 0.
static size_t _MatchWord(const char *p, const char *last, const char *word)
{
    const size_t length = strlen(word);
    if (static_cast<size_t>(last - p) < length)
    {
        return 0;
    }
    for (size_t i = 0; i < length; i++)
    {
        if ((p[i] | 0x20) != word[i])
        {
            return 0;
        }
    }
    return length;
}

// "inf", "infinity", "nan" or "nan(...)" at p: sets *value and returns the end, or null.
static const char *_ReadSpecial(const char *p, const char *last, bool negative, float *value)
{
    if (_MatchWord(p, last, "inf") != 0)
    {
        *value = negative ? -std::numeric_limits<float>::infinity()
                          : std::numeric_limits<float>::infinity();
        return p + (_MatchWord(p, last, "infinity") != 0 ? 8 : 3);
    }
    if (_MatchWord(p, last, "nan") == 0)
    {
        return nullptr;
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    *value = negative ? -nan : nan;
    const char *end = p + 3;
    if (end < last && *end == '(')
    {
        const char *q = end + 1;
        while (q < last &&
               (_IsDigit(*q) || ((*q | 0x20) >= 'a' && (*q | 0x20) <= 'z') || *q == '_'))
        {
            q++;
        }
        if (q < last && *q == ')')
        {
            end = q + 1;
        }
    }
    return end;
}

// Digits with at most one point and an optional exponent at p: returns the end, or null when
// there is no digit. *nonZero tells whether any digit of the significand is not '0'.
static const char *_MatchDecimal(const char *p, const char *last, bool *nonZero)
{
    int32_t digits = 0;
    *nonZero = false;
    bool point = false;
    for (; p < last && (_IsDigit(*p) || (*p == '.' && !point)); p++)
    {
        point = point || *p == '.';
        digits += _IsDigit(*p) ? 1 : 0;
        *nonZero = *nonZero || (*p >= '1' && *p <= '9');
    }
    if (digits == 0)
    {
        return nullptr;
    }
    if (p < last && (*p | 0x20) == 'e')
    {
        const char *q = p + 1;
        if (q < last && (*q == '+' || *q == '-'))
        {
            q++;
        }
        if (q < last && _IsDigit(*q))
        {
            while (q < last && _IsDigit(*q))
            {
                q++;
            }
            p = q;
        }
    }
    return p;
}

std::from_chars_result FloatText_FromChars(const char *first, const char *last, float *value)
{
    const bool negative = first < last && *first == '-';
    const char *p = negative ? first + 1 : first;
    float special = 0.0f;
    if (const char *end = _ReadSpecial(p, last, negative, &special))
    {
        *value = special;
        return {end, std::errc()};
    }
    bool nonZero = false;
    const char *end = _MatchDecimal(p, last, &nonZero);
    if (end == nullptr)
    {
        return {first, std::errc::invalid_argument};
    }
    const size_t length = static_cast<size_t>(end - first);
    char shortCopy[_SHORT_NUMBER];
    char *copy = length < _SHORT_NUMBER ? shortCopy : static_cast<char *>(malloc(length + 1));
    if (copy == nullptr)
    {
        return {first, std::errc::not_enough_memory};
    }
    memcpy(copy, first, length);
    copy[length] = '\0';
    const float result = strtof(copy, nullptr);
    if (copy != shortCopy)
    {
        free(copy);
    }
    // Judged by the value, not errno: strtof also reports subnormal results, which from_chars
    // returns as they are.
    if (std::isinf(result) || (result == 0.0f && nonZero))
    {
        return {end, std::errc::result_out_of_range};
    }
    *value = result;
    return {end, std::errc()};
}
