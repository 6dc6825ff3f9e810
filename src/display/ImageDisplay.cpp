// Putting a picture on the screen: the opener, the texture canvas and the fit-to-screen display.
#include <QLabel>

#include "browse/ImageKind.h"
#include "display/DisplayText.h"
#include "display/FitRule.h"
#include "display/PictureLoader.h"
#include "platform/DirListBox.h"
#include "platform/Drives.h"
#include "platform/FileListBox.h"
#include "platform/FileNames.h"
#include "platform/MousePointer.h"
#include "platform/PictureBox.h"
#include "shell/FrmImageViewer.h"
#include "shell/Texts.h"
#include "texture/DecodeBudget.h"
#include "texture/FileSource.h"

namespace tamsel {

using platform::PictureBox;

using platform::MousePointer::SetBusy;
using platform::MousePointer::SetDefault;

void FrmImageViewer::OpenSelectedImage(int slot) {
    const DisplayScope displaying(*this);
    const QString name = filList->FileName();
    const std::optional<browse::ImageKind> kind = browse::KindOfName(name);
    if (!kind) {
        return;
    }
    const QString path = platform::FullPath(dirList->Path(), name);
    if (ShowHeld(path, slot)) {
        return;
    }
    display::HeldPicture held{path, {}, LimitOf(slot), {}, {}, false, {}, {}};
    const std::optional<texture::FileStamp> stamp = texture::StampOf(platform::EncodeName(path).constData());
    if (browse::IsTexture(*kind)) {
        const display::Palette before = textureReader_.Palette();
        const std::optional<texture::TextureLayout> layout = LoadTexture(path);
        if (layout && layout->fourBit && !layout->paletteRead) {
            held.paletteTaken = before;
        }
        if (textureReader_.Palette() != before || (layout && layout->paletteRead)) {
            held.paletteLoaded = textureReader_.Palette();
        }
        if (!layout) {
            // A refused texture shows nothing further: its box stays hidden, title and hover text as
            // they were.
            if (slot >= 0 && slot < static_cast<int>(Picture3.size())) {
                Picture3[static_cast<std::size_t>(slot)]->hide();
            }
        }
        held.shown = layout && ShowImage(path, slot);
    } else {
        held.shown = ShowImage(path, slot);
    }
    if (stamp && slot >= 0 && slot < static_cast<int>(held_.size())) {
        held.stamp = *stamp;
        held.size = Picture2->size();
        held.boxSize = Picture3[static_cast<std::size_t>(slot)]->size();
        held_[static_cast<std::size_t>(slot)] = std::move(held);
    }
}

QSize FrmImageViewer::LimitOf(int slot) const {
    return ThumbMode && slot > 0 ? QSize(ThumbWidth, ThumbHeight) : QSize(ViewWidth, ViewHeight);
}

const display::HeldPicture* FrmImageViewer::HeldFor(const QString& path, int slot) const {
    if (slot < 0 || slot >= static_cast<int>(held_.size()) || (ThumbMode && slot == 0)) {
        return nullptr;
    }
    const std::optional<display::HeldPicture>& held = held_[static_cast<std::size_t>(slot)];
    return held && held->Matches(path, texture::StampOf(platform::EncodeName(path).constData()),
                                 LimitOf(slot), textureReader_.Palette())
               ? &*held
               : nullptr;
}

bool FrmImageViewer::ShowHeld(const QString& path, int slot) {
    const display::HeldPicture* held = HeldFor(path, slot);
    if (held == nullptr) {
        return false;
    }
    if (held->paletteLoaded) {
        textureReader_.SetPalette(*held->paletteLoaded);
    }
    if (!held->shown) {
        Picture3[static_cast<std::size_t>(slot)]->hide();
        return true;
    }
    RecordSize(slot, held->size);
    Picture3[static_cast<std::size_t>(slot)]->resize(held->boxSize);
    PlaceAndShow(slot);
    return true;
}

std::optional<texture::TextureLayout> FrmImageViewer::LoadTexture(const QString& path) {
    texture::FileSource file(platform::EncodeName(path).constData());
    if (!file.IsOpen()) {
        ShowCannotDisplay(path);
        return std::nullopt;
    }
    if (file.Size() == 0) {
        ShowMessage(texts::Text(texts::kNotValidTexture), platform::MessageIcon::Warning);
        return std::nullopt;
    }
    SetBusy();
    // The staging box lets go of the last canvas first, so that painting reuses its memory rather than
    // copying it.
    Picture2->Surface() = QImage();
    // The headers decide everything before a byte of pixels is read: what the decode may take, and
    // which pixel bytes reach the canvas. A canvas the toolkit cannot make is refused like any other.
    std::optional<texture::TextureLayout> layout = textureReader_.ReadLayout(file);
    const auto reserved = layout ? texture::DecodeBudget::Program().Reserve(texture::DecodeBytes(*layout))
                                 : std::optional<texture::DecodeBudget::Reservation>();
    if (!reserved || !texture::ReadPixelData(file, *layout, texturePixels_) ||
        !imgOriginal->SetSurfaceSize(layout->width, layout->height, PictureBox::Clear::None)) {
        SetDefault();
        ShowMessage(texts::Text(texts::kNotValidTexture), platform::MessageIcon::Warning);
        return std::nullopt;
    }
    // Every canvas pixel is painted (black where no stored pixel lands), so the canvas's memory is
    // reused as it is.
    QImage& canvas = imgOriginal->Surface();
    textureReader_.Paint(*layout, texturePixels_,
                         {reinterpret_cast<std::uint32_t*>(canvas.bits()), canvas.bytesPerLine() / 4});
    SetDefault();
    return layout;
}

bool FrmImageViewer::ShowImage(const QString& path, int slot) {
    SetBusy();
    if (slot < 0 || slot >= static_cast<int>(Picture3.size()) || (ThumbMode && slot == 0)) {
        ShowCannotDisplay(path);
        return false;
    }
    const auto index = static_cast<std::size_t>(slot);
    held_[index].reset();  // the box is drawn afresh
    PictureBox* box = Picture3[index];
    box->hide();
    const QSize limit = LimitOf(slot);
    box->resize(limit);

    // Stage the picture at its full size. A JPEG that will be shrunk may be held at a reduced decoder
    // scale; its size is still the picture's own.
    const bool picture = browse::IsPictureName(path);
    QSize size;
    QImage staged;
    if (picture) {
        std::optional<display::Picture> loaded = prefetch_.Take(path, limit);
        if (!loaded) {
            ShowCannotDisplay(path);
            return false;
        }
        size = loaded->size;
        staged = std::move(loaded->image);
    } else {
        size = imgOriginal->Surface().size();
        staged = imgOriginal->Surface();
    }
    Picture2->AssignPicture(staged);
    Picture2->resize(size);

    RecordSize(slot, size);

    const std::optional<QSize> shown = display::FittedSize(size, limit);
    if (!shown) {
        ShowCannotDisplay(path);
        return false;
    }
    if (display::Fits(size, limit)) {
        box->SetAutoSize(true);
        if (picture) {
            box->AssignPicture(staged);
        } else {
            // The canvas is painted afresh by the next texture: the box takes a copy.
            box->resize(size);
            box->BitBlt(staged);
        }
    } else {
        box->SetAutoSize(false);
        box->resize(*shown);
        box->StretchBltHalftone(staged);
    }
    PlaceAndShow(slot);
    return true;
}

// The size record of the slot and the hover text of its box.
void FrmImageViewer::RecordSize(int slot, QSize size) {
    const auto index = static_cast<std::size_t>(slot);
    ThumbImageSize[index] = size.width();
    ThumbImageSize[index + 10] = size.height();
    Picture3[index]->setToolTip(display::HoverText(filList->FileName(), size.width(), size.height()));
}

// The steps after a picture is drawn into its box, also for a box that shows what it holds: the place
// (the cell's corner, or centred above the button band), shown, the title, the label.
void FrmImageViewer::PlaceAndShow(int slot) {
    const auto index = static_cast<std::size_t>(slot);
    PictureBox* box = Picture3[index];
    if (ThumbMode) {
        box->move(CellCorner(slot));
    } else {
        box->move(platform::RoundHalfEven((InnerWidth() - box->width()) / 2.0),
                  platform::RoundHalfEven((InnerHeight() - 80 - box->height()) / 2.0));
    }
    box->show();
    setWindowTitle(texts::TitleOfFile(filList->FileName()));

    // The file-name label follows the picture but stays hidden: the title and the hover text already
    // name the file, and a label under a picture as tall as the limit would cover the button row.
    if (ThumbMode) {
        Label1->hide();
    } else {
        Label1->setText(filList->FileName());
        Label1->adjustSize();
        Label1->move(platform::RoundHalfEven(InnerWidth() / 2.0 - Label1->width() / 2.0),
                     box->y() + box->height() + 10);
    }
    SetDefault();
}

void FrmImageViewer::ShowCannotDisplay(const QString& path) {
    SetDefault();
    ShowMessage(display::CannotDisplayMessage(path), platform::MessageIcon::Warning);
}

}  // namespace tamsel
