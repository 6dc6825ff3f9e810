// Putting a picture on the screen: the opener, the texture canvas and the fit-to-screen display.
#include <QGroupBox>
#include <QLabel>

#include "browse/ImageKind.h"
#include "display/DisplayText.h"
#include "display/FitRule.h"
#include "display/PictureLoader.h"
#include "navigation/Stepping.h"
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

namespace {

// The file name at the end of a full path.
QString NameOf(const QString& path) {
    return path.sliced(path.lastIndexOf(u'/') + 1);
}

}  // namespace

std::optional<FrmImageViewer::FileToShow> FrmImageViewer::FileFor(int slot) const {
    QString name = filList->FileName();
    std::optional<browse::ImageKind> kind = browse::KindOfName(name);
    // With nothing selected, the single view shows a file on show that the list does not hold.
    if (name.isEmpty() && slot == 0 && !ThumbMode && unlisted_) {
        name = unlisted_->name;
        kind = unlisted_->kind;
    }
    if (!kind) {
        return std::nullopt;
    }
    return FileToShow{name, platform::FullPath(dirList->Path(), name), *kind};
}

void FrmImageViewer::OpenSelectedImage(int slot) {
    const DisplayScope displaying(*this);
    const std::optional<FileToShow> file = FileFor(slot);
    if (!file) {
        return;
    }
    const QString& name = file->name;
    const QString& path = file->path;
    const browse::ImageKind kind = file->kind;
    const bool validSlot = slot >= 0 && slot < static_cast<int>(held_.size()) && !(ThumbMode && slot == 0);
    if (slot == 0) {
        LeaveZoom();
    }
    if (!ShowHeld(path, slot)) {
        Open(path, kind, slot, validSlot);
    }
    if (validSlot && held_[static_cast<std::size_t>(slot)] &&
        held_[static_cast<std::size_t>(slot)]->paletteLoaded) {
        paletteFrom_ = name;
    }
    if (slot == 0 && !ThumbMode) {
        UpdateFactsPanel();
        ReadAheadAround();
    }
}

// Shows the file at `path` in the slot: made ready ahead of time, or opened now; and records what the
// slot's box then holds.
void FrmImageViewer::Open(const QString& path, browse::ImageKind kind, int slot, bool validSlot) {
    display::HeldPicture held{path, {}, LimitOf(slot), {}, {}, false, {}, {}, {}};
    const std::optional<texture::FileStamp> stamp = texture::StampOf(platform::EncodeName(path).constData());
    std::optional<display::Prepared> prepared;
    if (validSlot) {
        prepared = readAhead_->Take(path, stamp, LimitOf(slot), textureReader_.Palette());
    }
    if (prepared) {
        held.paletteTaken = prepared->paletteTaken;
        held.paletteLoaded = prepared->paletteLoaded;
        held.layout = prepared->layout;
        held.shown = ShowPrepared(slot, NameOf(path), *prepared);
    } else if (browse::IsTexture(kind)) {
        const display::Palette before = textureReader_.Palette();
        const std::optional<texture::TextureLayout> layout = LoadTexture(path);
        const display::PaletteEffect effect =
            display::PaletteEffectOf(before, textureReader_.Palette(), layout);
        held.paletteTaken = effect.taken;
        held.paletteLoaded = effect.loaded;
        held.layout = layout;
        if (!layout && validSlot) {
            // A refused texture shows nothing further: its box stays hidden, title and hover text as
            // they were.
            Picture3[static_cast<std::size_t>(slot)]->hide();
        }
        held.shown = layout && ShowImage(path, kind, slot);
    } else {
        held.shown = ShowImage(path, kind, slot);
    }
    if (stamp && validSlot) {
        held.stamp = *stamp;
        held.size = Picture2->size();
        held.boxSize = Picture3[static_cast<std::size_t>(slot)]->size();
        held_[static_cast<std::size_t>(slot)] = std::move(held);
    }
}

// The neighbours of the picture on show in the single view, made ready for Previous and Next.
void FrmImageViewer::ReadAheadAround() {
    if (filList->ListCount() < 2 || (filList->ListIndex() < 0 && !unlisted_)) {
        return;
    }
    std::vector<display::ReadJob> jobs;
    for (const int entry : {EntryAfterOnShow(), EntryBeforeOnShow()}) {
        const QString name = filList->EntryName(entry);
        if (browse::KindOfName(name)) {
            jobs.push_back(
                {{platform::FullPath(dirList->Path(), name)}, LimitOf(0), textureReader_.Palette()});
        }
    }
    readAhead_->Want(jobs, false);
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
    RecordSize(slot, NameOf(path), held->size);
    Picture3[static_cast<std::size_t>(slot)]->resize(held->boxSize);
    PlaceAndShow(slot, NameOf(path));
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
    // A canvas the toolkit cannot make is refused like any other.
    std::optional<texture::TextureLayout> layout = textureReader_.ReadLayout(file);
    if (layout &&
        !display::PaintTexture(textureReader_, file, *layout, texturePixels_, [this](int width, int height) {
            return imgOriginal->SetSurfaceSize(width, height, PictureBox::Clear::None)
                       ? &imgOriginal->Surface()
                       : nullptr;
        })) {
        layout.reset();
    }
    SetDefault();
    if (!layout) {
        ShowMessage(texts::Text(texts::kNotValidTexture), platform::MessageIcon::Warning);
    }
    return layout;
}

bool FrmImageViewer::ShowPrepared(int slot, const QString& name, const display::Prepared& prepared) {
    SetBusy();
    const auto index = static_cast<std::size_t>(slot);
    held_[index].reset();
    Picture3[index]->hide();
    if (prepared.paletteLoaded) {
        textureReader_.SetPalette(*prepared.paletteLoaded);
    }
    Picture2->AssignPicture(prepared.staged.isNull() ? prepared.shown : prepared.staged);
    Picture2->resize(prepared.size);
    RecordSize(slot, name, prepared.size);
    Draw(slot, name, prepared.size, prepared.shown, prepared.layout.has_value());
    return true;
}

bool FrmImageViewer::ShowImage(const QString& path, browse::ImageKind kind, int slot) {
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
    const bool picture = !browse::IsTexture(kind);
    QSize size;
    QImage staged;
    if (picture) {
        std::optional<display::Picture> loaded = display::LoadPicture(path, limit);
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

    RecordSize(slot, NameOf(path), size);

    const std::optional<QImage> shown =
        picture ? display::FittedPicture(staged, size, limit) : display::FittedTexture(staged, limit);
    if (!shown) {
        ShowCannotDisplay(path);
        return false;
    }
    Draw(slot, NameOf(path), size, *shown, !picture);
    return true;
}

// Puts `shown`, a picture of size `size` fitted to the slot's limit, into the slot's box and shows it;
// a texture's texels stay crisp on a screen of more than one device pixel to the pixel.
void FrmImageViewer::Draw(int slot, const QString& name, QSize size, const QImage& shown, bool crisp) {
    PictureBox* box = Picture3[static_cast<std::size_t>(slot)];
    box->SetCrisp(crisp);
    box->SetAutoSize(display::Fits(size, LimitOf(slot)));
    // The box takes the fitted size even where the shrunk picture has no pixels left (a side of 0).
    box->resize(display::FittedSize(size, LimitOf(slot)).value_or(shown.size()));
    box->AssignPicture(shown);
    PlaceAndShow(slot, name);
}

// The size record of the slot and the hover text of its box, which names the file `name`.
void FrmImageViewer::RecordSize(int slot, const QString& name, QSize size) {
    const auto index = static_cast<std::size_t>(slot);
    ThumbImageSize[index] = size.width();
    ThumbImageSize[index + 10] = size.height();
    Picture3[index]->setToolTip(display::HoverText(name, size.width(), size.height()));
}

// The steps after a picture is drawn into its box, also for a box that shows what it holds: the place
// (the cell's corner, or centred above the button band), shown, the title and the label naming `name`.
void FrmImageViewer::PlaceAndShow(int slot, const QString& name) {
    const auto index = static_cast<std::size_t>(slot);
    PictureBox* box = Picture3[index];
    if (ThumbMode) {
        box->move(CellCorner(slot));
    } else {
        box->move(platform::RoundHalfEven((InnerWidth() - box->width()) / 2.0),
                  platform::RoundHalfEven((InnerHeight() - 80 - box->height()) / 2.0));
    }
    box->show();
    // A picture drawn while the browser is on show (a resize draws the selected file) stays behind it.
    if (Frame1->isVisible()) {
        Frame1->raise();
    }
    setWindowTitle(texts::TitleOfFile(name));

    // The file-name label follows the picture but stays hidden: the title and the hover text already
    // name the file, and a label under a picture as tall as the limit would cover the button row.
    if (ThumbMode) {
        Label1->hide();
    } else {
        Label1->setText(name);
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
