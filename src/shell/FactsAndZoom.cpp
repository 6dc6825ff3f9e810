// What a modder uses beside the picture in the single view: its facts over the picture area's corner,
// and zoom.
#include <QCursor>
#include <cmath>

#include <QPushButton>

#include "files/FileNames.h"
#include "files/FolderListing.h"
#include "navigation/ButtonRow.h"
#include "picture/Comparison.h"
#include "picture/PictureLoader.h"
#include "platform/MousePointer.h"
#include "shell/MainWindow.h"
#include "texts/Texts.h"
#include "texture/Texel.h"
#include "view/Readout.h"
#include "view/SingleView.h"
#include "view/ZoomLevels.h"

namespace tamsel::shell {

using texts::Text;

namespace {

QString FileNameOf(const QString& path) {
    return path.sliced(path.lastIndexOf(u'/') + 1);
}

}  // namespace

QRect MainWindow::PictureArea() const {
    return {10, 10, std::max(centralWidget()->width() - 20, 0), std::max(Buttons().Middle()->y() - 20, 0)};
}

QPoint MainWindow::NoticeCorner() const {
    // Over the view's corner, or below the facts when they are on show there.
    const view::FactsPanel& facts = single_->Facts();
    return facts.isVisible() ? QPoint(PictureArea().left(), facts.geometry().bottom() + 7)
                             : PictureArea().topLeft();
}

const picture::HeldPicture* MainWindow::PictureOnShow() const {
    const std::optional<picture::HeldPicture>& held = held_[0];
    return state_.mode != Mode::Pages && !state_.browserShown && single_->Box().isVisible() && held &&
                   held->shown
               ? &*held
               : nullptr;
}

// The refused file the single view stands for, when it is in front with nothing on show.
const RefusedFile* MainWindow::RefusalOnShow() const {
    return state_.mode != Mode::Pages && !state_.browserShown && state_.refused && PictureOnShow() == nullptr
               ? &*state_.refused
               : nullptr;
}

void MainWindow::ToggleFacts() {
    state_.factsOn = !state_.factsOn;
    UpdateFacts();
}

void MainWindow::UpdateFacts() {
    view::FactsPanel& panel = single_->Facts();
    const picture::HeldPicture* held = PictureOnShow();
    const RefusedFile* refused = RefusalOnShow();
    if (!state_.factsOn || (held == nullptr && refused == nullptr)) {
        panel.hide();
        return;
    }
    if (held == nullptr) {
        panel.SetFacts(view::RefusalFacts(refused->name, refused->reason));
    } else {
        view::Facts facts =
            state_.source
                ? view::SourceFacts(state_.source->name, FileNameOf(held->path), state_.source->difference)
                : view::FactsOf(picture::KindOfFile(held->path).value_or(texture::FileKind::Bmp), *held,
                                paletteFrom_);
        if (single_->Zoom().isVisible()) {
            facts.lines << Text(texts::kFactsZoom).arg(view::ZoomLevelText(single_->Zoom().Scale()));
        }
        if (const std::optional<QPoint> texel = PixelUnderPointer(*held)) {
            AddReadout(*held, *texel, facts);
        }
        panel.SetFacts(std::move(facts));
    }
    panel.move(PictureArea().topLeft());
    panel.show();
    panel.raise();
}

std::optional<QPoint> MainWindow::PixelUnderPointer(const picture::HeldPicture& held) const {
    const view::ZoomView& zoom = single_->Zoom();
    if (zoom.isVisible()) {
        return zoom.PixelAt(zoom.mapFromGlobal(QCursor::pos().toPointF()));
    }
    const platform::PictureBox& box = single_->Box();
    const QPointF at = box.mapFromGlobal(QCursor::pos().toPointF());
    if (held.boxSize.isEmpty() || at.x() < 0 || at.y() < 0 || at.x() >= held.boxSize.width() ||
        at.y() >= held.boxSize.height()) {
        return std::nullopt;
    }
    // The box shows the picture at its box size: a shrunk picture's box pixel stands for several.
    return QPoint(static_cast<int>(at.x() * held.size.width() / held.boxSize.width()),
                  static_cast<int>(at.y() * held.size.height() / held.boxSize.height()));
}

void MainWindow::AddReadout(const picture::HeldPicture& held, QPoint texel, view::Facts& facts) const {
    if (state_.source) {
        // The source's pixel, as the zoom shows it.
        facts.lines << view::ReadoutLines(texel, single_->Zoom().Picture().pixel(texel));
        return;
    }
    if (!held.layout) {
        // A photo's colour is known exactly where a pixel of it is on screen as it is: zoomed, or at
        // its own size.
        const view::ZoomView& zoom = single_->Zoom();
        const QImage& exact = zoom.isVisible() ? zoom.Picture() : single_->Box().Surface();
        facts.lines << (exact.size() == held.size ? view::ReadoutLines(texel, exact.pixel(texel))
                                                  : view::ReadoutLines(texel, std::nullopt));
        return;
    }
    // A texture's texel is read from its file as it was when shown, and coloured as the reader does.
    const QByteArray name = files::EncodeName(held.path);
    if (texture::StampOf(name.constData()) != held.stamp) {
        facts.lines << view::ReadoutLines(texel, std::nullopt);
        return;
    }
    texture::FileSource file(name.constData());
    const std::optional<texture::StoredTexel> stored =
        texture::ReadStoredTexel(file, *held.layout, texel.x(), texel.y());
    if (stored && stored->fourBit) {
        facts.markedSwatch = stored->value;
    }
    facts.lines << view::ReadoutLines(texel,
                                      view::ColourOfTexel(stored, held.layout->imageFormat, facts.swatches),
                                      stored, held.layout->imageFormat);
}

bool MainWindow::EnterZoom() {
    view::ZoomView& zoom = single_->Zoom();
    if (zoom.isVisible()) {
        return true;
    }
    const picture::HeldPicture* held = PictureOnShow();
    if (held == nullptr || held->size.isEmpty()) {
        return false;
    }
    // The picture at its own size, decoded as it was for the view: a texture with the palette it took.
    picture::Palette palette = held->paletteTaken.value_or(palette_);
    platform::MousePointer::SetBusy();
    const std::optional<picture::Prepared> full =
        picture::Prepare(held->path, QSize(texture::kMaxCanvasSide, texture::kMaxCanvasSide), palette, false)
            .prepared;
    platform::MousePointer::SetDefault();
    if (!full) {
        return false;
    }
    zoom.setGeometry(PictureArea());
    zoom.Show(full->shown, static_cast<double>(single_->Box().width()) / held->size.width(),
              held->layout.has_value());
    single_->Facts().raise();
    return true;
}

void MainWindow::Zoom(const std::function<double(double scale, double fit)>& level) {
    const picture::HeldPicture* held = PictureOnShow();
    if (held == nullptr || !EnterZoom()) {
        return;
    }
    // About the pointer when it is over the picture, else about the view's centre.
    view::ZoomView& zoom = single_->Zoom();
    const QPointF pointer = zoom.mapFromGlobal(QCursor::pos());
    const QPointF at = zoom.rect().contains(pointer.toPoint()) && zoom.PixelAt(pointer)
                           ? pointer
                           : QPointF(zoom.rect().center());
    zoom.ZoomAbout(at, level(zoom.Scale(), static_cast<double>(single_->Box().width()) / held->size.width()));
    // The level shows: with the facts when they are on, else for a moment over the view's corner.
    if (state_.factsOn) {
        UpdateFacts();
    } else {
        single_->Notify(view::ZoomLevelText(zoom.Scale()), NoticeCorner());
    }
}

void MainWindow::ZoomSteps(int steps) {
    for (int step = 0; step < std::abs(steps); ++step) {
        Zoom([in = steps > 0](double scale, double fit) { return view::NextZoomLevel(scale, fit, in); });
    }
}

bool MainWindow::HandleZoomKey(int key) {
    view::ZoomView& zoom = single_->Zoom();
    switch (key) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            ZoomSteps(1);
            return zoom.isVisible();
        case Qt::Key_Minus:
            ZoomSteps(-1);
            return zoom.isVisible();
        case Qt::Key_1:
            Zoom([](double, double) { return 1.0; });
            return zoom.isVisible();
        case Qt::Key_0:
            if (zoom.isVisible()) {
                zoom.Clear();
                UpdateFacts();
                return true;
            }
            return false;
        default:
            return false;
    }
}

}  // namespace tamsel::shell

namespace tamsel::shell {

bool MainWindow::ToggleSource() {
    const picture::HeldPicture* held = PictureOnShow();
    if (held == nullptr || !held->layout) {
        return false;
    }
    if (state_.source) {
        single_->Zoom().Swap(std::move(textureOfSource_), true);
        textureOfSource_ = QImage();
        state_.source.reset();
        UpdateFacts();
        UpdateControls();
        return true;
    }
    ShowSource(*held);
    return true;
}

// The source is found among the folder's files as they are now, read whole (its header first: a source
// is refused as a texture would be when it claims more than the canvas limit), and shown in the
// texture's place at the zoom's scale and position, entering the zoom at the fit first.
void MainWindow::ShowSource(const picture::HeldPicture& held) {
    const QString textureName = FileNameOf(held.path);
    QStringList names;
    for (const files::ListedName& listed : files::ListFiles(state_.folder.Path(), QStringLiteral("*"))
                                               .value_or(std::vector<files::ListedName>{})) {
        names << listed.text;
    }
    const std::optional<QString> sourceName = picture::SourceNameFor(textureName, names);
    if (!sourceName) {
        single_->Notify(Text(texts::kNoSource), NoticeCorner());
        return;
    }
    platform::MousePointer::SetBusy();
    std::optional<QImage> source =
        picture::LoadWhole(state_.folder.PathOf(*sourceName), texture::kMaxCanvasPixels);
    platform::MousePointer::SetDefault();
    if (!source) {
        single_->Notify(Text(texts::kSourceUnreadable).arg(*sourceName), NoticeCorner());
        return;
    }
    if (!EnterZoom()) {
        return;
    }
    // Crisp, as the texture is, so that each pixel of the two covers the same square.
    textureOfSource_ = single_->Zoom().Swap(std::move(*source), true);
    state_.source =
        SourceOnShow{*sourceName, picture::DifferenceOf(textureOfSource_, single_->Zoom().Picture())};
    UpdateFacts();
    UpdateControls();
}

void MainWindow::ZoomCleared() {
    textureOfSource_ = QImage();
    if (state_.source) {
        state_.source.reset();
        UpdateControls();
    }
}

}  // namespace tamsel::shell
