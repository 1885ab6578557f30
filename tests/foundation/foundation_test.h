// Shared pieces of the foundation tests: a fixture that fails any test leaving blocks of the
// tracking allocator behind.
#pragma once

#include "foundation/allocator.h"
#include "foundation/logging.h"
#include "tests/support/support.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

class FoundationTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        Logging_SetLevel(LOGGING_LEVEL_ERROR);
        liveAtStart = Live();
    }
    void TearDown() override
    {
        EXPECT_EQ(Live(), liveAtStart) << "tracking-allocator blocks leaked or freed twice";
        Logging_SetLevel(LOGGING_LEVEL_DEBUG);
    }
    static int64_t Live()
    {
        return int64_t{Allocator_GetAllocatedObjects()} - Allocator_GetDeallocatedObjects();
    }

  private:
    int64_t liveAtStart = 0;
};
