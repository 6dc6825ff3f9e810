#include "picture/ReadAhead.h"

#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <new>

#include "files/FileNames.h"
#include "picture/FitRule.h"
#include "picture/PictureLoader.h"
#include "picture/Preparing.h"

namespace tamsel::picture {

ReadAhead::ReadAhead(Preparer prepare) : prepare_(std::move(prepare)) {
    urgent_.setMaxThreadCount(std::max(QThread::idealThreadCount(), 1));
    ahead_.setMaxThreadCount(1);
}

ReadAhead::~ReadAhead() {
    Clear();
}

namespace {

// Whether a picture made ready, or on its way, serves a job that asks for its file now: one on its way
// does, and so does a file that could not be made ready; one made ready while its file is unchanged
// and, where the job knows the palette the file is read with (`palette`), it took that one or none.
bool StillServes(const std::shared_future<std::optional<Prepared>>& result, const QString& path,
                 const Palette* palette) {
    if (result.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        return true;
    }
    const std::optional<Prepared>& prepared = result.get();
    if (!prepared) {
        return true;
    }
    return prepared->stamp == texture::StampOf(files::EncodeName(path).constData()) &&
           (palette == nullptr || !prepared->paletteTaken || *prepared->paletteTaken == *palette);
}

}  // namespace

void ReadAhead::Want(const std::vector<ReadJob>& jobs, bool urgent) {
    std::vector<Entry> wanted;
    for (const ReadJob& job : jobs) {
        std::vector<std::shared_ptr<std::promise<std::optional<Prepared>>>> promises;
        std::vector<std::shared_ptr<std::atomic<Turn>>> turns;
        QStringList paths;
        for (const QString& path : job.paths) {
            const auto same = [&](const Entry& entry) {
                return entry.path == path && entry.limit == job.limit;
            };
            if (std::any_of(wanted.begin(), wanted.end(), same)) {
                continue;
            }
            // Only the first file of a job is read with the job's palette; the others take whatever the
            // files before them leave.
            const Palette* palette = path == job.paths.front() ? &job.palette : nullptr;
            if (const Entry* known = Find(path, job.limit);
                known != nullptr && StillServes(known->result, path, palette)) {
                wanted.push_back(*known);
                continue;
            }
            promises.push_back(std::make_shared<std::promise<std::optional<Prepared>>>());
            turns.push_back(std::make_shared<std::atomic<Turn>>(Turn::Queued));
            paths << path;
            wanted.push_back(
                {path, job.limit, job.keepStaged, promises.back()->get_future().share(), turns.back()});
        }
        if (paths.isEmpty()) {
            continue;
        }
        (urgent ? urgent_ : ahead_)
            .start([prepare = prepare_, paths, promises, turns, limit = job.limit, palette = job.palette,
                    keep = job.keepStaged]() mutable {
                for (qsizetype i = 0; i < paths.size(); ++i) {
                    const auto index = static_cast<std::size_t>(i);
                    std::atomic<Turn>& turn = *turns[index];
                    std::optional<Prepared> prepared;
                    // A file dropped, or taken back by the window, before its turn is never read.
                    if (auto queued = Turn::Queued; turn.compare_exchange_strong(queued, Turn::Begun)) {
                        const std::function<bool()> dropped = [&turn] { return turn == Turn::Dropped; };
                        try {
                            prepared = prepare(paths[i], limit, palette, keep, dropped).prepared;
                        } catch (const std::bad_alloc&) {
                            // Out of memory: nothing is made ready, and the window opens the file itself.
                        }
                    }
                    promises[index]->set_value(std::move(prepared));
                }
            });
    }
    for (Entry& entry : entries_) {
        const bool stillWanted = std::any_of(wanted.begin(), wanted.end(),
                                             [&](const Entry& other) { return other.turn == entry.turn; });
        if (!stillWanted) {
            *entry.turn = Turn::Dropped;
        }
    }
    entries_ = std::move(wanted);
}

ReadAhead::Entry ReadAhead::Ready(const QString& path, Prepared prepared) {
    std::promise<std::optional<Prepared>> ready;
    const QSize limit = prepared.limit;
    ready.set_value(std::move(prepared));
    return {path, limit, false, ready.get_future().share(), std::make_shared<std::atomic<Turn>>(Turn::Begun)};
}

void ReadAhead::KeepPage(std::vector<std::pair<QString, Prepared>> pictures) {
    std::vector<Entry> page;
    page.reserve(pictures.size());
    for (auto& picture : pictures) {
        page.push_back(Ready(picture.first, std::move(picture.second)));
    }
    kept_.push_back(std::move(page));
    if (kept_.size() > 2) {
        kept_.pop_front();
    }
}

void ReadAhead::KeepLeft(const QString& path, Prepared prepared) {
    Entry entry = Ready(path, std::move(prepared));
    for (auto same = entries_.begin(); same != entries_.end();) {
        if (same->path == path && same->limit == entry.limit) {
            *same->turn = Turn::Dropped;
            same = entries_.erase(same);
        } else {
            ++same;
        }
    }
    entries_.push_back(std::move(entry));
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
    const Entry& entry = kept != nullptr ? *kept : *found;
    // Not begun: waiting would be waiting for all the work queued before it.
    auto queued = Turn::Queued;
    const bool takenBack = entry.turn->compare_exchange_strong(queued, Turn::Dropped);
    std::optional<Prepared> prepared = takenBack ? std::nullopt : entry.result.get();
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
        *entry.turn = Turn::Dropped;
    }
    entries_.clear();
    kept_.clear();
    urgent_.waitForDone();
    ahead_.waitForDone();
}

}  // namespace tamsel::picture
