#include "display/JpegHeader.h"

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace tamsel::display {

namespace {

// The JPEG library's source of bytes, fed from a byte source in chunks.
struct Source {
    jpeg_source_mgr manager{};
    texture::ByteSource* file = nullptr;
    std::uint64_t offset = 0;
    std::array<JOCTET, 65536> buffer{};
};

// Errors leave the header reading at once; warnings are ignored.
struct Errors {
    jpeg_error_mgr manager{};
    std::jmp_buf exit{};
};

void InitSource(j_decompress_ptr /*info*/) {}

boolean FillBuffer(j_decompress_ptr info) {
    auto* source = reinterpret_cast<Source*>(info->src);
    const std::uint64_t left = source->file->Size() - std::min(source->offset, source->file->Size());
    const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(left, source->buffer.size()));
    if (chunk == 0 || !source->file->ReadAt(source->offset, std::span(source->buffer).first(chunk))) {
        // The file ends before the first scan: an end marker makes the library stop with an error.
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        source->manager.next_input_byte = source->buffer.data();
        source->manager.bytes_in_buffer = 2;
        return TRUE;
    }
    source->offset += chunk;
    source->manager.next_input_byte = source->buffer.data();
    source->manager.bytes_in_buffer = chunk;
    return TRUE;
}

void SkipInput(j_decompress_ptr info, long count) {
    auto* source = reinterpret_cast<Source*>(info->src);
    if (count <= 0) {
        return;
    }
    const auto skip = static_cast<std::size_t>(count);
    if (skip <= source->manager.bytes_in_buffer) {
        source->manager.next_input_byte += skip;
        source->manager.bytes_in_buffer -= skip;
        return;
    }
    source->offset += skip - source->manager.bytes_in_buffer;
    source->manager.bytes_in_buffer = 0;
}

void TermSource(j_decompress_ptr /*info*/) {}

[[noreturn]] void ExitOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<Errors*>(info->err)->exit, 1);
}

void IgnoreMessage(j_common_ptr /*info*/, int /*level*/) {}

std::uint64_t RoundUp(std::uint64_t value, std::uint64_t step) {
    return (value + step - 1) / step * step;
}

// Reads the header into `header`; false on any error. Kept apart from everything with a destructor,
// since an error jumps out of the library.
bool ReadInto(jpeg_decompress_struct& info, Errors& errors, Source& source, JpegHeader& header) {
    if (setjmp(errors.exit) != 0) {
        return false;
    }
    jpeg_create_decompress(&info);
    info.src = &source.manager;
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        return false;
    }
    header.width = info.image_width;
    header.height = info.image_height;
    header.components = info.num_components;
    header.multipleScans = jpeg_has_multiple_scans(&info) != 0;
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& component = info.comp_info[c];
        // Blocks of 8 x 8 of the component's own resolution, padded to whole units of its sampling.
        const std::uint64_t columns =
            RoundUp((header.width * component.h_samp_factor + 8 * info.max_h_samp_factor - 1) /
                        (8 * info.max_h_samp_factor),
                    static_cast<std::uint64_t>(component.h_samp_factor));
        const std::uint64_t rows =
            RoundUp((header.height * component.v_samp_factor + 8 * info.max_v_samp_factor - 1) /
                        (8 * info.max_v_samp_factor),
                    static_cast<std::uint64_t>(component.v_samp_factor));
        header.coefficientBytes += columns * rows * DCTSIZE2 * sizeof(JCOEF);
    }
    return true;
}

}  // namespace

std::optional<JpegHeader> ReadJpegHeader(texture::ByteSource& file) {
    jpeg_decompress_struct info{};
    Errors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = ExitOnError;
    errors.manager.emit_message = IgnoreMessage;
    Source source;
    source.file = &file;
    source.manager.init_source = InitSource;
    source.manager.fill_input_buffer = FillBuffer;
    source.manager.skip_input_data = SkipInput;
    source.manager.resync_to_restart = jpeg_resync_to_restart;
    source.manager.term_source = TermSource;
    JpegHeader header;
    const bool read = ReadInto(info, errors, source, header);
    jpeg_destroy_decompress(&info);
    if (!read || header.width <= 0 || header.height <= 0) {
        return std::nullopt;
    }
    return header;
}

std::uint64_t JpegDecodeBytes(const JpegHeader& header, int divisor) {
    const auto d = static_cast<std::uint64_t>(divisor);
    const std::uint64_t pictureBytes = ((static_cast<std::uint64_t>(header.width) + d - 1) / d) *
                                       ((static_cast<std::uint64_t>(header.height) + d - 1) / d) * 4;
    // Row buffers: a band of up to 16 full-width rows of every component, with room for upsampling.
    const std::uint64_t rowBytes = static_cast<std::uint64_t>(header.width) * 16 * 4 *
                                   static_cast<std::uint64_t>(std::max(header.components, 1));
    return (header.multipleScans ? header.coefficientBytes : 0) + rowBytes + 3 * pictureBytes;
}

}  // namespace tamsel::display
