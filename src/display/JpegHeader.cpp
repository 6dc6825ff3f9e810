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

namespace {

// Reads a file a byte at a time, through a buffer.
class ByteWalk {
public:
    explicit ByteWalk(texture::ByteSource& file) : file_(file) {}

    // The byte at the walk's place, or nothing at the end of the file.
    std::optional<std::uint8_t> Next() {
        if (at_ == end_) {
            const std::uint64_t left = file_.Size() - std::min(offset_, file_.Size());
            const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(left, buffer_.size()));
            if (chunk == 0 || !file_.ReadAt(offset_, std::span(buffer_).first(chunk))) {
                return std::nullopt;
            }
            offset_ += chunk;
            at_ = 0;
            end_ = chunk;
        }
        return buffer_[at_++];
    }

    void Skip(std::uint64_t count) {
        const std::uint64_t buffered = end_ - at_;
        if (count <= buffered) {
            at_ += static_cast<std::size_t>(count);
            return;
        }
        offset_ += count - buffered;
        at_ = end_ = 0;
    }

private:
    texture::ByteSource& file_;
    std::array<std::uint8_t, 65536> buffer_{};
    std::uint64_t offset_ = 0;
    std::size_t at_ = 0;
    std::size_t end_ = 0;
};

}  // namespace

int CountScans(texture::ByteSource& file, int most) {
    ByteWalk walk(file);
    if (walk.Next() != 0xFF || walk.Next() != 0xD8) {
        return 0;
    }
    int scans = 0;
    std::optional<std::uint8_t> byte = walk.Next();
    while (byte && scans <= most) {
        if (*byte != 0xFF) {  // entropy-coded data, or a stray byte: on to the next marker
            byte = walk.Next();
            continue;
        }
        std::optional<std::uint8_t> marker = walk.Next();
        while (marker == 0xFF) {  // fill bytes
            marker = walk.Next();
        }
        if (!marker || *marker == JPEG_EOI) {
            break;
        }
        const bool standalone = *marker == 0x00 || *marker == 0x01 || (*marker >= 0xD0 && *marker <= 0xD7);
        if (!standalone) {
            const std::optional<std::uint8_t> high = walk.Next();
            const std::optional<std::uint8_t> low = walk.Next();
            if (!high || !low || ((*high << 8) | *low) < 2) {
                break;
            }
            scans += *marker == 0xDA ? 1 : 0;
            walk.Skip(static_cast<std::uint64_t>((*high << 8) | *low) - 2);
        }
        byte = walk.Next();
    }
    return scans;
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
