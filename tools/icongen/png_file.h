#pragma once
// PNG images for ICO files: 8-bit RGBA, compressed with a small deflate of our own, so the icon
// files are the same bytes on every machine that runs the generator.

#include "tools/icongen/clock_face.h"
#include "tools/icongen/ico_file.h"

namespace talvessa::icongen {

// A zlib stream of `data`: LZ77 matches over a 32 KB window, fixed Huffman codes.
Bytes zlibCompress(const Bytes& data);

// The picture as a PNG file: colour type 6 (RGBA), 8 bits, every row with filter 1 (Sub).
Bytes encodePng(const Picture& picture);

// An icon image whose data is the PNG file (ICO files may hold PNG images since Windows Vista).
IconImage encodePngImage(const Picture& picture);

}  // namespace talvessa::icongen
