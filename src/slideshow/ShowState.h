#pragma once

#include <array>

// The slide show's part of what the window shows: whether a show runs, and its settings.
namespace tamsel::slideshow {

enum class Phase { Off, Running, Paused };
enum class Order { Sequential, Random };

// Seconds of the intervals a show may wait, in the order of the Display Interval menu.
inline constexpr std::array<int, 7> kIntervalSeconds{1, 3, 5, 10, 15, 30, 60};

struct ShowState {
    Phase phase = Phase::Off;
    Order order = Order::Sequential;
    int interval = 1;  // index into kIntervalSeconds: 3 seconds at each start of the program
};

// The entry picked at random: floor(listCount x r) for r in [0, 1), always within the list.
int RandomEntry(double r, int listCount);

}  // namespace tamsel::slideshow
