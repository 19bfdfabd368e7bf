#pragma once
// PNG files of bitmaps through cairo.
#include "platform/core/Types.h"

namespace qz {

class TBitmap;

// Writes the bitmap as a PNG file; raises EInvalidGraphic when the file cannot be written.
void SaveBitmapToPng(const TBitmap& bitmap, const AnsiString& fileName);
// Reads a PNG file into the bitmap (opaque pixels); raises EInvalidGraphic when it cannot be read.
void LoadBitmapFromPng(TBitmap& bitmap, const AnsiString& fileName);

} // namespace qz
