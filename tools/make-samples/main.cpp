// make-samples DIR: writes every sample texture into DIR under its name and extension, and beside each
// good one NAME.expected.ppm, the canvas that a reader which has seen no palette before paints for
// it. The files the reader must refuse go to DIR/bad/.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "samples/Catalogue.h"
#include "samples/Ppm.h"

namespace fs = std::filesystem;
using tamsel::samples::Sample;

namespace {

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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-samples DIR\n";
        return 2;
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
