#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <atomic>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <vector>

#include "picture/HeldPicture.h"
#include "picture/Preparing.h"
#include "texture/FileSource.h"

// Pictures made ready on worker threads before the window asks for them: the page being drawn, the
// neighbours of the picture on show, the next page, the picture named on the command line while the
// window starts. A picture made ready is exactly what opening the file in order would give: the same
// decode, the same fit, and for a texture without a palette of its own the palette it would take. The
// window uses one only while that still holds (the file unchanged on disk, the same limit, the same
// palette), and otherwise opens the file itself.
namespace tamsel::picture {

// Files to make ready for boxes of `limit`, in this order: each texture is read with the palette the
// one before it leaves, the first with `palette`.
struct ReadJob {
    QStringList paths;
    QSize limit;
    Palette palette{};
    bool keepStaged = false;  // the limit is a guess: keep the decoded picture for the real one
};

// How a file is made ready: `Prepare` itself, or in a test one that lets it see and hold the work.
using Preparer = std::function<Preparation(const QString& path, QSize limit, Palette& palette,
                                           bool keepStaged, const std::function<bool()>& shouldStop)>;

class ReadAhead {
public:
    explicit ReadAhead(Preparer prepare = Prepare);
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;
    ~ReadAhead();

    // Asks for the files of `jobs` to be made ready; what is ready or on its way already, or on a kept
    // page, is not made again, unless a picture made ready no longer holds (its file changed, or it
    // took another palette than the job's). Urgent jobs (the page being drawn) go before the others.
    // Work that no job asks for any more is dropped: a file not yet begun is never made, one under way
    // stops where its decode can (between bands of a texture, rows of a JPEG, reads of a BMP), and
    // its result is thrown away. The kept pages stay.
    void Want(const std::vector<ReadJob>& jobs, bool urgent);

    // Keeps the pictures of a page just drawn, with the page drawn before it: going back a page, or to a
    // picture that moves to another cell, reads nothing.
    void KeepPage(std::vector<std::pair<QString, Prepared>> pictures);

    // Keeps a picture that a box stops showing, as made ready for its limit, until a call of Want no
    // longer asks for it: the picture the single view leaves is, as a neighbour of the next one, not
    // made again.
    void KeepLeft(const QString& path, Prepared prepared);

    // The picture made ready for `path` that a box of `limit` can show now, with the reader's palette
    // `current`; nothing when there is none or it no longer holds. It waits only for a decode of that
    // file that is under way. One not yet begun, queued behind other work, is taken back and never
    // made: nothing, and the caller makes the file ready itself at once.
    std::optional<Prepared> Take(const QString& path, const std::optional<texture::FileStamp>& stamp,
                                 QSize limit, const Palette& current);

    // Drops everything and waits for the work under way to stop.
    void Clear();

private:
    // Where a file's work is: queued, begun (or made ready already), or dropped, when it is no longer
    // wanted or the window took it back before it began.
    enum class Turn { Queued, Begun, Dropped };

    struct Entry {
        QString path;
        QSize limit;
        bool staged;  // made for a guessed limit, with the decoded picture kept
        std::shared_future<std::optional<Prepared>> result;
        std::shared_ptr<std::atomic<Turn>> turn;
    };

    static Entry Ready(const QString& path, Prepared prepared);
    const Entry* Find(const QString& path, QSize limit) const;

    Preparer prepare_;
    std::vector<Entry> entries_;
    std::deque<std::vector<Entry>> kept_;  // the last two pages drawn
    // The page being drawn takes every core; reading ahead takes one, leaving the others to the window
    // and the display server.
    QThreadPool urgent_;
    QThreadPool ahead_;
};

}  // namespace tamsel::picture
