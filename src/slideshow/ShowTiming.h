#pragma once

#include <array>

// The slide show's settings and clock arithmetic.
namespace tamsel::slideshow {

// Seconds of the "Display Interval" items 0..6.
inline constexpr std::array<int, 7> kIntervalSeconds{1, 3, 5, 10, 15, 30, 60};

// The interval of the checked item; the last checked one wins, and with none checked it is 1 second.
int IntervalSeconds(const std::array<bool, 7>& checked);

// Seconds from `start` to `now`, both seconds since midnight; a wait that spans midnight counts on.
double SecondsBetween(double start, double now);

// The entry picked at random: floor(listCount x r) for r in [0, 1), always within the list.
int RandomEntry(double r, int listCount);

}  // namespace tamsel::slideshow
