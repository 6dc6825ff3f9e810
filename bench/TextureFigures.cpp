// 1: textures decoded and painted by the reader alone and by the window's LoadTexture, against a
// copy of four bytes for each of their pixels.
#include <QFile>
#include <array>
#include <cstring>
#include <span>
#include <stdexcept>

#include "BenchWindow.h"
#include "Figures.h"
#include "Measure.h"
#include "texture/TextureReader.h"

namespace tamsel::bench {

namespace {

QByteArray ReadWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("cannot read " + path.toStdString());
    }
    return file.readAll();
}

}  // namespace

void TextureFigures(Context& context) {
    const int runs = context.Runs(15, 5);
    const BenchPlatform platform(context.pageScreen, context.data.EmptyFolder(), context.settingsNone);
    const std::unique_ptr<FrmImageViewer> window = platform.Window();
    static constexpr std::array<TextureKind, 4> kKinds{TextureKind::Words565, TextureKind::Words1555,
                                                       TextureKind::Words4444, TextureKind::Nibbles};
    for (const int side : {1024, 2048, 4096}) {
        const auto count = static_cast<std::size_t>(side) * static_cast<std::size_t>(side);
        const std::vector<std::uint32_t> source(count, 0xFF336699U);
        std::vector<std::uint32_t> copy(count);
        std::vector<std::uint32_t> canvas(count);
        for (const TextureKind kind : kKinds) {
            const QString path = context.data.Texture(kind, side);
            const QByteArray file = ReadWhole(path);
            const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(file.constData()),
                                                      static_cast<std::size_t>(file.size()));
            texture::TextureReader reader;
            const std::optional<texture::TextureLayout> checked = reader.ReadLayout(bytes);
            if (!checked || checked->width != side || checked->height != side || !window->LoadTexture(path)) {
                throw std::runtime_error("the reader refused " + path.toStdString());
            }

            Race race;
            const std::size_t copied = race.Add([&] {
                std::memcpy(copy.data(), source.data(), count * sizeof(std::uint32_t));
                DoNotOptimise(copy.data());
            });
            const std::size_t painted = race.Add([&] {
                const std::optional<texture::TextureLayout> layout = reader.ReadLayout(bytes);
                reader.Paint(*layout, texture::PixelDataOf(*layout, bytes), {canvas.data(), side});
            });
            const std::size_t loaded = race.Add([&] { window->LoadTexture(path); });
            race.Run(runs);

            const QString figure = QStringLiteral("texture %1x%1 %2, ").arg(side).arg(KindName(kind));
            const Reference memcpy{QStringLiteral("memcpy 4 B/px"), race.Seconds(copied)};
            context.table.AddTime(figure + QStringLiteral("reader ReadLayout+Paint") + RunsNote(runs),
                                  race.Seconds(painted), memcpy);
            context.table.AddTime(figure + QStringLiteral("window LoadTexture from file") + RunsNote(runs),
                                  race.Seconds(loaded), memcpy);
        }
    }
}

}  // namespace tamsel::bench
