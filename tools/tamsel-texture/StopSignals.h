#pragma once

#include <functional>
#include <string>

// A stop by SIGHUP, SIGINT or SIGTERM leaves no half-written file behind. Those signals are taken by a
// thread of their own rather than by a handler, so that undoing the files in progress may take a lock:
// it removes each new file being written, empties each file being written in place, and then ends the
// program as the signal would have.
namespace tamsel::tool {

// Starts taking the stop signals. Called before any other thread starts: threads started later
// inherit the signals blocked, so only the taking thread ever sees them.
void TakeStopSignals();

// A file being written, undone by a stop while the object lives.
class FileInProgress {
public:
    enum class Undo {
        Remove,  // a new file: removed by its name
        Empty,   // a file that was empty: cut back to nothing through its descriptor
    };

    // Copies `path` and calls `open` with the copy, which it may change (mkostemp fills in a template);
    // `open` returns the descriptor or -1. No stop comes between the file's creation and its recording.
    FileInProgress(std::string path, Undo undo, const std::function<int(char* path)>& open);
    FileInProgress(const FileInProgress&) = delete;
    FileInProgress& operator=(const FileInProgress&) = delete;
    // Forgets the file; closing its descriptor is the owner's.
    ~FileInProgress();

    int Descriptor() const { return fd_; }
    const std::string& Path() const { return path_; }

    // Runs `finish`, the step that completes the file (a rename over its target), and forgets the file
    // when it succeeded, with no stop between the two. Returns what `finish` returned.
    bool Finish(const std::function<bool()>& finish);

    // Undoes the file now, as a stop would.
    void UndoNow() const;

private:
    std::string path_;
    Undo undo_;
    int fd_ = -1;
    bool recorded_ = false;
};

}  // namespace tamsel::tool
