#include "StopSignals.h"

#include <pthread.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <mutex>
#include <set>
#include <thread>

namespace tamsel::tool {
namespace {

// The files in progress and the lock over them. Never destroyed: the taking thread may still use them
// while the program ends.
std::mutex& Lock() {
    static auto* const lock = new std::mutex;
    return *lock;
}
std::set<const FileInProgress*>& InProgress() {
    static auto* const files = new std::set<const FileInProgress*>;
    return *files;
}

sigset_t StopSignalSet() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : {SIGHUP, SIGINT, SIGTERM}) {
        sigaddset(&set, signal);
    }
    return set;
}

}  // namespace

void TakeStopSignals() {
    static std::once_flag started;
    std::call_once(started, [] {
        const sigset_t stops = StopSignalSet();
        pthread_sigmask(SIG_BLOCK, &stops, nullptr);
        std::thread([stops] {
            int stop = 0;
            if (sigwait(&stops, &stop) != 0) {
                return;
            }
            // The lock is kept to the end: no file starts or completes any more.
            Lock().lock();
            for (const FileInProgress* file : InProgress()) {
                file->UndoNow();
            }
            // Again, with the default action and no longer blocked here: the program ends by it.
            std::signal(stop, SIG_DFL);
            sigset_t only;
            sigemptyset(&only);
            sigaddset(&only, stop);
            pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
            std::raise(stop);
        }).detach();
    });
}

FileInProgress::FileInProgress(std::string path, Undo undo, const std::function<int(char* path)>& open)
    : path_(std::move(path)), undo_(undo) {
    const std::lock_guard lock(Lock());
    fd_ = open(path_.data());
    if (fd_ >= 0) {
        recorded_ = InProgress().insert(this).second;
    }
}

FileInProgress::~FileInProgress() {
    if (recorded_) {
        const std::lock_guard lock(Lock());
        InProgress().erase(this);
    }
}

bool FileInProgress::Finish(const std::function<bool()>& finish) {
    const std::lock_guard lock(Lock());
    const bool finished = finish();
    if (finished) {
        InProgress().erase(this);
        recorded_ = false;
    }
    return finished;
}

void FileInProgress::UndoNow() const {
    if (undo_ == Undo::Remove) {
        ::unlink(path_.c_str());
    } else {
        while (::ftruncate(fd_, 0) != 0 && errno == EINTR) {
        }
    }
}

}  // namespace tamsel::tool
