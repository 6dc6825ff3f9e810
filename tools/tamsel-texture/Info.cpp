#include <QJsonDocument>
#include <QJsonObject>
#include <iostream>

#include "CommandLine.h"
#include "Commands.h"
#include "Help.h"
#include "Inputs.h"
#include "Picture.h"
#include "texture/TextureFacts.h"

namespace tamsel::tool {
namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void PrintJson(const QJsonObject& object) {
    std::cout << QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() << '\n';
}

void PrintFacts(const std::string& path, const TextureFile& file, bool json) {
    const texture::TextureLayout& layout = file.Layout();
    if (json) {
        PrintJson({{"file", Text(path)},
                   {"container", Text(texture::ContainerWords(layout.container))},
                   {"format", Text(texture::PixelFormatWords(layout))},
                   {"mipFormat", layout.mipFormat},
                   {"imageFormat", layout.imageFormat},
                   {"width", layout.width},
                   {"height", layout.height},
                   {"pitch", layout.pitch},
                   {"palette", Text(texture::PaletteWords(layout.paletteSource))},
                   {"result", layout.result},
                   {"size", static_cast<qint64>(file.Size())}});
        return;
    }
    std::cout << path << ": " << texture::ContainerWords(layout.container) << ", "
              << texture::PixelFormatWords(layout) << ", " << layout.width << " x " << layout.height
              << ", pitch " << layout.pitch << ", palette " << texture::PaletteWords(layout.paletteSource)
              << ", result " << layout.result << ", " << file.Size() << " bytes\n";
}

}  // namespace

int Info(int argc, char** argv) {
    bool json = false;
    bool recursive = false;
    const std::string help = std::string(kInfoHelp) + std::string(kExitStatusHelp);
    const CommandLine line =
        ReadCommandLine("info", argc, argv, "r",
                        {{"json", no_argument, nullptr, 'J'}, {"recursive", no_argument, nullptr, 'r'}}, help,
                        [&](int key, const char*) {
                            (key == 'J' ? json : recursive) = true;
                            return true;
                        });
    if (line.exitStatus) {
        return *line.exitStatus;
    }
    if (line.operands.empty()) {
        return BadUsage("info", "no FILE or FOLDER given");
    }
    int status = kAllWell;
    for (const Input& input : ExpandInputs(line.operands, recursive)) {
        std::string error = input.error;
        std::optional<texture::Refusal> refusal;
        if (error.empty()) {
            texture::TextureReader reader;
            const TextureFile file(input.path, reader);
            error = file.Error();
            refusal = file.Refused();
            if (error.empty()) {
                PrintFacts(input.path, file, json);
                continue;
            }
        }
        if (json) {
            // A refused texture's error is kNotValidTexture, its reason a member of its own.
            QJsonObject failure{{"file", Text(input.path)}, {"error", Text(error)}};
            if (refusal) {
                failure["error"] = kNotValidTexture;
                failure["reason"] = Text(texture::RefusalWords(*refusal));
            }
            PrintJson(failure);
        }
        std::cout.flush();
        Complain(input.path + ": " + error);
        status = kSomeFailed;
    }
    if (!std::cout.flush()) {
        Complain("cannot write to the standard output");
        return kSomeFailed;
    }
    return status;
}

}  // namespace tamsel::tool
