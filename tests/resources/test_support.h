// Helpers shared by the resource tests: fixture files, captured log lines, a test fixture.
#pragma once

#include "foundation/logging.h"
#include "resources/resource_win.h"

#include <gmock/gmock.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

// Path of a file written by make_fixtures.sh.
inline std::string FixturePath(const std::string &name)
{
    return std::string(RESOURCES_FIXTURE_DIR) + "/" + name;
}

inline std::vector<uint8_t> ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The messages ("Error at file:line - message") written to standard output while action
// runs, one a line; with file given, only those logged from that source file.
inline std::vector<std::string> CaptureMessages(const std::function<void()> &action,
                                                const std::string &file = "")
{
    testing::internal::CaptureStdout();
    action();
    std::istringstream text(testing::internal::GetCapturedStdout());
    std::vector<std::string> messages;
    for (std::string line; std::getline(text, line);)
    {
        const size_t separator = line.find(" - ");
        if (file.empty() || line.find(" at " + file + ":") < separator)
        {
            messages.push_back(separator == std::string::npos ? line : line.substr(separator + 3));
        }
    }
    return messages;
}

// Runs each test at the game's Error level and closes the archive after it.
class ResourceTest : public testing::Test
{
  protected:
    void SetUp() override { Logging_SetLevel(LOGGING_LEVEL_ERROR); }
    void TearDown() override
    {
        Logging_SetLevel(LOGGING_LEVEL_ERROR);
        Resource_Unload();
        Logging_SetLevel(LOGGING_LEVEL_DEBUG);
    }
};
