#pragma once

#include <array>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <functional>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "texture/ByteSource.h"

// The JPEG library reading one file from a byte source, in chunks. Everything that ends the reading
// early leaves the library at once by a jump to `exit`: an error, the file ending before the picture
// does, a warning that the data is corrupt, and a request to stop. The caller arms `exit` with setjmp
// in a function that holds nothing with a destructor, and destroys the library's state afterwards
// however the reading ended. Warnings about the header's own fields, which ordinary camera files give,
// let the reading go on.
namespace tamsel::display::jpeg {

// The first APP1 segment, where a camera writes its Exif data, as far as one segment reaches.
struct FirstApp1 {
    std::array<std::uint8_t, 65533> bytes{};
    std::size_t size = 0;
    bool seen = false;
};

// Everything the library works with while it reads one file; nothing in it needs a destructor.
struct Session {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    jpeg_source_mgr source{};
    jpeg_progress_mgr progress{};
    std::jmp_buf exit{};
    texture::ByteSource* file = nullptr;
    std::uint64_t offset = 0;  // where the next chunk of the file starts
    const std::function<bool()>* shouldStop = nullptr;
    FirstApp1* app1 = nullptr;  // kept while the header is read, when asked for
    std::array<JOCTET, 65536> buffer{};
};

// Makes `session` read `file` from its start. `shouldStop`, when it is given, is asked each time the
// library reports progress: before each call that puts out rows, and before each row of blocks it takes
// in while it reads the scans of a file in several scans. `app1` keeps the file's first APP1 segment.
void Attach(Session& session, texture::ByteSource& file, const std::function<bool()>* shouldStop = nullptr,
            FirstApp1* app1 = nullptr);

// Creates the library's state for `session` and reads the header up to the first scan. Call only with
// `exit` armed; false when the file has no picture.
bool ReadHeader(Session& session);

// Where in the file the library's next byte is.
std::uint64_t Position(const Session& session);

}  // namespace tamsel::display::jpeg
