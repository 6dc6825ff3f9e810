#include "display/JpegSession.h"

#include <algorithm>
#include <span>
// jerror.h names the library's messages; it comes after jpeglib.h.
#include <jerror.h>

namespace tamsel::display::jpeg {

namespace {

Session& SessionOf(j_common_ptr info) {
    return *static_cast<Session*>(info->client_data);
}

Session& SessionOf(j_decompress_ptr info) {
    return *static_cast<Session*>(info->client_data);
}

[[noreturn]] void Leave(Session& session) {
    std::longjmp(session.exit, 1);
}

[[noreturn]] void ExitOnError(j_common_ptr info) {
    Leave(SessionOf(info));
}

// Warnings (level -1) that the data ran out, is corrupt or breaks the order of a progression end the
// reading; those about the header's own fields do not: extraneous bytes before a marker, an unknown
// JFIF revision, an unknown Adobe colour transform and a bad ICC segment. Trace messages (unknown APPn
// segments among them) are ignored.
void JudgeMessage(j_common_ptr info, int level) {
    if (level >= 0) {
        return;
    }
    switch (info->err->msg_code) {
        case JWRN_EXTRANEOUS_DATA:
        case JWRN_JFIF_MAJOR:
        case JWRN_ADOBE_XFORM:
        case JWRN_BOGUS_ICC:
            return;
        default:
            Leave(SessionOf(info));
    }
}

void AskToStop(j_common_ptr info) {
    Session& session = SessionOf(info);
    if ((*session.shouldStop)()) {
        Leave(session);
    }
}

void InitSource(j_decompress_ptr /*info*/) {}

boolean FillBuffer(j_decompress_ptr info) {
    Session& session = SessionOf(info);
    const std::uint64_t size = session.file->Size();
    const std::uint64_t left = size - std::min(session.offset, size);
    const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(left, session.buffer.size()));
    // A file that ends before its picture does, or cannot be read, is not made up to the end.
    if (chunk == 0 || !session.file->ReadAt(session.offset, std::span(session.buffer).first(chunk))) {
        Leave(session);
    }
    session.offset += chunk;
    session.source.next_input_byte = session.buffer.data();
    session.source.bytes_in_buffer = chunk;
    return TRUE;
}

void SkipInput(j_decompress_ptr info, long count) {
    Session& session = SessionOf(info);
    if (count <= 0) {
        return;
    }
    const auto skip = static_cast<std::size_t>(count);
    if (skip <= session.source.bytes_in_buffer) {
        session.source.next_input_byte += skip;
        session.source.bytes_in_buffer -= skip;
        return;
    }
    session.offset += skip - session.source.bytes_in_buffer;
    session.source.bytes_in_buffer = 0;
}

void TermSource(j_decompress_ptr /*info*/) {}

JOCTET NextByte(j_decompress_ptr info) {
    if (info->src->bytes_in_buffer == 0) {
        FillBuffer(info);
    }
    --info->src->bytes_in_buffer;
    return *info->src->next_input_byte++;
}

// The library's reader of APP1 segments: the first is kept, every one skipped. A length too short to
// count itself holds nothing.
boolean KeepFirstApp1(j_decompress_ptr info) {
    FirstApp1& app1 = *SessionOf(info).app1;
    const unsigned high = NextByte(info);
    const unsigned low = NextByte(info);
    auto left = static_cast<long>(std::max((high << 8 | low), 2U) - 2);
    if (!app1.seen) {
        app1.seen = true;
        app1.size = static_cast<std::size_t>(left);
        for (std::size_t i = 0; i < app1.size; ++i) {
            app1.bytes[i] = NextByte(info);
        }
        left = 0;
    }
    SkipInput(info, left);
    return TRUE;
}

}  // namespace

void Attach(Session& session, texture::ByteSource& file, const std::function<bool()>* shouldStop,
            FirstApp1* app1) {
    session.info.err = jpeg_std_error(&session.errors);
    session.errors.error_exit = ExitOnError;
    session.errors.emit_message = JudgeMessage;
    session.info.client_data = &session;
    session.source.init_source = InitSource;
    session.source.fill_input_buffer = FillBuffer;
    session.source.skip_input_data = SkipInput;
    session.source.resync_to_restart = jpeg_resync_to_restart;
    session.source.term_source = TermSource;
    session.progress.progress_monitor = AskToStop;
    session.file = &file;
    session.offset = 0;
    session.shouldStop = shouldStop;
    session.app1 = app1;
}

bool ReadHeader(Session& session) {
    // Creating the state clears everything but the error manager and the client's data.
    jpeg_create_decompress(&session.info);
    session.info.src = &session.source;
    if (session.shouldStop != nullptr) {
        session.info.progress = &session.progress;
    }
    if (session.app1 != nullptr) {
        jpeg_set_marker_processor(&session.info, JPEG_APP0 + 1, KeepFirstApp1);
    }
    return jpeg_read_header(&session.info, TRUE) == JPEG_HEADER_OK;
}

std::uint64_t Position(const Session& session) {
    return session.offset - session.source.bytes_in_buffer;
}

}  // namespace tamsel::display::jpeg
