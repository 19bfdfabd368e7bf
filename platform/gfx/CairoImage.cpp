#include "platform/gfx/CairoImage.h"
#include "platform/gfx/Bitmap.h"
#include <cairo.h>
#include <cstring>

namespace qz {

void SaveBitmapToPng(const TBitmap& bitmap, const AnsiString& fileName) {
    if (bitmap.Empty()) throw EInvalidGraphic("Cannot save an empty picture to " + fileName);
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, bitmap.Width(), bitmap.Height());
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < bitmap.Height(); ++y)
        std::memcpy(data + static_cast<std::size_t>(y) * stride, bitmap.ScanLine(y), bitmap.Stride());
    cairo_surface_mark_dirty(surface);
    cairo_status_t status = cairo_surface_write_to_png(surface, fileName.c_str());
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS)
        throw EInvalidGraphic("Cannot write " + fileName + ": " + cairo_status_to_string(status));
}

void LoadBitmapFromPng(TBitmap& bitmap, const AnsiString& fileName) {
    cairo_surface_t* png = cairo_image_surface_create_from_png(fileName.c_str());
    cairo_status_t status = cairo_surface_status(png);
    if (status != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(png);
        throw EInvalidGraphic("Cannot read " + fileName + ": " + cairo_status_to_string(status));
    }
    int w = cairo_image_surface_get_width(png), h = cairo_image_surface_get_height(png);
    // Composed over white into an opaque surface, whatever the file's format.
    cairo_surface_t* flat = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_t* cr = cairo_create(flat);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_surface(cr, png, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(flat);
    bitmap.SetSize(w, h);
    const unsigned char* data = cairo_image_surface_get_data(flat);
    int stride = cairo_image_surface_get_stride(flat);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < w; ++x) bitmap.ScanLine(y)[x] = 0xFF000000u | row[x];
    }
    cairo_surface_destroy(flat);
    cairo_surface_destroy(png);
    bitmap.Modified();
}

} // namespace qz
