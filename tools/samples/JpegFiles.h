#pragma once

#include <QByteArray>
#include <QImage>

// JPEGs written with the JPEG library in the layouts Qt's writer does not write, and the hostile JPEGs
// that the tests of every tier and the benchmark share.
namespace tamsel::samples {

struct JpegLayout {
    int lumaH = 2;  // the first component's sampling factors: 2 x 2 is 4:2:0, 2 x 1 4:2:2, 1 x 1 4:4:4
    int lumaV = 2;
    bool progressive = false;  // the library's own progression of ten scans (six for grey)
    // When positive, a grey picture in exactly this many scans (64 to 883): the DC coefficients in one,
    // then each AC coefficient alone, refined bit by bit over as many scans as it takes.
    int scans = 0;
    bool arithmetic = false;  // arithmetic coding instead of Huffman codes
    bool optimize = false;    // Huffman tables made for the picture
    int restartRows = 0;      // a restart marker after every this many rows of blocks
    bool cmyk = false;        // four components, inverted as Adobe writes CMYK (red, green and blue as
                              // cyan, magenta and yellow, and a black of its own)
    int quality = 75;
};

// `image` (32-bit RGB; 8-bit grey for a grey JPEG) written as a JPEG of `layout`.
QByteArray EncodeJpeg(const QImage& image, const JpegLayout& layout = {});

// `jpeg` with the width and height of its frame header replaced: a small file that claims a large picture.
QByteArray ClaimingSize(QByteArray jpeg, quint16 width, quint16 height);

// A baseline colour JPEG of 291 bytes whose header claims 65500 x 65500 pixels: a 16 x 16 picture in
// one colour with Huffman tables made for it, and a comment of one character.
QByteArray HugeClaimJpeg();

// The first 2,000 bytes of a good baseline JPEG of 320 x 240: the file ends in its data.
QByteArray CutJpeg();

// A good baseline JPEG of 320 x 240 with a restart marker after each row of blocks, where the fourth
// restart marker bears the number of the fifth: the decoder must resynchronise.
QByteArray CorruptJpeg();

}  // namespace tamsel::samples
