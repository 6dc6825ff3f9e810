// 2: a 12, a 24 and a 48 MP JPEG fitted to the single view; 3: a page of nine 12 MP thumbnails. Each
// against djpeg at the decoder scale the viewer picks, vipsthumbnail, and (single view) a full decode
// with a smooth scale in this process.
#include <QDir>
#include <QImageReader>
#include <stdexcept>

#include "BenchWindow.h"
#include "Figures.h"
#include "Measure.h"
#include "display/FitRule.h"
#include "platform/DirListBox.h"
#include "platform/FileListBox.h"
#include "platform/PictureBox.h"

namespace tamsel::bench {

namespace {

constexpr QSize k12Mp{4000, 3000};
constexpr QSize k24Mp{6000, 4000};
constexpr QSize k48Mp{8000, 6000};

QString SizeText(QSize size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

// What a viewer without a reduced-scale decode does: the whole picture, then a smooth shrink.
QImage FullDecodeAndScale(const QString& path, QSize fitted) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read().scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void CheckShown(const BenchPlatform& platform, const FrmImageViewer& window, int boxes, const QString& what) {
    int shown = 0;
    for (const platform::PictureBox* box : window.Picture3) {
        shown += box->isVisible() ? 1 : 0;
    }
    if (platform.messages->count != 0 || shown != boxes) {
        throw std::runtime_error("the window did not show " + what.toStdString());
    }
}

void SingleView(Context& context, FrmImageViewer& window, const BenchPlatform& platform, QSize size,
                const QString& scale, int runs) {
    const QString folder = context.data.Photos(size, 1);
    const QString file = QDir(folder).filePath(QStringLiteral("photo-1.jpg"));
    window.dirList->SetPath(folder);
    OpenEntry(window, 0);
    CheckShown(platform, window, 1, file);
    const QSize limit(window.ViewWidth, window.ViewHeight);
    const QSize fitted = *display::FittedSize(size, limit);

    Race race;
    const std::size_t ours = race.Add([&] { window.OpenSelectedImage(0); });
    const std::size_t full = race.Add([&] { DoNotOptimise(FullDecodeAndScale(file, fitted).constBits()); });
    const std::size_t djpeg = race.AddPeer(Djpeg(scale, {file}));
    const std::size_t vips = race.AddPeer(VipsThumbnail({file}, limit, context.data.Root()));
    race.Run(runs);

    const QString figure = QStringLiteral("single view %1 MP JPEG %2 -> %3 (limit %4)%5")
                               .arg(size.width() * size.height() / 1'000'000)
                               .arg(SizeText(size), SizeText(fitted), SizeText(limit), RunsNote(runs));
    context.table.AddTime(figure, race.Seconds(ours), race.PeerReference(djpeg));
    context.table.AddTime(figure, race.Seconds(ours), race.PeerReference(vips));
    context.table.AddTime(figure, race.Seconds(ours),
                          {QStringLiteral("full decode + smooth scale"), race.Seconds(full)});
}

void ThumbnailPage(Context& context) {
    const int runs = context.Runs(7, 3);
    const QString folder = context.data.Photos(k12Mp, 9);
    const QStringList files = PhotoFiles(folder);
    const BenchPlatform platform(context.pageScreen, folder, context.settingsNone);
    const std::unique_ptr<FrmImageViewer> window = platform.Window();
    ShowAndWaitExposed(*window);
    window->mnuViewThumbnails_Click();
    CheckShown(platform, *window, 9, folder);

    Race race;
    const std::size_t ours = race.Add([&] {
        window->PageStart = 0;
        window->ShowThumbnailPage();
    });
    const std::size_t vips = race.AddPeer(
        VipsThumbnail(files, QSize(window->ThumbWidth, window->ThumbHeight), context.data.Root()));
    const std::size_t djpeg = race.AddPeer(Djpeg(QStringLiteral("1/8"), files));
    race.Run(runs);

    const QString figure = QStringLiteral("thumbnail page of nine 12 MP JPEGs, cells %1 (window %2)%3")
                               .arg(SizeText({window->ThumbWidth, window->ThumbHeight}),
                                    SizeText(context.pageScreen), RunsNote(runs));
    context.table.AddTime(figure, race.Seconds(ours), race.PeerReference(djpeg));
    context.table.AddTime(figure, race.Seconds(ours), race.PeerReference(vips));
}

}  // namespace

void PictureFigures(Context& context) {
    {
        const BenchPlatform platform(context.viewScreen, context.data.EmptyFolder(), context.settingsNone);
        const std::unique_ptr<FrmImageViewer> window = platform.Window();
        ShowAndWaitExposed(*window);
        SingleView(context, *window, platform, k12Mp, QStringLiteral("1/2"), context.Runs(9, 3));
        SingleView(context, *window, platform, k24Mp, QStringLiteral("1/4"), context.Runs(7, 3));
        SingleView(context, *window, platform, k48Mp, QStringLiteral("1/4"), context.Runs(7, 3));
    }
    ThumbnailPage(context);
}

}  // namespace tamsel::bench
