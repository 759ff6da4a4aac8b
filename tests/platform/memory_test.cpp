#include <gtest/gtest.h>

#include "platform/Memory.h"

using tarnbook::platform::freeMemoryPercent;
using tarnbook::platform::freeMemoryPercentOf;

TEST(FreeMemory, IsTheAvailableShareOfTheTotal) {
    struct Case {
        const char* meminfo;
        std::optional<int> percent;
    };
    const Case cases[] = {
        {"MemTotal:       16000000 kB\nMemFree:  1000 kB\nMemAvailable:    4000000 kB\n", 25},
        // Order does not matter; the share is rounded down.
        {"MemAvailable: 2 kB\nMemTotal: 3 kB\n", 66},
        // A key that only begins like another is not it.
        {"MemTotalX: 10 kB\nMemTotal: 200 kB\nMemAvailable: 50 kB", 25},
        // Figures near the top of the range do not overflow.
        {"MemTotal: 18446744073709551615 kB\nMemAvailable: 18446744073709551615 kB\n", 100},
        // More available than the total (a racing read) counts as all of it.
        {"MemTotal: 100 kB\nMemAvailable: 150 kB\n", 100},
        {"MemTotal: 100 kB\n", std::nullopt},  // old kernels have no MemAvailable
        {"MemTotal: 0 kB\nMemAvailable: 0 kB\n", std::nullopt},
        {"MemTotal: lots\nMemAvailable: 1 kB\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(freeMemoryPercentOf(c.meminfo), c.percent) << c.meminfo;
}

TEST(FreeMemory, ThisMachineReportsAShare) {
    const auto percent = freeMemoryPercent();
    ASSERT_TRUE(percent.has_value());
    EXPECT_GE(*percent, 0);
    EXPECT_LE(*percent, 100);
}
