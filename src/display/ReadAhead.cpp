#include "display/ReadAhead.h"

#include <QThread>
#include <algorithm>
#include <atomic>
#include <new>

#include "browse/ImageKind.h"
#include "display/FitRule.h"
#include "display/PictureLoader.h"
#include "platform/FileNames.h"
#include "texture/ReducedPaint.h"

namespace tamsel::display {

namespace {

// A texture decoded for a box of `limit`, into a canvas of its own: whole when it fits or shrinks
// little, else reduced by a whole number straight from its pixel data, a band of rows at a time. The
// reader's palette is `palette` before, and `palette` is left as the file leaves it.
std::optional<Prepared> PrepareTexture(texture::FileSource& file, QSize limit, Palette& palette,
                                       QImage& staged) {
    Prepared prepared;
    texture::TextureReader reader;
    reader.SetPalette(palette);
    const std::optional<texture::TextureLayout> layout = reader.ReadLayout(file);
    const PaletteEffect effect = PaletteEffectOf(palette, reader.Palette(), layout);
    prepared.paletteTaken = effect.taken;
    prepared.paletteLoaded = effect.loaded;
    palette = reader.Palette();
    if (!layout) {
        return std::nullopt;
    }
    prepared.size = QSize(layout->width, layout->height);
    prepared.layout = layout;
    prepared.reduction = TextureReduction(prepared.size, limit);
    std::vector<std::uint8_t> pixels;
    const int k = prepared.reduction;
    if (k == 1) {
        const bool painted = PaintTexture(reader, file, *layout, pixels, [&staged](int width, int height) {
            staged = QImage(width, height, QImage::Format_RGB32);
            return staged.isNull() && width > 0 && height > 0 ? nullptr : &staged;
        });
        return painted ? std::optional(prepared) : std::nullopt;
    }
    const auto reserved = texture::DecodeBudget::Program().Reserve(texture::ReducedPaintBytes(*layout, k));
    staged =
        QImage(texture::Reduced(layout->width, k), texture::Reduced(layout->height, k), QImage::Format_RGB32);
    std::vector<std::uint32_t> band;
    if (!reserved || staged.isNull() ||
        !texture::PaintReduced(reader, file, *layout, k,
                               {reinterpret_cast<std::uint32_t*>(staged.bits()), staged.bytesPerLine() / 4},
                               pixels, band)) {
        return std::nullopt;
    }
    return prepared;
}

}  // namespace

std::optional<Prepared> Prepare(const QString& path, QSize limit, Palette& palette, bool keepStaged) {
    const QByteArray name = platform::EncodeName(path);
    const std::optional<texture::FileStamp> stamp = texture::StampOf(name.constData());
    if (!stamp) {
        return std::nullopt;
    }
    const std::optional<browse::ImageKind> kind = browse::KindOfFile(path);
    if (!kind) {
        return std::nullopt;
    }
    std::optional<Prepared> prepared;
    QImage staged;
    if (!browse::IsTexture(*kind)) {
        std::optional<Picture> picture = LoadPicture(path, limit);
        if (picture) {
            prepared = Prepared{};
            prepared->size = picture->size;
            prepared->reduction = picture->divisor;
            prepared->scalable = picture->scalable;
            staged = std::move(picture->image);
        }
    } else {
        texture::FileSource file(name.constData());
        if (file.IsOpen() && file.Size() > 0) {
            prepared = PrepareTexture(file, limit, palette, staged);
        }
    }
    if (!prepared) {
        return std::nullopt;
    }
    // What a box of `limit` shows: the decoded canvas itself when it fits, else halftoned down to fit.
    std::optional<QImage> shown = FittedPicture(staged, prepared->size, limit);
    if (!shown) {
        return std::nullopt;
    }
    prepared->stamp = *stamp;
    prepared->limit = limit;
    prepared->shown = std::move(*shown);
    if (keepStaged) {
        prepared->staged = std::move(staged);
    }
    return prepared;
}

ReadAhead::ReadAhead() {
    urgent_.setMaxThreadCount(std::max(QThread::idealThreadCount(), 1));
    ahead_.setMaxThreadCount(1);
}

ReadAhead::~ReadAhead() {
    Clear();
}

void ReadAhead::Want(const std::vector<ReadJob>& jobs, bool urgent) {
    std::vector<Entry> wanted;
    for (const ReadJob& job : jobs) {
        std::vector<std::shared_ptr<std::promise<std::optional<Prepared>>>> promises;
        std::vector<std::shared_ptr<std::atomic<bool>>> dropped;
        QStringList paths;
        for (const QString& path : job.paths) {
            const auto same = [&](const Entry& entry) {
                return entry.path == path && entry.limit == job.limit;
            };
            if (std::any_of(wanted.begin(), wanted.end(), same)) {
                continue;
            }
            if (const Entry* known = Find(path, job.limit)) {
                wanted.push_back(*known);
                continue;
            }
            promises.push_back(std::make_shared<std::promise<std::optional<Prepared>>>());
            dropped.push_back(std::make_shared<std::atomic<bool>>(false));
            paths << path;
            wanted.push_back(
                {path, job.limit, job.keepStaged, promises.back()->get_future().share(), dropped.back()});
        }
        if (paths.isEmpty()) {
            continue;
        }
        (urgent ? urgent_ : ahead_)
            .start([paths, promises, dropped, limit = job.limit, palette = job.palette,
                    keep = job.keepStaged]() mutable {
                for (qsizetype i = 0; i < paths.size(); ++i) {
                    const auto index = static_cast<std::size_t>(i);
                    std::optional<Prepared> prepared;
                    try {
                        if (!*dropped[index]) {
                            prepared = Prepare(paths[i], limit, palette, keep);
                        }
                    } catch (const std::bad_alloc&) {
                        // Out of memory: nothing is made ready, and the window opens the file itself.
                    }
                    promises[index]->set_value(std::move(prepared));
                }
            });
    }
    for (Entry& entry : entries_) {
        const bool stillWanted = std::any_of(
            wanted.begin(), wanted.end(), [&](const Entry& other) { return other.dropped == entry.dropped; });
        if (!stillWanted) {
            *entry.dropped = true;
        }
    }
    entries_ = std::move(wanted);
}

void ReadAhead::KeepPage(std::vector<std::pair<QString, Prepared>> pictures) {
    std::vector<Entry> page;
    for (auto& [path, prepared] : pictures) {
        std::promise<std::optional<Prepared>> ready;
        const QSize limit = prepared.limit;
        ready.set_value(std::move(prepared));
        page.push_back(
            {path, limit, false, ready.get_future().share(), std::make_shared<std::atomic<bool>>(false)});
    }
    kept_.push_back(std::move(page));
    if (kept_.size() > 2) {
        kept_.pop_front();
    }
}

const ReadAhead::Entry* ReadAhead::Find(const QString& path, QSize limit) const {
    const auto same = [&](const Entry& entry) { return entry.path == path && entry.limit == limit; };
    if (const auto found = std::find_if(entries_.begin(), entries_.end(), same); found != entries_.end()) {
        return &*found;
    }
    for (auto page = kept_.rbegin(); page != kept_.rend(); ++page) {
        if (const auto found = std::find_if(page->begin(), page->end(), same); found != page->end()) {
            return &*found;
        }
    }
    return nullptr;
}

std::optional<Prepared> ReadAhead::Take(const QString& path, const std::optional<texture::FileStamp>& stamp,
                                        QSize limit, const Palette& current) {
    const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) {
        return entry.path == path && (entry.limit == limit || entry.staged);
    });
    const Entry* kept = found == entries_.end() ? Find(path, limit) : nullptr;
    if (found == entries_.end() && kept == nullptr) {
        return std::nullopt;
    }
    std::optional<Prepared> prepared = kept != nullptr ? kept->result.get() : found->result.get();
    if (kept == nullptr) {
        entries_.erase(found);
    }
    if (!prepared || prepared->stamp != stamp ||
        (prepared->paletteTaken && *prepared->paletteTaken != current)) {
        return std::nullopt;
    }
    if (prepared->limit == limit) {
        return prepared;
    }
    // Made for a limit that was a guess: fitted again from the decoded picture, when it was decoded at
    // the scale (or reduced by the number) that the real limit asks for.
    const std::optional<QSize> fitted = FittedSize(prepared->size, limit);
    const int reduction = prepared->layout               ? TextureReduction(prepared->size, limit)
                          : prepared->scalable && fitted ? ScaleDivisor(prepared->size, *fitted)
                                                         : 1;
    if (prepared->staged.isNull() || !fitted || reduction != prepared->reduction) {
        return std::nullopt;
    }
    std::optional<QImage> shown = FittedPicture(prepared->staged, prepared->size, limit);
    if (!shown) {
        return std::nullopt;
    }
    prepared->limit = limit;
    prepared->shown = std::move(*shown);
    return prepared;
}

void ReadAhead::Clear() {
    for (Entry& entry : entries_) {
        *entry.dropped = true;
    }
    entries_.clear();
    kept_.clear();
    urgent_.waitForDone();
    ahead_.waitForDone();
}

}  // namespace tamsel::display
