#include "display/JpegDecode.h"

#include <bit>
#include <memory>

#include "display/JpegSession.h"

namespace tamsel::display {

namespace {

// Reads the header and sets the decode up: the scale, and the colour model the rows come in. False
// on any error or refusing warning, or for a colour model the viewer does not show. Holds nothing with
// a destructor, since those leave the library by a jump.
bool Start(jpeg::Session& session, int divisor) {
    if (setjmp(session.exit) != 0) {
        return false;
    }
    if (!jpeg::ReadHeader(session)) {
        return false;
    }
    jpeg_decompress_struct& info = session.info;
    info.scale_num = 1;
    info.scale_denom = static_cast<unsigned>(divisor);
    switch (info.jpeg_color_space) {
        case JCS_GRAYSCALE:
            info.out_color_space = JCS_GRAYSCALE;
            break;
        case JCS_YCbCr:
        case JCS_RGB:
            // Each pixel as the 32-bit value 0xFFRRGGBB, in the machine's byte order.
            info.out_color_space = std::endian::native == std::endian::little ? JCS_EXT_BGRX : JCS_EXT_XRGB;
            break;
        case JCS_CMYK:
        case JCS_YCCK:
            info.out_color_space = JCS_CMYK;
            break;
        default:
            return false;
    }
    jpeg_calc_output_dimensions(&info);
    return true;
}

// Decodes the rows into the picture at `bits`, `bytesPerLine` apart, through a row of the library's
// own for CMYK: each channel is taken as the light its ink lets through (inverted, as Adobe writes
// CMYK), scaled by that of black. False on any error, refusing warning or request to stop. Holds
// nothing with a destructor, since those leave the library by a jump.
bool ReadRows(jpeg::Session& session, uchar* bits, qsizetype bytesPerLine) {
    if (setjmp(session.exit) != 0) {
        return false;
    }
    jpeg_decompress_struct& info = session.info;
    const bool cmyk = info.out_color_space == JCS_CMYK;
    JSAMPROW ink = cmyk ? (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                    info.output_width * 4, 1)[0]
                        : nullptr;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        uchar* row = bits + static_cast<qsizetype>(info.output_scanline) * bytesPerLine;
        JSAMPROW target = cmyk ? ink : row;
        jpeg_read_scanlines(&info, &target, 1);
        auto* pixel = reinterpret_cast<QRgb*>(row);
        for (JDIMENSION x = 0; cmyk && x < info.output_width; ++x) {
            const JSAMPLE* in = ink + 4 * x;
            pixel[x] = qRgb(in[3] * in[0] / 255, in[3] * in[1] / 255, in[3] * in[2] / 255);
        }
    }
    // What follows the last row, up to the end marker, is read too: a file cut anywhere is refused.
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

std::optional<QImage> DecodeJpeg(texture::ByteSource& file, int divisor,
                                 const std::function<bool()>& shouldStop) {
    const auto session = std::make_unique<jpeg::Session>();
    jpeg::Attach(*session, file, shouldStop ? &shouldStop : nullptr);
    std::optional<QImage> decoded;
    if (Start(*session, divisor)) {
        const jpeg_decompress_struct& info = session->info;
        QImage image(
            static_cast<int>(info.output_width), static_cast<int>(info.output_height),
            info.out_color_space == JCS_GRAYSCALE ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
        if (!image.isNull() && ReadRows(*session, image.bits(), image.bytesPerLine())) {
            decoded = std::move(image);
        }
    }
    jpeg_destroy_decompress(&session->info);
    return decoded;
}

}  // namespace tamsel::display
