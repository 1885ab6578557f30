// Helpers shared by the resource tests: fixture files and a test fixture.
#pragma once

#include "foundation/logging.h"
#include "resources/resource_win.h"
#include "tests/support/support.h"

#include <fstream>
#include <gmock/gmock.h>
#include <iterator>
#include <string>
#include <vector>

// Path of a file written by make_fixtures.sh.
inline std::string FixturePath(const std::string &name)
{
    return RESOURCES_FIXTURE_DIR "/" + name;
}

inline std::vector<uint8_t> ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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
