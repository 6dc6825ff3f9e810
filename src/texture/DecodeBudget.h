#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>

namespace tamsel::texture {

// The memory that the decodes in progress may take together, on every thread at once. Before it
// starts, a decode reserves what its header says it will need: it waits while others hold too much of
// the budget, and is refused at once when it alone would need more than the whole budget. So no file,
// and no page of such files, can make the program take more than the budget for decoding.
class DecodeBudget {
public:
    // The budget of the whole program: 1 GiB.
    static constexpr std::uint64_t kProgramBudget = std::uint64_t{1} << 30;
    static DecodeBudget& Program();

    explicit DecodeBudget(std::uint64_t total) : total_(total) {}
    DecodeBudget(const DecodeBudget&) = delete;
    DecodeBudget& operator=(const DecodeBudget&) = delete;

    // Memory held for one decode; given back when the reservation goes.
    class Reservation {
    public:
        Reservation(Reservation&& other) noexcept;
        Reservation& operator=(Reservation&&) = delete;
        Reservation(const Reservation&) = delete;
        Reservation& operator=(const Reservation&) = delete;
        ~Reservation();

    private:
        friend class DecodeBudget;
        Reservation(DecodeBudget* budget, std::uint64_t bytes) : budget_(budget), bytes_(bytes) {}
        DecodeBudget* budget_;
        std::uint64_t bytes_;
    };

    // Reserves `bytes`, waiting until that much is free; nothing when `bytes` is more than the total.
    std::optional<Reservation> Reserve(std::uint64_t bytes);

    std::uint64_t Total() const { return total_; }
    std::uint64_t InUse() const;

private:
    void Release(std::uint64_t bytes);

    const std::uint64_t total_;
    std::uint64_t inUse_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable released_;
};

}  // namespace tamsel::texture
