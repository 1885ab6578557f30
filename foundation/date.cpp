// date: the calendar clock in whole seconds.
#include "foundation/date.h"

#include <ctime>

int64_t Date_GetSecondsSinceEpoch(void)
{
    return static_cast<int64_t>(time(nullptr));
}
