// date: wall-clock time.
#pragma once

#include <cstdint>

// Whole seconds since 1970-01-01 00:00 UTC.
int64_t Date_GetSecondsSinceEpoch(void);
