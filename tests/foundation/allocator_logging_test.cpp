// Tracking allocator, log lines and console output.
#include "foundation_test.h"

#include "foundation/console.h"

#include <unistd.h>

using AllocatorTest = FoundationTest;
using LoggingTest = FoundationTest;
using ::testing::MatchesRegex;

TEST_F(AllocatorTest, BlocksAreZeroedClonedCountedAndLogged)
{
    const uint32_t allocated = Allocator_GetAllocatedObjects();
    auto *clone = static_cast<char *>(MEMORY_CLONE("clone me", 9));
    EXPECT_STREQ(clone, "clone me");
    Logging_SetLevel(LOGGING_LEVEL_DEBUG);
    uint8_t *block = nullptr;
    const std::string made = CaptureOutput(
        [&] { block = static_cast<uint8_t *>(_Allocator_Allocate("src/x.c", 7, 24)); });
    EXPECT_EQ(std::count(block, block + 24, 0), 24);
    EXPECT_EQ(Allocator_GetAllocatedObjects(), allocated + 2);

    char address[16];
    snprintf(address, sizeof(address), "%x",
             static_cast<uint32_t>(reinterpret_cast<uintptr_t>(block)));
    EXPECT_THAT(made + CaptureOutput([&] { _Allocator_Free("dir/y.c", 9, block); }),
                MatchesRegex("Debug at allocator\\.cpp:[0-9]+ - Allocated object " +
                             std::string(address) + " of size=24 at src/x\\.c:7\n" +
                             "Debug .* - Deallocated object " + address + " at dir/y\\.c:9\n"));
    MEMORY_FREE(clone);
}

TEST_F(AllocatorTest, SummaryOnlyWhenUnbalanced)
{
    ASSERT_EQ(Live(), 0) << "an earlier test in this process leaked";
    EXPECT_EQ(CaptureOutput(Allocator_PrintDebugOutput), "");
    void *a = MEMORY_ALLOCATE(8), *b = MEMORY_ALLOCATE(8);
    MEMORY_FREE(a);
    EXPECT_THAT(CaptureOutput(Allocator_PrintDebugOutput),
                MatchesRegex("(Error at allocator\\.cpp:[0-9]+ - Allocator allocated " +
                             std::to_string(Allocator_GetAllocatedObjects()) +
                             " objects and deallocated " +
                             std::to_string(Allocator_GetDeallocatedObjects()) +
                             " objects\\.\n){2}Error .* - Allocator has 1 active objects and 0 "
                             "bytes allocated\\.\n"));
    MEMORY_FREE(b);
}

TEST(AllocatorDeathTest, ExhaustionAndFreeingNullEndTheProcess)
{
    // Death-test children log on standard output; the death test reads standard error.
    const auto toStderr = [] { dup2(STDERR_FILENO, STDOUT_FILENO); };
    const auto failed = ::testing::ExitedWithCode(1);
    const std::string error = "(^|\n)Error at allocator\\.cpp:[0-9]+ - ";
    // A negative size sign-extends to a request no heap can meet.
    EXPECT_EXIT((toStderr(), _Allocator_Allocate("game/ship.cpp", 42, -1)), failed,
                error + "Failed to allocate -1 byte at game/ship\\.cpp:42\\.\n");
    EXPECT_EXIT((toStderr(), _Allocator_Free("game/ship.cpp", 43, nullptr)), failed,
                error + "Trying to free NULL pointer at game/ship\\.cpp:43\\.\n");
    // Only a silenced log keeps the line back; the process still ends.
    EXPECT_EXIT((toStderr(), Logging_SetLevel(LOGGING_LEVEL_SILENT), MEMORY_FREE(nullptr)), failed,
                "^$");
}

TEST_F(LoggingTest, LevelFilteringAndFileLabels)
{
    // {current level, line level, label printed or null}
    const std::tuple<uint32_t, uint32_t, const char *> levels[] = {
        {0, 1, nullptr}, {1, 1, "Error"}, {1, 2, nullptr},  {1, 3, nullptr},
        {2, 2, "Info"},  {2, 3, nullptr}, {3, 3, "Debug"},  {3, 1, "Error"},
        {3, 0, nullptr}, {3, 4, nullptr}, {99, 3, "Debug"}, {99, 99, nullptr}};
    for (const auto &[current, level, label] : levels)
    {
        Logging_SetLevel(current);
        EXPECT_EQ(CaptureOutput([level = level] { Logging_Print("dir/f.c", 5, level, "m%d", 1); }),
                  label ? std::string(label) + " at f.c:5 - m1\n" : "")
            << "current " << current << ", level " << level;
        EXPECT_EQ(Logging_IsEnabled(level), label != nullptr);
    }
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    const char *labels[][2] = {
        {"main", "main"}, {"/abs/sprite.cpp", "sprite.cpp"}, {"a\\b", "a\\b"}, {"dir/", ""}};
    for (const auto &[path, label] : labels)
        EXPECT_EQ(CaptureOutput([p = path] { Logging_Print(p, 12, LOGGING_LEVEL_ERROR, "x"); }),
                  "Error at " + std::string(label) + ":12 - x\n");
}

TEST_F(LoggingTest, LongMessagesAreCutFilteredOnesNotFormattedAndConsoleWriters)
{
    const std::string out = CaptureOutput([] { LOG_ERROR("%s", std::string(300, 'q').c_str()); });
    EXPECT_EQ(out.substr(out.find(" - ") + 3), std::string(255, 'q') + "\n");
    // Formatting this %s would read through an invalid pointer: a filtered line must not.
    EXPECT_EQ(CaptureOutput([] { LOG_DEBUG("%s", reinterpret_cast<const char *>(1)); }), "");

    EXPECT_EQ(CaptureOutput([] { Console_PrintCStr("plain"); }), "plain\n");
    EXPECT_EQ(CaptureOutput([] { Console_PrintCStrFormat("%d-%s", 4, "x"); }), "4-x");
    String *text = String_Create("held");
    EXPECT_EQ(CaptureOutput([&] { Console_Print(text), String_Print(text); }), "held\nheld\n");
    String_Destroy(text);

    const uint8_t bytes[] = {0x01, 0xA5, 0x80};
    for (const int32_t bits : {-8, 0, 12, 16})
        EXPECT_EQ(CaptureOutput([&] { Console_PrintBinary(bytes, bits); }),
                  bits > 0 ? "00000001 10100101 " : "");
}
