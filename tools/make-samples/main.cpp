// make-samples DIR: writes every sample texture into DIR under its name and extension, and beside each
// good one NAME.expected.ppm, the canvas that a reader which has seen no palette before paints for
// it. The files the reader must refuse go to DIR/bad/.
// make-samples --demo DIR: writes a dozen larger textures of every container and pixel format, a
// folder to look through with the viewer.
// make-samples --help says so; any other argument that starts with "-" is refused, with status 2.
#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "samples/Catalogue.h"
#include "samples/Ppm.h"
#include "samples/TextureFiles.h"

namespace fs = std::filesystem;
using tamsel::samples::Sample;

namespace {

constexpr std::string_view kHelp = R"(make-samples DIR
  writes every sample texture into DIR under its name and extension (.pbf, .mip, .srb), and beside
  each good one NAME.expected.ppm, the canvas that a reader which has seen no palette before paints
  for it; the files a reader must refuse go to DIR/bad/
make-samples --demo DIR
  writes a dozen larger textures of every container and pixel format into DIR, to look through
make-samples --help
  shows this
A folder whose name starts with "-" is given as ./-NAME.
)";

void WriteFile(const fs::path& path, const tamsel::samples::Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

void WriteExpected(const fs::path& path, const Sample& sample) {
    const tamsel::samples::Picture picture = tamsel::samples::FreshPicture(sample);
    std::ofstream out(path, std::ios::binary);
    tamsel::samples::WritePpm(out, picture.width, picture.height, picture.pixels);
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

void WriteDemo(const fs::path& dir) {
    namespace s = tamsel::samples;
    fs::create_directories(dir);
    const std::array<std::uint8_t, 3> formats{s::kFormat565, s::kFormat1555, s::kFormat4444};
    const std::array<std::pair<std::int32_t, std::int32_t>, 4> sizes{
        {{640, 480}, {512, 512}, {1024, 256}, {300, 600}}};
    int number = 1;
    for (const auto& [width, height] : sizes) {
        for (const std::uint8_t format : formats) {
            const s::Picture card = s::DrawTestCard(width, height, s::BitsOfFormat(format));
            const s::Bytes words = s::EncodeWords(card, format);
            const std::string stem = "demo-" + std::to_string(number++) + "-" + std::to_string(width) + "x" +
                                     std::to_string(height) + "-format" + std::to_string(format);
            s::MipFields mip;
            mip.mipFormat = format;
            mip.resultValue = 1;
            mip.image = {format, width, height, 2 * width};
            switch (number % 3) {
                case 0:
                    WriteFile(dir / (stem + ".pbf"), s::BareImageFile(mip.image, words));
                    break;
                case 1:
                    WriteFile(dir / (stem + ".mip"), s::MipFile(mip, words));
                    break;
                default:
                    WriteFile(dir / (stem + ".srb"), s::SrbFile(s::MipFile(mip, words), s::Bytes(24, 0x5A)));
                    break;
            }
        }
    }
    s::MipFields paletted;
    paletted.mipFormat = 0;
    paletted.resultValue = 1;
    paletted.image = {0, 640, 480, 640};
    paletted.paletteChunk = s::PaletteChunk::BeforeImage;
    paletted.palette = s::DemoPalette(0);
    WriteFile(dir / "demo-13-640x480-paletted.mip",
              s::MipFile(paletted, s::EncodeNibbles(s::DrawIndexedTestCard(640, 480))));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--help") {
        std::cout << kHelp;
        return std::cout.flush() ? 0 : 1;
    }
    const bool demo = argc == 3 && std::string_view(argv[1]) == "--demo";
    if (argc != (demo ? 3 : 2) || argv[argc - 1][0] == '-') {
        std::cerr << "usage: make-samples DIR | make-samples --demo DIR | make-samples --help\n";
        return 2;
    }
    if (demo) {
        try {
            WriteDemo(argv[2]);
        } catch (const std::exception& error) {
            std::cerr << "make-samples: " << error.what() << '\n';
            return 1;
        }
        return 0;
    }
    try {
        const fs::path dir = argv[1];
        fs::create_directories(dir / "bad");
        for (const Sample& sample : tamsel::samples::Catalogue()) {
            const fs::path folder = sample.expected ? dir : dir / "bad";
            WriteFile(folder / (sample.name + sample.extension), sample.bytes);
            if (sample.expected) {
                WriteExpected(folder / (sample.name + ".expected.ppm"), sample);
            }
        }
    } catch (const std::exception& error) {
        std::cerr << "make-samples: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
