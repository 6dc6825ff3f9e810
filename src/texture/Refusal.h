#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>

// Why the texture reader refused a file: what kind of fault it found and the numbers that place it,
// worded for people as one short sentence ("the data ends at byte 120 of 4,096"). The reader refuses a
// file only for these; a first tag or a pixel format it does not know is no fault.
namespace tamsel::texture {

enum class RefusalKind : std::uint8_t {
    EmptyFile,         // the file holds no byte
    DataEnds,          // a record or payload reaches past the end of the data
    Unreadable,        // the bytes are there, but reading them failed
    ChunkTooSmall,     // a chunk's Size is below what its payload must hold
    CountOverflows,    // a count made from the headers does not fit in 32 bits
    ResultOutOfRange,  // the MIP header's ResultValue is outside -32768..32767
    SizeNotPositive,   // a canvas side below 0, or stored rows of no pixels
    CanvasOverLimit,   // a canvas over kMaxCanvasPixels, or a side over kMaxCanvasSide
};

struct Refusal {
    RefusalKind kind = RefusalKind::EmptyFile;
    // The numbers the kind needs, in the order its maker below takes them; the rest are 0.
    std::array<std::int64_t, 3> numbers{};

    static constexpr Refusal EmptyFile() { return {RefusalKind::EmptyFile, {}}; }
    // The data ends at byte `end` (the file's size), where it had to reach byte `needed`.
    static constexpr Refusal DataEnds(std::uint64_t end, std::uint64_t needed) {
        return {RefusalKind::DataEnds, {static_cast<std::int64_t>(end), static_cast<std::int64_t>(needed)}};
    }
    static constexpr Refusal Unreadable(std::uint64_t at) {
        return {RefusalKind::Unreadable, {static_cast<std::int64_t>(at)}};
    }
    // The chunk whose header starts at byte `at` has Size `size`, below `least`.
    static constexpr Refusal ChunkTooSmall(std::uint64_t at, std::int32_t size, std::int32_t least) {
        return {RefusalKind::ChunkTooSmall, {static_cast<std::int64_t>(at), size, least}};
    }
    static constexpr Refusal CountOverflows(std::int64_t count) {
        return {RefusalKind::CountOverflows, {count}};
    }
    static constexpr Refusal ResultOutOfRange(std::int32_t value) {
        return {RefusalKind::ResultOutOfRange, {value}};
    }
    // The canvas and its stored row length R: a side below 0, or R = 0.
    static constexpr Refusal SizeNotPositive(std::int32_t width, std::int32_t height,
                                             std::int64_t rowLength) {
        return {RefusalKind::SizeNotPositive, {width, height, rowLength}};
    }
    static constexpr Refusal CanvasOverLimit(std::int32_t width, std::int32_t height) {
        return {RefusalKind::CanvasOverLimit, {width, height}};
    }

    bool operator==(const Refusal&) const = default;
};

// The refusal as one short English sentence, without a full stop: "the file is empty", "the canvas
// 9000 x 9000 is over the limit of 67,108,864 pixels".
std::string RefusalWords(const Refusal& refusal);

// What a read of the reader gives: a T, or the refusal that stopped it. It is used as an optional T
// is, and converts to one where the reason is not wanted.
template <typename T>
class OrRefusal {
public:
    OrRefusal(T value) : outcome_(std::move(value)) {}
    OrRefusal(Refusal refusal) : outcome_(refusal) {}

    bool has_value() const { return outcome_.index() == 0; }
    explicit operator bool() const { return has_value(); }
    T& operator*() { return std::get<0>(outcome_); }
    const T& operator*() const { return std::get<0>(outcome_); }
    T* operator->() { return &std::get<0>(outcome_); }
    const T* operator->() const { return &std::get<0>(outcome_); }

    // Why it was refused; only when there is no value.
    const Refusal& Reason() const { return std::get<1>(outcome_); }

    operator std::optional<T>() const {
        return has_value() ? std::optional<T>(std::get<0>(outcome_)) : std::nullopt;
    }

private:
    std::variant<T, Refusal> outcome_;
};

}  // namespace tamsel::texture
