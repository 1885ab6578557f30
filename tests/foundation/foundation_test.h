// A fixture that fails any test leaving blocks of the tracking allocator behind.
#pragma once

#include "foundation/allocator.h"
#include "foundation/checksum.h"
#include "foundation/list.h"
#include "foundation/logging.h"
#include "foundation/mystring.h"
#include "tests/support/support.h"

#include <algorithm>
#include <cstring>
#include <gmock/gmock.h>
#include <random>
#include <string>
#include <tuple>
#include <vector>

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
