#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "samples/Pictures.h"
#include "samples/TextureFiles.h"

// Every kind of texture file the reader meets, good and bad, each with what it must give.
namespace tamsel::samples {

struct Expected {
    std::int16_t result = 0;  // the reader's result value
    Picture picture;          // the whole canvas
};

struct Sample {
    std::string name;       // a file name without extension
    std::string extension;  // ".pbf", ".mip" or ".srb"
    std::string description;
    Bytes bytes;
    std::optional<Expected> expected;  // nothing: the reader refuses the file
    std::string reason;                // a refused file: why, in the reader's words
    // Samples that one reader decodes, in this order, just before this one; `expected` takes its
    // 4-bit colours from the palette they leave. Empty when the file needs no earlier palette.
    std::vector<std::string> decodedBefore;
    // The shortest prefix of the file that carries its whole palette and is read that far; 0 when
    // the reader never loads a palette from this file.
    std::size_t paletteEnd = 0;
};

std::vector<Sample> Catalogue();

// What a reader that has seen no palette yet paints for a good sample: its expected picture, or all
// black when the sample's colours come from an earlier file's palette.
Picture FreshPicture(const Sample& sample);

}  // namespace tamsel::samples
