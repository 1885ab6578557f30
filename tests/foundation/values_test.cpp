// Vectors, colours, random numbers and the clock.
#include "foundation_test.h"

#include "foundation/color.h"
#include "foundation/date.h"
#include "foundation/random.h"
#include "foundation/vector.h"

#include <cmath>
#include <ctime>
#include <limits>

using VectorTest = FoundationTest;

TEST_F(VectorTest, ArithmeticAbsAndRecords)
{
    const auto Xyz = [](Vector3 v) { return std::make_tuple(v.x, v.y, v.z); };
    const auto Xy = [](Vector2 v) { return std::make_tuple(v.x, v.y); };
    const Vector2 a = Vector2_Static(1.5f, -2.0f), b = Vector2_Static(0.5f, 4.0f);
    EXPECT_EQ(Xy(Vector2_Add(a, b)), std::make_tuple(2.0f, 2.0f));
    EXPECT_EQ(Xy(Vector2_Subtract(a, b)), std::make_tuple(1.0f, -6.0f));
    EXPECT_EQ(Xy(Vector2_Abs(Vector2_Divide(Vector2_Multiply(a, 2.0f), 4.0f))),
              std::make_tuple(0.75f, 1.0f));
    const Vector3 c = Vector3_Static(1, 2, 3), d = Vector3_Static(-1, 0.5f, 6);
    EXPECT_EQ(Xyz(Vector3_Add(c, d)), std::make_tuple(0.0f, 2.5f, 9.0f));
    EXPECT_EQ(Xyz(Vector3_Subtract(c, d)), std::make_tuple(2.0f, 1.5f, -3.0f));
    EXPECT_EQ(Xyz(Vector3_Divide(Vector3_Multiply(c, 4), 8)), std::make_tuple(0.5f, 1.0f, 1.5f));
    // Only values below zero are negated: -0 and NaN pass through.
    const Vector3 odd =
        Vector3_Abs(Vector3_Static(-0.0f, std::numeric_limits<float>::quiet_NaN(), -0.5f));
    EXPECT_TRUE(std::signbit(odd.x) && std::isnan(odd.y) && odd.z == 0.5f);

    Vector2 *v2 = Vector2_Create(1, 2);
    Vector3 *v3 = Vector3_Create(3, 4, 5);
    EXPECT_EQ(Xy(*v2), std::make_tuple(1.0f, 2.0f));
    EXPECT_EQ(Xyz(*v3), std::make_tuple(3.0f, 4.0f, 5.0f));
    Vector2_Destroy(v2);
    Vector3_Destroy(v3);
    const Color color = Color_Static(0.1f, 0.2f, 0.3f, 0.4f);
    EXPECT_EQ(std::make_tuple(color.red, color.green, color.blue, color.alpha),
              std::make_tuple(0.1f, 0.2f, 0.3f, 0.4f));
}

TEST(Random, SeedsRepeatTheSequenceAndTheStateGeneratorStepsItsOwnState)
{
    auto draw = [](int32_t seed)
    {
        Random_SetSeed(seed);
        std::vector<int32_t> values(64);
        for (int32_t &value : values)
            value = Random_GetValue();
        return values;
    };
    EXPECT_EQ(draw(42), draw(42));
    EXPECT_NE(draw(42), draw(43));
    EXPECT_EQ(draw(0), draw(0)) << "seed 0 must not fall back to the clock";

    uint64_t state = 0;
    EXPECT_EQ(randomStateValueInt(&state), 0);
    EXPECT_EQ(randomStateValueInt(&state), 0x5851F42D);
    EXPECT_EQ(state, 0x5851F42D4C957F2Eull);
    state = 0xFFFFFFFFFFFFFFFFull; // the top bit of the state never reaches the value
    for (int i = 0; i < 1000; i++)
        EXPECT_GE(randomStateValueInt(&state), 0);
}

TEST(ClockDeathTest, FirstRandomDrawSeedsFromTheClockAndDateFollowsIt)
{
    // Re-executed in a fresh process, so the generator has not been seeded yet there.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto check = []
    {
        const auto before = static_cast<unsigned>(time(nullptr));
        const int first = Random_GetValue(), second = Random_GetValue();
        bool seeded = false; // the second draw did not reseed
        for (auto t = before; t <= static_cast<unsigned>(time(nullptr)); t++)
            seeded = seeded || (srand(t), rand() == first && rand() == second);
        exit(seeded ? 0 : 1);
    };
    EXPECT_EXIT(check(), ::testing::ExitedWithCode(0), "");
    const int64_t before = time(nullptr), now = Date_GetSecondsSinceEpoch();
    EXPECT_TRUE(now >= before && now <= time(nullptr)) << now;
}
