#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "texture/TextureReader.h"

// Reads and paints a texture file the way the viewer does, and checks on the way every promise the
// reader makes about hostile files: for the fuzz target and the tests that replay such files.
namespace tamsel::fuzzing {

struct Outcome {
    std::optional<texture::TextureLayout> layout;  // nothing: the reader refused the file
    std::optional<texture::Refusal> refusal;       // why it refused the file
    std::string fault;                             // the first broken promise; empty when none
};

// Reads `file` with `reader` and, when it is accepted, paints it into a canvas with a guard word after
// each row and after the end. Checks that a refusal says what is true of the file (empty only when it
// is, the data ending at the file's size), that the layout stays within the file and the canvas cap, that
// the palette changed only when the file loaded one, that no guard word was written and that every
// canvas pixel is the colour of the stored pixel that lands on it, or black. A canvas of more than
// `paintBudget` pixels is painted only down to the rows that the budget holds.
Outcome ReadAndPaint(texture::TextureReader& reader, std::span<const std::uint8_t> file,
                     std::int64_t paintBudget = texture::kMaxCanvasPixels);

// True when both readers accepted with the same layout, or both refused for the same reason.
bool SameLayout(const Outcome& a, const Outcome& b);

// A reader whose palette an earlier file has set to 16 colours that are not black.
texture::TextureReader ReaderWithPalette();

}  // namespace tamsel::fuzzing
