#include "texture/DecodeBudget.h"

namespace tamsel::texture {

DecodeBudget& DecodeBudget::Program() {
    static DecodeBudget budget(kProgramBudget);
    return budget;
}

DecodeBudget::Reservation::Reservation(Reservation&& other) noexcept
    : budget_(other.budget_), bytes_(other.bytes_) {
    other.budget_ = nullptr;
}

DecodeBudget::Reservation::~Reservation() {
    if (budget_ != nullptr) {
        budget_->Release(bytes_);
    }
}

std::optional<DecodeBudget::Reservation> DecodeBudget::Reserve(std::uint64_t bytes) {
    if (bytes > total_) {
        return std::nullopt;
    }
    std::unique_lock lock(mutex_);
    released_.wait(lock, [&] { return total_ - inUse_ >= bytes; });
    inUse_ += bytes;
    return Reservation(this, bytes);
}

std::uint64_t DecodeBudget::InUse() const {
    const std::lock_guard lock(mutex_);
    return inUse_;
}

void DecodeBudget::Release(std::uint64_t bytes) {
    {
        const std::lock_guard lock(mutex_);
        inUse_ -= bytes;
    }
    released_.notify_all();
}

}  // namespace tamsel::texture
