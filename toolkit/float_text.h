// float_text: reads a float from text exactly as std::from_chars(first, last, value) does with
// the general format, for C++ libraries that lack the float overload (Emscripten's).
#pragma once

#include <charconv>

// The longest match of an optional '-', then digits with at most one '.', at least one digit,
// and an optional exponent ('e' or 'E', optional sign, digits); or "inf", "infinity" or "nan",
// "nan(letters, digits, _)" in any case. No leading blanks, no '+', no hexadecimal.
// On success *value is the nearest float (ties to even) and ptr is one past the match; with no
// match ec is std::errc::invalid_argument and ptr is first; when the number is too large or
// too small for a float ec is std::errc::result_out_of_range. In both failures *value is left
// as it was.
// Ownership: nothing is kept; the text is only read and need not end in a zero byte.
std::from_chars_result FloatText_FromChars(const char *first, const char *last, float *value);
