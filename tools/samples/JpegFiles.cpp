#include "samples/JpegFiles.h"

#include <cstdio>
#include <cstdlib>
#include <vector>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace tamsel::samples {

namespace {

// The scans of a grey progression in `count` scans: the DC coefficients, then each AC coefficient
// alone, its first scan leaving out its lowest bits and each scan after it adding one.
std::vector<jpeg_scan_info> ManyScans(int count) {
    std::vector<jpeg_scan_info> scans{{1, {0}, 0, 0, 0, 0}};
    const int steps = (count - 1) / 63;
    const int longer = (count - 1) % 63;  // the first coefficients take a step more
    for (int coefficient = 1; coefficient <= 63; ++coefficient) {
        const int own = steps + (coefficient <= longer ? 1 : 0);
        scans.push_back({1, {0}, coefficient, coefficient, 0, own - 1});
        for (int bit = own - 1; bit > 0; --bit) {
            scans.push_back({1, {0}, coefficient, coefficient, bit, bit - 1});
        }
    }
    return scans;
}

// A picture with detail in every block: gradients, and bands of a pattern across them.
QImage Detailed(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int pattern = ((x * 7 + y * 13) ^ (x * y)) & 63;
            image.setPixel(x, y,
                           qRgb((x * 255 / width + pattern) & 255, (y * 255 / height) ^ pattern,
                                (x + y + 3 * pattern) & 255));
        }
    }
    return image;
}

// The place of the `n`th restart marker (from 1) after the first scan starts.
qsizetype RestartMarker(const QByteArray& jpeg, int n) {
    qsizetype at = jpeg.indexOf("\xFF\xDA");
    while (n > 0 && (at = jpeg.indexOf('\xFF', at + 1)) >= 0) {
        const auto marker = static_cast<unsigned char>(jpeg[at + 1]);
        n -= marker >= 0xD0 && marker <= 0xD7 ? 1 : 0;
    }
    return at;
}

}  // namespace

QByteArray EncodeJpeg(const QImage& image, const JpegLayout& layout) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);  // an error ends the test program with the library's message
    jpeg_create_compress(&info);
    unsigned char* written = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &written, &size);
    const bool grey = image.format() == QImage::Format_Grayscale8;
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    info.input_components = grey ? 1 : layout.cmyk ? 4 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : layout.cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, layout.quality, TRUE);
    info.comp_info[0].h_samp_factor = layout.lumaH;
    info.comp_info[0].v_samp_factor = layout.lumaV;
    info.arith_code = layout.arithmetic ? TRUE : FALSE;
    info.optimize_coding = layout.optimize ? TRUE : FALSE;
    info.restart_in_rows = layout.restartRows;
    if (layout.progressive) {
        jpeg_simple_progression(&info);
    }
    const std::vector<jpeg_scan_info> scans =
        layout.scans > 0 ? ManyScans(layout.scans) : std::vector<jpeg_scan_info>{};
    if (!scans.empty()) {
        info.scan_info = scans.data();
        info.num_scans = static_cast<int>(scans.size());
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(image.width()) *
                             static_cast<std::size_t>(info.input_components));
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < image.width(); ++x) {
            JSAMPLE* out =
                row.data() + static_cast<std::size_t>(x) * static_cast<std::size_t>(info.input_components);
            const QRgb pixel = image.pixel(x, y);
            if (grey) {
                out[0] = static_cast<JSAMPLE>(qGray(pixel));
                continue;
            }
            out[0] = static_cast<JSAMPLE>(qRed(pixel));
            out[1] = static_cast<JSAMPLE>(qGreen(pixel));
            out[2] = static_cast<JSAMPLE>(qBlue(pixel));
            if (layout.cmyk) {
                out[3] = static_cast<JSAMPLE>(255 - (x + y) % 96);
            }
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(written), static_cast<qsizetype>(size));
    std::free(written);
    return bytes;
}

QByteArray ClaimingSize(QByteArray jpeg, quint16 width, quint16 height) {
    for (qsizetype at = 2; at + 9 < jpeg.size(); ++at) {
        const auto marker = static_cast<unsigned char>(jpeg[at + 1]);
        if (jpeg[at] == '\xFF' && (marker == 0xC0 || marker == 0xC2)) {
            // A frame header: its length and precision, then the height and the width, high byte first.
            const char size[] = {char(height >> 8), char(height & 0xFF), char(width >> 8),
                                 char(width & 0xFF)};
            return jpeg.replace(at + 5, 4, size, 4);
        }
    }
    return {};
}

QByteArray HugeClaimJpeg() {
    JpegLayout layout;
    layout.optimize = true;
    QImage solid(16, 16, QImage::Format_RGB32);
    solid.fill(qRgb(40, 120, 200));
    const QByteArray jpeg = EncodeJpeg(solid, layout);
    // A comment of one character after the JFIF segment, as some encoders leave one.
    const qsizetype jfifEnd =
        4 + ((static_cast<unsigned char>(jpeg[4]) << 8) | static_cast<unsigned char>(jpeg[5]));
    return ClaimingSize(jpeg.left(jfifEnd) + QByteArray("\xFF\xFE\x00\x03!", 5) + jpeg.mid(jfifEnd), 65'500,
                        65'500);
}

QByteArray CutJpeg() {
    return EncodeJpeg(Detailed(320, 240)).first(2000);
}

QByteArray CorruptJpeg() {
    JpegLayout layout;
    layout.restartRows = 1;
    QByteArray jpeg = EncodeJpeg(Detailed(320, 240), layout);
    jpeg[RestartMarker(jpeg, 4) + 1] = '\xD4';
    return jpeg;
}

}  // namespace tamsel::samples
