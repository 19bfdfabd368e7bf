#include "platform/gfx/Bitmap.h"
#include "platform/gfx/PixelCanvas.h"
#include <cstring>
#include <fstream>
#include <iterator>

namespace qz {

namespace {

TBitmap::CanvasFactory& Factory() {
    static TBitmap::CanvasFactory factory;
    return factory;
}

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kBlack = 0xFF000000u;

// Little-endian reader over the file bytes; every read is bounds-checked.
class Reader {
public:
    Reader(const Byte* data, std::size_t size) : data_(data), size_(size) {}
    std::uint32_t U8(std::size_t at) const { return Need(at, 1), data_[at]; }
    std::uint32_t U16(std::size_t at) const { return Need(at, 2), data_[at] | (data_[at + 1] << 8); }
    std::uint32_t U32(std::size_t at) const {
        Need(at, 4);
        return data_[at] | (data_[at + 1] << 8) | (data_[at + 2] << 16) |
               (static_cast<std::uint32_t>(data_[at + 3]) << 24);
    }
    std::int32_t S32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
    void Need(std::size_t at, std::size_t n) const {
        if (at > size_ || n > size_ - at) throw EInvalidGraphic("Bitmap image is not valid");
    }

private:
    const Byte* data_;
    std::size_t size_;
};

// Value of a channel selected by a bit mask, scaled to 0..255.
unsigned Channel(std::uint32_t value, std::uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!(mask & 1u)) {
        mask >>= 1;
        ++shift;
    }
    unsigned v = (value >> shift) & mask;
    return mask == 0xFF ? v : static_cast<unsigned>((v * 255u + mask / 2) / mask);
}

void Put32(std::vector<Byte>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<Byte>(v >> (8 * i)));
}
void Put16(std::vector<Byte>& out, std::uint32_t v) {
    out.push_back(static_cast<Byte>(v));
    out.push_back(static_cast<Byte>(v >> 8));
}

} // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) {
    SetSize(width, height);
}

TBitmap::TBitmap(const TBitmap& other) : TGraphicsObject() {
    CopyFrom(other);
}

TBitmap& TBitmap::operator=(const TBitmap& other) {
    if (&other != this) Assign(other);
    return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::CopyFrom(const TBitmap& o) {
    width_ = o.width_;
    height_ = o.height_;
    pixels_ = o.pixels_;
    transparent_ = o.transparent_;
    transparentColor_ = o.transparentColor_;
    transparentMode_ = o.transparentMode_;
    pixelFormat_ = o.pixelFormat_;
}

void TBitmap::Assign(const TBitmap& source) {
    if (&source == this) return;
    CopyFrom(source);
    Changed();
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, kWhite);
    for (int y = 0; y < std::min(height, height_); ++y)
        std::memcpy(&pixels[static_cast<std::size_t>(y) * width], ScanLine(y),
                    sizeof(std::uint32_t) * std::min(width, width_));
    pixels_.swap(pixels);
    width_ = width;
    height_ = height;
    Changed();
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_) canvas_ = Factory() ? Factory()(*this) : std::make_unique<TPixelCanvas>(*this);
    return *canvas_;
}

TBitmap::CanvasFactory TBitmap::SetCanvasFactory(CanvasFactory factory) {
    CanvasFactory previous = std::move(Factory());
    Factory() = std::move(factory);
    return previous;
}

TColor TBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
    return RGBFromPixel(ScanLine(y)[x]);
}

void TBitmap::SetPixel(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    ScanLine(y)[x] = PixelFromRGB(ColorToRGB(color));
    Modified();
}

void TBitmap::Fill(TColor color) {
    std::fill(pixels_.begin(), pixels_.end(), PixelFromRGB(ColorToRGB(color)));
    Modified();
}

void TBitmap::SetTransparent(bool value) {
    if (value == transparent_) return;
    transparent_ = value;
    Changed();
}

TColor TBitmap::TransparentColor() const {
    if (transparentMode_ == tmFixed && transparentColor_ != clDefault) return ColorToRGB(transparentColor_);
    return Empty() ? clDefault : Pixel(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor value) {
    transparentColor_ = value;
    transparentMode_ = value == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
    if (value == transparentMode_) return;
    transparentMode_ = value;
    if (value == tmAuto)
        transparentColor_ = clDefault;
    else
        transparentColor_ = TransparentColor();
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
    if (value == pixelFormat_) return;
    pixelFormat_ = value;
    if (value == pf1bit) ReduceToMonochrome();
    Changed();
}

void TBitmap::SetMonochrome(bool value) {
    if (value == Monochrome()) return;
    SetPixelFormat(value ? pf1bit : pfDevice);
}

void TBitmap::ReduceToMonochrome() {
    for (std::uint32_t& p : pixels_) p = (p | 0xFF000000u) == kWhite ? kWhite : kBlack;
}

void TBitmap::Mask(TColor transparentColor) {
    std::uint32_t key = PixelFromRGB(ColorToRGB(transparentColor));
    for (std::uint32_t& p : pixels_) p = (p | 0xFF000000u) == key ? kWhite : kBlack;
    pixelFormat_ = pf1bit;
    Changed();
}

void TBitmap::Modified() {
    if (Monochrome()) ReduceToMonochrome();
    Changed();
}

void TBitmap::LoadFromFile(const AnsiString& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw EInOutError("Cannot open file \"" + fileName + "\"");
    std::vector<Byte> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LoadFromMemory(data.data(), data.size());
}

void TBitmap::LoadFromMemory(const void* bytes, std::size_t size) {
    const Byte* data = static_cast<const Byte*>(bytes);
    Reader r(data, size);
    if (r.U16(0) != 0x4D42) throw EInvalidGraphic("Bitmap image is not valid");
    const std::size_t offBits = r.U32(10);
    const std::size_t info = 14;
    const std::uint32_t infoSize = r.U32(info);
    long long width, height;
    unsigned bpp, compression = 0, colorsUsed = 0;
    std::size_t paletteAt;
    int paletteEntry = 4;
    std::uint32_t masks[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    if (infoSize == 12) { // the old core header
        width = r.U16(info + 4);
        height = static_cast<std::int16_t>(r.U16(info + 6));
        bpp = r.U16(info + 10);
        paletteAt = info + 12;
        paletteEntry = 3;
    } else if (infoSize >= 40) {
        width = r.S32(info + 4);
        height = r.S32(info + 8);
        bpp = r.U16(info + 14);
        compression = r.U32(info + 16);
        colorsUsed = r.U32(info + 32);
        paletteAt = info + infoSize;
        if (compression == 3) { // bit fields: in the header from version 4 on, else after it
            std::size_t at = infoSize >= 52 ? info + 40 : info + infoSize;
            for (int i = 0; i < 3; ++i) masks[i] = r.U32(at + 4 * i);
            if (infoSize < 52) paletteAt += 12;
        } else if (bpp == 16) {
            masks[0] = 0x7C00;
            masks[1] = 0x03E0;
            masks[2] = 0x001F;
        }
    } else {
        throw EInvalidGraphic("Bitmap image is not valid");
    }
    if (compression != 0 && !(compression == 3 && (bpp == 16 || bpp == 32)))
        throw EInvalidGraphic("Compressed bitmaps are not supported");
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        throw EInvalidGraphic("Bitmap image is not valid");
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width > 32768 || height > 32768)
        throw EInvalidGraphic("Bitmap image is not valid");

    std::vector<std::uint32_t> palette;
    if (bpp <= 8) {
        unsigned n = colorsUsed ? colorsUsed : (1u << bpp);
        if (n > 256) throw EInvalidGraphic("Bitmap image is not valid");
        for (unsigned i = 0; i < n; ++i) {
            std::size_t at = paletteAt + static_cast<std::size_t>(i) * paletteEntry;
            palette.push_back(0xFF000000u | (r.U8(at + 2) << 16) | (r.U8(at + 1) << 8) | r.U8(at));
        }
    }
    const std::size_t rowBytes = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
    r.Need(offBits, rowBytes * static_cast<std::size_t>(height));

    const int w = static_cast<int>(width), h = static_cast<int>(height);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
    for (int row = 0; row < h; ++row) {
        const Byte* src = data + offBits + rowBytes * row;
        std::uint32_t* dst = &pixels[static_cast<std::size_t>(topDown ? row : h - 1 - row) * w];
        for (int x = 0; x < w; ++x) {
            std::uint32_t px;
            switch (bpp) {
            case 1:
            case 4:
            case 8: {
                unsigned bitPos = static_cast<unsigned>(x) * bpp;
                unsigned byte = src[bitPos / 8];
                unsigned index = (byte >> (8 - bpp - bitPos % 8)) & ((1u << bpp) - 1);
                if (index >= palette.size()) throw EInvalidGraphic("Bitmap image is not valid");
                px = palette[index];
                break;
            }
            case 16: {
                std::uint32_t v = src[2 * x] | (src[2 * x + 1] << 8);
                px = 0xFF000000u | (Channel(v, masks[0]) << 16) | (Channel(v, masks[1]) << 8) |
                     Channel(v, masks[2]);
                break;
            }
            case 24: px = 0xFF000000u | (src[3 * x + 2] << 16) | (src[3 * x + 1] << 8) | src[3 * x]; break;
            default: {
                std::uint32_t v = src[4 * x] | (src[4 * x + 1] << 8) | (src[4 * x + 2] << 16) |
                                  (static_cast<std::uint32_t>(src[4 * x + 3]) << 24);
                px = 0xFF000000u | (Channel(v, masks[0]) << 16) | (Channel(v, masks[1]) << 8) |
                     Channel(v, masks[2]);
                break;
            }
            }
            dst[x] = px;
        }
    }
    pixels_.swap(pixels);
    width_ = w;
    height_ = h;
    switch (bpp) {
    case 1:
        pixelFormat_ =
            (palette.size() == 2 && palette[0] == kBlack && palette[1] == kWhite) ? pf1bit : pfCustom;
        break;
    case 4: pixelFormat_ = pf4bit; break;
    case 8: pixelFormat_ = pf8bit; break;
    case 16: pixelFormat_ = pf16bit; break;
    case 24: pixelFormat_ = pf24bit; break;
    default: pixelFormat_ = pf32bit; break;
    }
    Changed();
}

std::vector<Byte> TBitmap::SaveToMemory() const {
    const std::size_t rowBytes = ((static_cast<std::size_t>(width_) * 24 + 31) / 32) * 4;
    const std::size_t imageSize = rowBytes * height_;
    std::vector<Byte> out;
    out.reserve(54 + imageSize);
    Put16(out, 0x4D42);
    Put32(out, static_cast<std::uint32_t>(54 + imageSize));
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width_));
    Put32(out, static_cast<std::uint32_t>(height_));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(imageSize));
    Put32(out, 3780); // 96 dots per inch
    Put32(out, 3780);
    Put32(out, 0);
    Put32(out, 0);
    for (int row = height_ - 1; row >= 0; --row) {
        const std::uint32_t* src = ScanLine(row);
        std::size_t start = out.size();
        for (int x = 0; x < width_; ++x) {
            out.push_back(static_cast<Byte>(src[x]));
            out.push_back(static_cast<Byte>(src[x] >> 8));
            out.push_back(static_cast<Byte>(src[x] >> 16));
        }
        out.resize(start + rowBytes, 0);
    }
    return out;
}

void TBitmap::SaveToFile(const AnsiString& fileName) const {
    std::vector<Byte> data = SaveToMemory();
    std::ofstream out(fileName, std::ios::binary);
    if (!out) throw EInOutError("Cannot create file \"" + fileName + "\"");
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!out) throw EInOutError("Cannot write file \"" + fileName + "\"");
}

TPicture::TPicture() {
    bitmap_.OnChange = [this](TObject*) { Changed(); };
}

} // namespace qz
