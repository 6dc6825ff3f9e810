#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <deque>
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

class ReadAhead {
public:
    ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;
    ~ReadAhead();

    // Asks for the files of `jobs` to be made ready; what is ready or on its way already, or on a kept
    // page, is not made again. Urgent jobs (the page being drawn) go before the others. Work and results
    // that no job asks for any more are dropped; the kept pages stay.
    void Want(const std::vector<ReadJob>& jobs, bool urgent);

    // Keeps the pictures of a page just drawn, with the page drawn before it: going back a page, or to a
    // picture that moves to another cell, reads nothing.
    void KeepPage(std::vector<std::pair<QString, Prepared>> pictures);

    // The picture made ready for `path` that a box of `limit` can show now, with the reader's palette
    // `current`, waiting for it when it is on its way; nothing when there is none or it no longer holds.
    std::optional<Prepared> Take(const QString& path, const std::optional<texture::FileStamp>& stamp,
                                 QSize limit, const Palette& current);

    // Drops everything and waits for the work under way to stop.
    void Clear();

private:
    struct Entry {
        QString path;
        QSize limit;
        bool staged;  // made for a guessed limit, with the decoded picture kept
        std::shared_future<std::optional<Prepared>> result;
        std::shared_ptr<std::atomic<bool>> dropped;
    };

    const Entry* Find(const QString& path, QSize limit) const;

    std::vector<Entry> entries_;
    std::deque<std::vector<Entry>> kept_;  // the last two pages drawn
    // The page being drawn takes every core; reading ahead takes one, leaving the others to the window
    // and the display server.
    QThreadPool urgent_;
    QThreadPool ahead_;
};

}  // namespace tamsel::picture
