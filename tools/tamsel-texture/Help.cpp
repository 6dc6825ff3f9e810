#include "Help.h"

namespace tamsel::tool {

const std::string_view kInfoHelp = R"(tamsel-texture info [--json] [-r] FILE|FOLDER...

  Tells what the headers of each texture file say: the container (bare, MIP or SRB), the pixel
  format (5:6:5, 1:5:5:5, 4:4:4:4, 4-bit paletted, or unknown code N, which shows black), the canvas
  width x height, the image header's pitch, where the palette comes from (own PAMC chunk, own chunk
  after the header, or none), the result value and the file's size in bytes. Only the headers are
  read. A file the viewer would refuse is named on the standard error with the reason: "Not a valid
  texture file" and why (such as "the data ends at byte 30 of 40"), "cannot open: ...", "not a
  regular file".

  A FILE is read whatever its name. A FOLDER gives its files whose names end in pbf, srb or mip, each
  all in lower or all in upper case (the last three characters, no dot needed), in byte order of
  their names; other files are passed over.

  --json           one JSON object a line for each file, for scripts, with the members file,
                   container, format, mipFormat, imageFormat (the header codes), width, height,
                   pitch, palette, result and size; or file and error for a refused one, and
                   reason, why the reader refused it, for a texture file. Names that are not UTF-8
                   carry U+FFFD where their bytes are not.
  -r, --recursive  also the folders below each FOLDER (links to folders are not followed)
)";

const std::string_view kConvertHelp =
    R"(tamsel-texture convert [--to png|ppm|bmp] [-o DIR] [--palette-from TEXTURE] [-j N] [--force]
                       [-r] FILE|FOLDER...

  Writes the canvas of each texture file as a picture, pixel for pixel as the viewer shows it: a PNG
  unless --to says otherwise, next to the texture under the same name with the picture's extension
  (a.mip gives a.png), and says "FILE -> PICTURE" for each. Files and folders are taken as by info.
  An existing picture is kept unless --force is given. Each picture is written to a new file in its
  folder first and renamed over its name only once complete, so a failed write leaves what was there;
  stopped by Ctrl+C or a SIGTERM or SIGHUP, it removes the new files it was writing.

  A 4-bit texture without a palette of its own shows black, as in a viewer that has just started, or
  the colours of --palette-from.

  --to FORMAT           png (the default), ppm (binary P6) or bmp. A canvas without pixels (a
                        width or height of 0) can be written as a PPM only.
  -o, --output DIR      write the pictures into DIR (made when missing) instead of next to each
                        texture; the files of a FOLDER keep their paths below it. With -o - and
                        exactly one FILE the picture goes to the standard output.
  --palette-from TEXTURE
                        read TEXTURE first, which must be a valid texture with its own palette, and
                        give its palette to every texture that has none
  -j, --jobs N          convert N files at a time (the default: one for each processor core); what is
                        said about each file comes in the order of the files all the same
  -f, --force           replace existing pictures
  -r, --recursive       also the folders below each FOLDER
)";

const std::string_view kThumbnailHelp = R"(tamsel-texture thumbnail [-s SIZE] INPUT OUTPUT

  Writes a PNG thumbnail of the texture file INPUT to OUTPUT, for a file manager: the canvas shrunk
  smoothly to at most SIZE pixels on its longer side (256 unless given), its proportions kept, never
  enlarged. A canvas larger than that is painted a part at a time straight into the smaller picture,
  so a small file that claims a large canvas costs little time and memory. A 4-bit texture without a
  palette of its own shows black. Nothing is written for a file the viewer would refuse or a canvas
  without pixels.

  A missing or empty OUTPUT is written into itself, as thumbnail services hand it over (a failed
  write leaves it missing or empty again); any other is replaced as a whole once the thumbnail is
  complete. A link, a FIFO or a device is never written through.

  -s, --size SIZE  the longest side of the thumbnail in pixels, 1 to 16384
)";

const std::string_view kExitStatusHelp = R"(
Exit status:
  0  every file went well
  1  some file was refused, could not be read or could not be written (each is named on the standard
     error with the reason; the other files are still done)
  2  bad usage: an unknown command or option, a bad value, a missing operand, or a --palette-from
     file that cannot serve (nothing is done then)
)";

const std::string_view kProgramHelp =
    R"(Usage: tamsel-texture info [--json] [-r] FILE|FOLDER...
  or:  tamsel-texture convert [--to png|ppm|bmp] [-o DIR] [--palette-from TEXTURE] [-j N] [--force] [-r] FILE|FOLDER...
  or:  tamsel-texture thumbnail [-s SIZE] INPUT OUTPUT
  or:  tamsel-texture [COMMAND] --help | --version

The racing simulation's texture files (.mip, .srb, .pbf) on the command line.

Every command reads a texture as the viewer does, with the same limits: a file whose numbers reach
past its end, that needs a canvas of more than 8192 x 8192 pixels or a side longer than 16777215,
or that is no regular file is refused, and files are decoded within a budget of 1 GiB of memory.

Commands:

)";

}  // namespace tamsel::tool
