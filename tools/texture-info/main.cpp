// texture-info [--ppm] FILE: reads one texture file with a reader that has seen no palette before and
// prints what it finds in the headers, or with --ppm the painted canvas as a binary PPM on stdout.
// A refused file prints "Not a valid texture file" on stderr and exits with 1.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string_view>
#include <vector>

#include "samples/Ppm.h"
#include "texture/TextureReader.h"

using tamsel::texture::Container;
using tamsel::texture::TextureLayout;

namespace {

const char* ContainerName(Container container) {
    switch (container) {
        case Container::BareImage:
            return "bare image";
        case Container::SrbWrapper:
            return "SRB wrapper";
        case Container::MipFile:
            break;
    }
    return "MIP file";
}

void PrintLayout(const TextureLayout& layout) {
    std::cout << "container: " << ContainerName(layout.container) << '\n'
              << "mip format: " << int{layout.mipFormat} << '\n'
              << "image format: " << int{layout.imageFormat} << '\n'
              << "pixels: " << (layout.fourBit ? "4-bit palette indices" : "16-bit") << '\n'
              << "width: " << layout.width << '\n'
              << "height: " << layout.height << '\n'
              << "pitch: " << layout.pitch << '\n'
              << "row length: " << layout.rowLength << '\n'
              << "palette read: " << (layout.paletteRead ? "yes" : "no") << '\n'
              << "pixel data: " << layout.pixelDataSize << " bytes at offset " << layout.pixelDataOffset
              << '\n'
              << "stored pixels: " << layout.pixelCount << '\n'
              << "result value: " << layout.result << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    const bool ppm = argc == 3 && std::string_view(argv[1]) == "--ppm";
    if (argc != 2 && !ppm) {
        std::cerr << "usage: texture-info [--ppm] FILE\n";
        return 2;
    }
    const char* path = argv[argc - 1];
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "texture-info: cannot open " << path << '\n';
        return 2;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};

    tamsel::texture::TextureReader reader;
    const auto decoded = tamsel::texture::Decode(reader, bytes);
    if (!decoded) {
        std::cerr << "Not a valid texture file\n";
        return 1;
    }
    if (ppm) {
        tamsel::samples::WritePpm(std::cout, decoded->layout.width, decoded->layout.height, decoded->pixels);
    } else {
        PrintLayout(decoded->layout);
    }
    return std::cout ? 0 : 1;
}
