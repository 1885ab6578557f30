// FloatText_FromChars against the C++ library's own float std::from_chars: the same value
// (bit for bit, or both NaN of the same sign), the same stop and the same error on every text.
#include "toolkit/float_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <sstream>
#include <string>
#include <utility>

TEST(FloatText, ReadsEveryFormAsTheLibraryDoes)
{
    std::istringstream texts(
        "0|-0|1|-1.5|3.14159|.5|5.|.|-|-.|| 1|+1|++1|1e|1e+|1e-3|2E10|1.5e+7x|12abc|0x1p3|0X10|"
        "00012|1..2|inf|-INF|infinity|Infinit|infx|nan|-nan|NaN(123_ab)|nan(|nan(1 2)|in|na|e5|"
        "-e5|1e39|-1e39|1e-50|-1e-50|1e-40|1.4e-45|7e-46|3.4028235e38|3.4028236e38|"
        "3.40282357e38|0.0e999|16777217|16777219|"
        "1.00000005960464477539062500000000000000000000000000000000001|"
        "0.000000000000000000000000000000000000000000000000000000000000000000000000000001|"
        "123456789012345678901234567890123456789012345678901234567890123456789012|");
    for (std::string text; std::getline(texts, text, '|');)
    {
        SCOPED_TRACE('"' + text + '"');
        float expected = 12.5f, actual = 12.5f;
        const char *first = text.data(), *last = first + text.size();
        const std::from_chars_result wanted = std::from_chars(first, last, expected);
        const std::from_chars_result got = FloatText_FromChars(first, last, &actual);
        EXPECT_EQ(std::pair(got.ptr - first, got.ec), std::pair(wanted.ptr - first, wanted.ec));
        if (std::isnan(expected))
            EXPECT_TRUE(std::isnan(actual) && std::signbit(actual) == std::signbit(expected));
        else
            EXPECT_EQ(std::bit_cast<uint32_t>(actual), std::bit_cast<uint32_t>(expected));
    }
}
