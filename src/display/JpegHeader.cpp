#include "display/JpegHeader.h"

#include <algorithm>
#include <array>
#include <memory>
#include <span>

#include "display/JpegSession.h"

namespace tamsel::display {

namespace {

std::uint64_t RoundUp(std::uint64_t value, std::uint64_t step) {
    return (value + step - 1) / step * step;
}

std::uint64_t CeilDiv(std::uint64_t value, std::uint64_t step) {
    return (value + step - 1) / step;
}

// The blocks a component of sampling factor `factor` (of the largest, `most`) has across a side of
// `side` pixels.
std::uint64_t BlocksAcross(std::int64_t side, int factor, int most) {
    return CeilDiv(static_cast<std::uint64_t>(side) * static_cast<std::uint64_t>(factor),
                   8 * static_cast<std::uint64_t>(most));
}

// The orientation that Exif data in an APP1 segment gives ("Exif", two zeros, then a TIFF structure):
// the first orientation entry found in its directories, followed forwards from the first; 1 when there
// is none, or it is not a single short from 1 to 8, or the structure breaks off first.
int ExifOrientation(std::span<const std::uint8_t> app1) {
    constexpr std::array<std::uint8_t, 6> kExif{'E', 'x', 'i', 'f', 0, 0};
    if (app1.size() < kExif.size() || !std::equal(kExif.begin(), kExif.end(), app1.begin())) {
        return 1;
    }
    const std::span<const std::uint8_t> tiff = app1.subspan(kExif.size());
    const bool little = tiff.size() >= 2 && tiff[0] == 'I' && tiff[1] == 'I';
    const bool big = tiff.size() >= 2 && tiff[0] == 'M' && tiff[1] == 'M';
    // The number of `bytes` bytes at `offset`, in the structure's byte order.
    const auto at = [&](std::uint64_t offset, std::size_t bytes) -> std::optional<std::uint32_t> {
        if (offset > tiff.size() || tiff.size() - offset < bytes) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            value = value << 8 | tiff[static_cast<std::size_t>(offset) + (little ? bytes - 1 - i : i)];
        }
        return value;
    };
    if ((!little && !big) || at(2, 2) != 42U) {
        return 1;
    }
    constexpr int kMostDirectories = 10;
    std::uint64_t position = 8;  // the end of what was read: a directory never lies before it
    std::optional<std::uint32_t> next = at(4, 4);
    for (int n = 0; n < kMostDirectories && next && *next != 0; ++n) {
        const std::uint64_t directory = *next;
        const std::optional<std::uint32_t> entries = at(directory, 2);
        if (directory < position || !entries) {
            return 1;
        }
        for (std::uint64_t entry = directory + 2; entry < directory + 2 + 12ULL * *entries; entry += 12) {
            const std::optional<std::uint32_t> tag = at(entry, 2);
            const std::optional<std::uint32_t> value = at(entry + 8, 2);
            if (!tag || !at(entry + 8, 4)) {
                return 1;
            }
            if (*tag == 0x0112) {
                const bool single = at(entry + 2, 2) == 3U && at(entry + 4, 4) == 1U;
                return single && *value >= 1 && *value <= 8 ? static_cast<int>(*value) : 1;
            }
        }
        position = directory + 2 + 12ULL * *entries + 4;
        next = at(position - 4, 4);
    }
    return 1;
}

// Reads the header into `header`; false on any error or refusing warning. Holds nothing with a
// destructor, since those leave the library by a jump.
bool ReadInto(jpeg::Session& session, const jpeg::FirstApp1& app1, JpegHeader& header) {
    if (setjmp(session.exit) != 0) {
        return false;
    }
    if (!jpeg::ReadHeader(session)) {
        return false;
    }
    const jpeg_decompress_struct& info = session.info;
    if (info.progressive_mode && (info.Ss != 0 || info.Ah != 0)) {
        return false;
    }
    header.width = info.image_width;
    header.height = info.image_height;
    header.components = info.num_components;
    header.multipleScans = jpeg_has_multiple_scans(&session.info) != 0;
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& component = info.comp_info[c];
        // Blocks of 8 x 8 of the component's own resolution, padded to whole units of its sampling.
        const std::uint64_t columns =
            RoundUp(BlocksAcross(header.width, component.h_samp_factor, info.max_h_samp_factor),
                    static_cast<std::uint64_t>(component.h_samp_factor));
        const std::uint64_t rows =
            RoundUp(BlocksAcross(header.height, component.v_samp_factor, info.max_v_samp_factor),
                    static_cast<std::uint64_t>(component.v_samp_factor));
        header.coefficientBytes += columns * rows * DCTSIZE2 * sizeof(JCOEF);
    }
    if (info.comps_in_scan == 1) {
        // One component alone: its blocks, each a unit of its own.
        const jpeg_component_info& component = *info.cur_comp_info[0];
        header.firstScanBlocks = BlocksAcross(header.width, component.h_samp_factor, info.max_h_samp_factor) *
                                 BlocksAcross(header.height, component.v_samp_factor, info.max_v_samp_factor);
    } else {
        // Interleaved: whole units over the picture, each with every component's blocks of it.
        std::uint64_t perUnit = 0;
        for (int c = 0; c < info.comps_in_scan; ++c) {
            perUnit += static_cast<std::uint64_t>(info.cur_comp_info[c]->h_samp_factor) *
                       static_cast<std::uint64_t>(info.cur_comp_info[c]->v_samp_factor);
        }
        header.firstScanBlocks = BlocksAcross(header.width, 1, info.max_h_samp_factor) *
                                 BlocksAcross(header.height, 1, info.max_v_samp_factor) * perUnit;
    }
    header.firstScanData = jpeg::Position(session);
    header.orientation = ExifOrientation(std::span(app1.bytes).first(app1.size));
    return true;
}

}  // namespace

std::optional<JpegHeader> ReadJpegHeader(texture::ByteSource& file) {
    const auto session = std::make_unique<jpeg::Session>();
    const auto app1 = std::make_unique<jpeg::FirstApp1>();
    jpeg::Attach(*session, file, nullptr, app1.get());
    JpegHeader header;
    const bool read = ReadInto(*session, *app1, header);
    jpeg_destroy_decompress(&session->info);
    if (!read || header.width <= 0 || header.height <= 0) {
        return std::nullopt;
    }
    return header;
}

namespace {

// Reads a file a byte at a time from `start`, through a buffer.
class ByteWalk {
public:
    ByteWalk(texture::ByteSource& file, std::uint64_t start) : file_(file), offset_(start) {}
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
    std::uint64_t offset_;
    std::size_t at_ = 0;
    std::size_t end_ = 0;
};

}  // namespace

bool FirstScanHoldsItsBlocks(texture::ByteSource& file, const JpegHeader& header) {
    const std::uint64_t needed = CeilDiv(header.firstScanBlocks, 8);
    ByteWalk walk(file, header.firstScanData);
    std::uint64_t bytes = 0;
    std::optional<std::uint8_t> byte = walk.Next();
    while (byte && bytes < needed) {
        if (*byte == 0xFF) {
            std::optional<std::uint8_t> marker = walk.Next();
            while (marker == 0xFF) {  // fill bytes
                marker = walk.Next();
            }
            if (!marker || (*marker != 0x00 && (*marker < 0xD0 || *marker > 0xD7))) {
                break;  // the end of the scan's data
            }
            bytes += *marker == 0x00 ? 1 : 0;  // a stuffed 0xFF is data; a restart marker is not
        } else {
            ++bytes;
        }
        byte = walk.Next();
    }
    return bytes >= needed;
}

int CountScans(texture::ByteSource& file, int most) {
    ByteWalk walk(file, 0);
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
