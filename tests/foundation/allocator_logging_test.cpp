// Tracking allocator, log lines and console output.
#include "foundation_test.h"

#include "foundation/console.h"
#include "foundation/mystring.h"

#include <cstring>
#include <gmock/gmock.h>
#include <unistd.h>

using AllocatorTest = FoundationTest;
using LoggingTest = FoundationTest;
using ConsoleTest = FoundationTest;

// Death-test children print their Error line on standard output; send it where the death
// test looks (standard error) so the exact text can be matched.
static void _StdoutToStderr()
{
    dup2(STDERR_FILENO, STDOUT_FILENO);
}

TEST_F(AllocatorTest, ZeroFilledCountedAndCloned)
{
    const uint32_t allocated = Allocator_GetAllocatedObjects();
    const uint32_t released = Allocator_GetDeallocatedObjects();
    auto *block = static_cast<uint8_t *>(MEMORY_ALLOCATE(64));
    for (int i = 0; i < 64; i++)
    {
        ASSERT_EQ(block[i], 0) << i;
    }
    const char source[] = "clone me";
    auto *clone = static_cast<char *>(MEMORY_CLONE(source, sizeof(source)));
    EXPECT_STREQ(clone, source);
    EXPECT_EQ(Allocator_GetAllocatedObjects(), allocated + 2);
    MEMORY_FREE(block);
    MEMORY_FREE(clone);
    EXPECT_EQ(Allocator_GetDeallocatedObjects(), released + 2);
}

TEST_F(AllocatorTest, DebugLinesNameTheCallingSite)
{
    Logging_SetLevel(LOGGING_LEVEL_DEBUG);
    void *block = nullptr;
    const std::string allocated =
        CaptureOutput([&] { block = _Allocator_Allocate("src/x.c", 7, 24); });
    const std::string released = CaptureOutput([&] { _Allocator_Free("dir/y.c", 9, block); });
    char address[16];
    snprintf(address, sizeof(address), "%x",
             static_cast<uint32_t>(reinterpret_cast<uintptr_t>(block)));
    EXPECT_THAT(allocated,
                ::testing::MatchesRegex("Debug at allocator\\.cpp:[0-9]+ - Allocated object " +
                                        std::string(address) + " of size=24 at src/x\\.c:7\n"));
    EXPECT_THAT(released,
                ::testing::MatchesRegex("Debug at allocator\\.cpp:[0-9]+ - Deallocated object " +
                                        std::string(address) + " at dir/y\\.c:9\n"));
}

TEST_F(AllocatorTest, SummaryOnlyWhenUnbalanced)
{
    void *first = MEMORY_ALLOCATE(8);
    MEMORY_FREE(first);
    ASSERT_EQ(Allocator_GetAllocatedObjects(), Allocator_GetDeallocatedObjects())
        << "an earlier test in this process leaked";
    EXPECT_EQ(CaptureOutput(Allocator_PrintDebugOutput), "");

    void *a = MEMORY_ALLOCATE(8);
    void *b = MEMORY_ALLOCATE(8);
    MEMORY_FREE(a);
    const std::string counts = "Allocator allocated " +
                               std::to_string(Allocator_GetAllocatedObjects()) +
                               " objects and deallocated " +
                               std::to_string(Allocator_GetDeallocatedObjects()) + " objects\\.\n";
    const std::string line = "Error at allocator\\.cpp:[0-9]+ - ";
    EXPECT_THAT(
        CaptureOutput(Allocator_PrintDebugOutput),
        ::testing::MatchesRegex(line + counts + line + counts + line +
                                "Allocator has 1 active objects and 0 bytes allocated\\.\n"));
    MEMORY_FREE(b);
}

TEST(AllocatorDeathTest, ExhaustionEndsTheProcess)
{
    // A negative size sign-extends to a request no heap can meet.
    EXPECT_EXIT((_StdoutToStderr(), _Allocator_Allocate("game/ship.cpp", 42, -1)),
                ::testing::ExitedWithCode(1),
                "(^|\n)Error at allocator\\.cpp:[0-9]+ - Failed to allocate -1 byte at "
                "game/ship\\.cpp:42\\.\n");
}

TEST(AllocatorDeathTest, FreeingNullEndsTheProcess)
{
    EXPECT_EXIT((_StdoutToStderr(), _Allocator_Free("game/ship.cpp", 43, nullptr)),
                ::testing::ExitedWithCode(1),
                "(^|\n)Error at allocator\\.cpp:[0-9]+ - Trying to free NULL pointer at "
                "game/ship\\.cpp:43\\.\n");
    // Only a silenced log keeps the line back; the process still ends.
    EXPECT_EXIT((_StdoutToStderr(), Logging_SetLevel(LOGGING_LEVEL_SILENT), MEMORY_FREE(nullptr)),
                ::testing::ExitedWithCode(1), "^$");
}

TEST_F(LoggingTest, LevelFiltering)
{
    struct Case
    {
        uint32_t current, level;
        const char *label; // null: nothing printed
    };
    const Case cases[] = {
        {0, 1, nullptr}, {1, 1, "Error"}, {1, 2, nullptr},  {1, 3, nullptr},
        {2, 2, "Info"},  {2, 3, nullptr}, {3, 3, "Debug"},  {3, 1, "Error"},
        {3, 0, nullptr}, {3, 4, nullptr}, {99, 3, "Debug"}, {99, 99, nullptr},
    };
    for (const Case &c : cases)
    {
        Logging_SetLevel(c.current);
        const std::string out =
            CaptureOutput([&] { Logging_Print("dir/f.c", 5, c.level, "m%d", 1); });
        const std::string expected = c.label ? std::string(c.label) + " at f.c:5 - m1\n" : "";
        EXPECT_EQ(out, expected) << "current " << c.current << ", level " << c.level;
        EXPECT_EQ(Logging_IsEnabled(c.level), c.label != nullptr);
    }
}

TEST_F(LoggingTest, FileLabelIsTheLastForwardSlashComponent)
{
    const std::pair<const char *, const char *> cases[] = {{"main", "main"},
                                                           {"a/b/c", "c"},
                                                           {"/abs/sprite.cpp", "sprite.cpp"},
                                                           {"a\\b", "a\\b"},
                                                           {"dir/", ""}};
    for (const auto &[path, label] : cases)
    {
        EXPECT_EQ(CaptureOutput([&] { Logging_Print(path, 12, LOGGING_LEVEL_ERROR, "x"); }),
                  "Error at " + std::string(label) + ":12 - x\n");
    }
}

TEST_F(LoggingTest, MessageCutAt255Characters)
{
    const std::string message(300, 'q');
    const std::string out = CaptureOutput([&] { LOG_ERROR("%s", message.c_str()); });
    const size_t dash = out.find(" - ");
    ASSERT_NE(dash, std::string::npos);
    EXPECT_EQ(out.substr(dash + 3), std::string(255, 'q') + "\n");
}

TEST_F(LoggingTest, FilteredLinesAreNotFormatted)
{
    // A %s whose pointer is never valid would crash vsnprintf: it must not be reached.
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    EXPECT_EQ(CaptureOutput([] { LOG_DEBUG("%s", reinterpret_cast<const char *>(1)); }), "");
}

TEST_F(ConsoleTest, Writers)
{
    EXPECT_EQ(CaptureOutput([] { Console_PrintCStr("plain"); }), "plain\n");
    EXPECT_EQ(CaptureOutput([] { Console_PrintCStrFormat("%d-%s", 4, "x"); }), "4-x");
    String *text = String_Create("held");
    EXPECT_EQ(CaptureOutput([&] { Console_Print(text); }), "held\n");
    EXPECT_EQ(CaptureOutput([&] { String_Print(text); }), "held\n");
    String_Destroy(text);
}

TEST_F(ConsoleTest, BinaryDump)
{
    const uint8_t bytes[] = {0x01, 0x80, 0xA5};
    auto dump = [&](int32_t bits)
    { return CaptureOutput([&] { Console_PrintBinary(bytes, bits); }); };
    EXPECT_EQ(dump(12), "00000001 10000000 ");
    EXPECT_EQ(dump(8), "00000001 ");
    EXPECT_EQ(dump(1), "00000001 ");
    EXPECT_EQ(dump(24), "00000001 10000000 10100101 ");
    EXPECT_EQ(dump(0), "");
    EXPECT_EQ(dump(-8), "");
}
