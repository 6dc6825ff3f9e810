// Putting pictures on the screen: the file of the single view or of a cell, drawn from what its box
// holds, from what was made ready ahead, or made ready now; the page of nine; and reading ahead.
#include <cstdio>
#include <initializer_list>
#include <vector>

#include "browse/Browser.h"
#include "browse/Stepping.h"
#include "files/FileNames.h"
#include "picture/FitRule.h"
#include "platform/MousePointer.h"
#include "platform/PictureBox.h"
#include "shell/MainWindow.h"
#include "texts/Texts.h"
#include "thumbs/Paging.h"
#include "thumbs/ThumbnailPage.h"
#include "view/SingleView.h"

namespace tamsel::shell {

using platform::MousePointer::SetBusy;
using platform::MousePointer::SetDefault;

platform::PictureBox& MainWindow::BoxOf(int slot) const {
    return slot == 0 ? single_->Box() : page_->Cell(slot);
}

QSize MainWindow::LimitOf(int slot) const {
    return slot > 0 ? QSize(geometry_.thumbWidth, geometry_.thumbHeight)
                    : QSize(geometry_.viewWidth, geometry_.viewHeight);
}

std::optional<MainWindow::FileToShow> MainWindow::FileFor(int slot) const {
    const browse::Folder& folder = state_.folder;
    QString name = folder.SelectedName();
    bool shown = texture::KindOfName(name.toStdString()).has_value();
    // With nothing selected, the single view shows a file on show that the list does not hold.
    if (name.isEmpty() && slot == 0 && state_.mode != Mode::Pages && folder.Unlisted()) {
        name = folder.Unlisted()->name;
        shown = folder.Unlisted()->kind.has_value();
    }
    if (!shown) {
        return std::nullopt;
    }
    return FileToShow{name, folder.PathOf(name)};
}

void MainWindow::DrawSlot(int slot) {
    const DisplayScope displaying(*this);
    const std::optional<FileToShow> file = FileFor(slot);
    if (!file) {
        return;
    }
    if (slot == 0) {
        single_->Zoom().Clear();
    }
    if (!ShowHeld(*file, slot)) {
        Open(*file, slot);
    }
    const std::optional<picture::HeldPicture>& held = held_[static_cast<std::size_t>(slot)];
    if (held && held->paletteLoaded) {
        paletteFrom_ = file->name;
    }
    if (slot == 0 && state_.mode != Mode::Pages) {
        UpdateFacts();
        ReadAheadAround();
    }
}

const picture::HeldPicture* MainWindow::HeldFor(const QString& path, int slot) const {
    const std::optional<picture::HeldPicture>& held = held_[static_cast<std::size_t>(slot)];
    return held && held->Matches(path, texture::StampOf(files::EncodeName(path).constData()), LimitOf(slot),
                                 palette_)
               ? &*held
               : nullptr;
}

bool MainWindow::ShowHeld(const FileToShow& file, int slot) {
    const picture::HeldPicture* held = HeldFor(file.path, slot);
    if (held == nullptr) {
        return false;
    }
    if (held->paletteLoaded) {
        palette_ = *held->paletteLoaded;
    }
    platform::PictureBox& box = BoxOf(slot);
    if (!held->shown) {
        box.hide();
        return true;
    }
    box.setToolTip(texts::HoverText(file.name, held->size.width(), held->size.height()));
    box.resize(held->boxSize);
    PlaceAndShow(slot, file.name);
    return true;
}

// Shows the file in the slot: made ready ahead of time, or made ready now; and records what the slot's
// box then holds, also when it could not be shown, so that it gives its message once.
void MainWindow::Open(const FileToShow& file, int slot) {
    ShowKeyRefusal();
    const auto index = static_cast<std::size_t>(slot);
    // The picture the single view leaves is kept ready: as a neighbour of the next one, or when the
    // view comes back to it, it is not read again.
    if (slot == 0 && held_[0] && held_[0]->path != file.path) {
        if (std::optional<picture::Prepared> left = PreparedOf(0)) {
            readAhead_->KeepLeft(held_[0]->path, std::move(*left));
        }
    }
    held_[index].reset();
    if (slot == 0) {
        state_.refused.reset();
    }
    picture::HeldPicture held{file.path, {}, LimitOf(slot), {}, {}, false, {}, {}, {}};
    const std::optional<texture::FileStamp> stamp =
        texture::StampOf(files::EncodeName(file.path).constData());
    std::optional<picture::Prepared> prepared = readAhead_->Take(file.path, stamp, LimitOf(slot), palette_);
    if (prepared) {
        held.paletteTaken = prepared->paletteTaken;
        held.paletteLoaded = prepared->paletteLoaded;
        if (prepared->paletteLoaded) {
            palette_ = *prepared->paletteLoaded;
        }
    } else {
        SetBusy();
        picture::Preparation made = picture::Prepare(file.path, LimitOf(slot), palette_, false);
        SetDefault();
        held.paletteTaken = made.palette.taken;
        held.paletteLoaded = made.palette.loaded;
        prepared = std::move(made.prepared);
        if (!prepared) {
            // What cannot be shown shows nothing further: its box stays hidden, title and hover text
            // as they were.
            BoxOf(slot).hide();
            if (stamp) {
                held.stamp = *stamp;
                held_[index] = std::move(held);
            }
            if (slot == 0 && made.reason) {
                // For the facts panel: the file and the texture reader's reason.
                state_.refused =
                    RefusedFile{file.name, QString::fromStdString(texture::RefusalWords(*made.reason))};
            }
            std::function<void()> tell = [this, path = file.path, reason = made.reason,
                                          refusal = made.refusal] { TellRefusal(path, reason, refusal); };
            if (slot == 0 && steppingByKey_) {
                TellAfterKeys(std::move(tell));
            } else {
                tell();
            }
            return;
        }
    }
    held.layout = prepared->layout;
    held.stamp = prepared->stamp;
    held.size = prepared->size;
    held.shown = true;
    Draw(slot, file.name, *prepared);
    held.boxSize = BoxOf(slot).size();
    held_[index] = std::move(held);
}

// Says that a file cannot be shown: the texture reader's reason, when it gave one, on the standard error,
// and the message box.
void MainWindow::TellRefusal(const QString& path, const std::optional<texture::Refusal>& reason,
                             picture::Refusal refusal) {
    if (reason) {
        std::fprintf(stderr, "%s: %s\n", files::EncodeName(path).constData(),
                     texture::RefusalWords(*reason).c_str());
        std::fflush(stderr);
    }
    if (refusal == picture::Refusal::NotValidTexture) {
        ShowMessage(texts::Text(texts::kNotValidTexture), platform::MessageIcon::Warning);
    } else {
        ShowCannotDisplay(path);
    }
}

// Puts a picture made ready into the slot's box and shows it; a texture's texels stay crisp on a screen
// of more than one device pixel to the pixel.
void MainWindow::Draw(int slot, const QString& name, const picture::Prepared& prepared) {
    platform::PictureBox& box = BoxOf(slot);
    box.hide();
    box.SetCrisp(prepared.layout.has_value());
    box.SetAutoSize(picture::Fits(prepared.size, LimitOf(slot)));
    // The box takes the fitted size even where the shrunk picture has no pixels left (a side of 0).
    box.resize(picture::FittedSize(prepared.size, LimitOf(slot)).value_or(prepared.shown.size()));
    box.AssignPicture(prepared.shown);
    box.setToolTip(texts::HoverText(name, prepared.size.width(), prepared.size.height()));
    PlaceAndShow(slot, name);
}

// The steps after a picture is drawn into its box, also for a box that shows what it holds: the place
// (the cell's corner, or centred above the buttons' row), shown, and the title naming `name`.
void MainWindow::PlaceAndShow(int slot, const QString& name) {
    platform::PictureBox& box = BoxOf(slot);
    if (slot > 0) {
        const auto cell = static_cast<std::size_t>(slot - 1);
        box.move(geometry_.thumbCellPos[cell], geometry_.thumbCellPos[cell + 9]);
    } else {
        const QWidget* inner = centralWidget();
        box.move(RoundHalfEven((inner->width() - box.width()) / 2.0),
                 RoundHalfEven((inner->height() - 80 - box.height()) / 2.0));
    }
    box.show();
    // A picture drawn while the browser is on show (a resize draws the selected file) stays behind it.
    if (state_.browserShown) {
        browser_->raise();
    }
    state_.titleName = name;
    UpdateControls();
}

void MainWindow::ShowFirstPage() {
    single_->Box().hide();
    state_.pageStart = 0;
    state_.markedCell.reset();
    DrawPage();
}

void MainWindow::DrawPage() {
    const DisplayScope displaying(*this);
    Select(state_.pageStart);
    const int listCount = state_.folder.Count();
    if (listCount == 0) {
        return;
    }
    SetBusy();
    const int count = thumbs::PageSize(listCount);
    // The files of the page that its cells do not hold already are made ready on worker threads while
    // the cells are drawn in order.
    readAhead_->Want(PageJobs(state_.pageStart), true);
    for (int cell = 1; cell <= count; ++cell) {
        platform::PictureBox& box = page_->Cell(cell);
        const auto corner = static_cast<std::size_t>(cell - 1);
        box.setGeometry(geometry_.thumbCellPos[corner], geometry_.thumbCellPos[corner + 9],
                        geometry_.thumbWidth, geometry_.thumbHeight);
        // A file of no known kind draws nothing: its cell stays empty rather than keep the picture of
        // an earlier page.
        if (!FileFor(cell)) {
            box.hide();
        }
        DrawSlot(cell);
        if (cell < count) {
            Select(browse::NextEntry(state_.folder.Selected(), listCount));
        }
    }
    // This page is kept for coming back, and the next one is made ready while this one is looked at.
    readAhead_->KeepPage(PageOnShow());
    readAhead_->Want(PageJobs(thumbs::NextPageStart(state_.folder.Selected(), listCount)), false);
    SetDefault();
    UpdateControls();
}

// The neighbours of the picture on show in the single view, made ready for Previous and Next, and the
// picture two steps on the way the view last stepped, read after the neighbour before it with the
// palette that one leaves: stepping on as soon as each picture is shown, the next is ready by then,
// also after a picture that took long to read. The other way, the neighbour is mostly the picture
// just left, kept ready.
void MainWindow::ReadAheadAround() {
    const browse::Folder& folder = state_.folder;
    const int count = folder.Count();
    if (count < 2 || (folder.Selected() < 0 && !folder.Unlisted())) {
        return;
    }
    const int onShow = folder.Unlisted() ? -1 : folder.Selected();
    const auto job = [&](std::initializer_list<int> entries) {
        picture::ReadJob read{{}, LimitOf(0), palette_};
        for (const int entry : entries) {
            const QString name = folder.Name(entry);
            if (entry != onShow && texture::KindOfName(name.toStdString())) {
                read.paths << folder.PathOf(name);
            }
        }
        return read;
    };
    const int after = folder.EntryAfterOnShow();
    const int before = folder.EntryBeforeOnShow();
    std::vector<picture::ReadJob> jobs =
        heading_ > 0 ? std::vector{job({after, browse::NextEntry(after, count)}), job({before})}
                     : std::vector{job({before, browse::PreviousEntry(before, count)}), job({after})};
    std::erase_if(jobs, [](const picture::ReadJob& read) { return read.paths.isEmpty(); });
    readAhead_->Want(jobs, false);
}

// The files of the page that starts at `pageStart` that its cells do not hold: each BMP and JPEG on its
// own, the textures one after another from the palette as it stands, as drawing the page reads them.
std::vector<picture::ReadJob> MainWindow::PageJobs(int pageStart) const {
    const browse::Folder& folder = state_.folder;
    const QSize limit = LimitOf(1);
    std::vector<picture::ReadJob> jobs;
    picture::ReadJob textures{{}, limit, palette_};
    for (int cell = 1; cell <= thumbs::PageSize(folder.Count()); ++cell) {
        const QString name = folder.Name(thumbs::CellEntry(pageStart, cell, folder.Count()));
        const std::optional<texture::FileKind> kind = texture::KindOfName(name.toStdString());
        const QString path = folder.PathOf(name);
        if (!kind || HeldFor(path, cell) != nullptr) {
            continue;
        }
        if (texture::IsTexture(*kind)) {
            textures.paths << path;
        } else {
            jobs.push_back({{path}, limit, {}});
        }
    }
    if (!textures.paths.isEmpty()) {
        jobs.push_back(textures);
    }
    return jobs;
}

// What the slot's box holds, as a picture made ready for it: nothing when it holds no picture, or one
// fitted to other limits than the slot's now.
std::optional<picture::Prepared> MainWindow::PreparedOf(int slot) const {
    const std::optional<picture::HeldPicture>& held = held_[static_cast<std::size_t>(slot)];
    if (!held || !held->shown || held->limit != LimitOf(slot)) {
        return std::nullopt;
    }
    return picture::Prepared{
        held->stamp,        held->size,          {},          held->limit, BoxOf(slot).Surface(),
        held->paletteTaken, held->paletteLoaded, held->layout};
}

// What the cells of the page on show hold, as pictures made ready for them.
std::vector<std::pair<QString, picture::Prepared>> MainWindow::PageOnShow() const {
    std::vector<std::pair<QString, picture::Prepared>> pictures;
    for (int cell = 1; cell <= 9; ++cell) {
        if (std::optional<picture::Prepared> prepared = PreparedOf(cell)) {
            pictures.emplace_back(held_[static_cast<std::size_t>(cell)]->path, std::move(*prepared));
        }
    }
    return pictures;
}

}  // namespace tamsel::shell
