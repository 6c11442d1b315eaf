#pragma once
#include <gtest/gtest.h>

#include <string_view>

// The one kind of skip this driver accepts: a check that this Wine cannot make at all, because it
// lacks what the check needs. The reason is printed with the skip; the driver's main fails the
// run on a skip of any other kind, so a test that cannot reach its subject never passes quietly.
namespace tessmoor::e2e {

inline constexpr std::string_view kWineLacksTag = "[wine lacks] ";

}  // namespace tessmoor::e2e

#define TESSMOOR_SKIP_WHERE_WINE_LACKS(reason) GTEST_SKIP() << ::tessmoor::e2e::kWineLacksTag << (reason)
