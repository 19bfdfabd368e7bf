#include "platform/gfx/CairoText.h"
#include "platform/core/CodePages.h"
#include "platform/gfx/Bitmap.h"
#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstdlib>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>
#include <sys/stat.h>

namespace qz {

namespace {

const char kBuiltinFontConfig[] =
#include "qz-fonts.conf.inc"
    ;

bool FileExists(const char* path) {
    struct stat st;
    return stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

// Pixel size of the characters: a negative height is the character height, a positive one the cell.
int CharacterPixels(const TFont& font) {
    int h = font.Height();
    if (h < 0) return -h;
    if (h > 0) return std::max(1, static_cast<int>(std::lround(h * 0.8)));
    return 11;
}

AnsiString DecodeName(const TFont& font) {
    const AnsiString& name = font.Name();
    AnsiString out;
    if (TryConvertCodePage(name, font.CodePage(), CP_UTF8, out)) return out;
    if (TryConvertCodePage(name, CP_GB, CP_UTF8, out)) return out;
    return ConvertCodePage(name, font.CodePage(), CP_UTF8);
}

} // namespace

struct TCairoTextEngine::Impl {
    FcConfig* config = nullptr;
    PangoFontMap* fontMap = nullptr;
    PangoContext* context = nullptr;

    Impl() {
        config = FcInitLoadConfigAndFonts();
        AnsiString file = FontConfigFile();
        bool loaded = !file.empty() &&
                      FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(file.c_str()), FcTrue);
        if (!loaded)
            FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kBuiltinFontConfig),
                                           FcTrue);
        fontMap = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
        pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(fontMap), config);
        context = pango_font_map_create_context(fontMap);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        pango_cairo_context_set_font_options(context, options);
        cairo_font_options_destroy(options);
        pango_cairo_context_set_resolution(context, ScreenPixelsPerInch);
        pango_context_set_round_glyph_positions(context, TRUE);
    }

    ~Impl() {
        g_object_unref(context);
        g_object_unref(fontMap);
        FcConfigDestroy(config);
    }

    // A layout of one line of the text in the font; underline is a byte index of the 8-bit text or -1.
    PangoLayout* Layout(const TFont& font, const AnsiString& text, int underline) {
        PangoLayout* layout = pango_layout_new(context);
        PangoFontDescription* desc = pango_font_description_new();
        AnsiString family = DecodeName(font);
        pango_font_description_set_family(desc, family.c_str());
        pango_font_description_set_absolute_size(desc, CharacterPixels(font) * PANGO_SCALE);
        TFontStyles style = font.Style();
        pango_font_description_set_weight(desc,
                                          style.Contains(fsBold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
        pango_font_description_set_style(desc,
                                         style.Contains(fsItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
        pango_layout_set_font_description(layout, desc);
        pango_font_description_free(desc);
        pango_layout_set_single_paragraph_mode(layout, TRUE);

        int codePage = font.CodePage();
        AnsiString utf8 = ConvertCodePage(text, codePage, CP_UTF8);
        pango_layout_set_text(layout, utf8.data(), static_cast<int>(utf8.size()));

        PangoAttrList* attrs = pango_attr_list_new();
        if (style.Contains(fsUnderline))
            pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        if (style.Contains(fsStrikeOut)) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
        if (underline >= 0 && underline < static_cast<int>(text.size())) {
            int length = IsDBCSLeadByte(static_cast<unsigned char>(text[underline]), codePage) &&
                                 underline + 1 < static_cast<int>(text.size())
                             ? 2
                             : 1;
            auto start = ConvertCodePage(text.substr(0, underline), codePage, CP_UTF8).size();
            auto chars = ConvertCodePage(text.substr(underline, length), codePage, CP_UTF8).size();
            PangoAttribute* a = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
            a->start_index = static_cast<guint>(start);
            a->end_index = static_cast<guint>(start + chars);
            pango_attr_list_insert(attrs, a);
        }
        pango_layout_set_attributes(layout, attrs);
        pango_attr_list_unref(attrs);
        return layout;
    }
};

TCairoTextEngine::TCairoTextEngine() : impl_(std::make_unique<Impl>()) {}
TCairoTextEngine::~TCairoTextEngine() = default;

TSize TCairoTextEngine::Extent(const TFont& font, const AnsiString& text) {
    PangoLayout* layout = impl_->Layout(font, text, -1);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    g_object_unref(layout);
    return {logical.width, logical.height};
}

void TCairoTextEngine::Draw(TBitmap& target, int x, int y, const TFont& font, const AnsiString& text,
                            const TRect& clip, int underline) {
    TRect r = IntersectRect(clip, Rect(0, 0, target.Width(), target.Height()));
    if (r.IsEmpty() || text.empty()) return;
    // The bitmap's 0xFFRRGGBB words are opaque ARGB32 pixels as cairo keeps them.
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(target.ScanLine(0)), CAIRO_FORMAT_ARGB32, target.Width(),
        target.Height(), target.Stride());
    cairo_t* cr = cairo_create(surface);
    cairo_rectangle(cr, r.Left, r.Top, r.Width(), r.Height());
    cairo_clip(cr);
    TColor rgb = ColorToRGB(font.Color());
    cairo_set_source_rgb(cr, GetRValue(rgb) / 255.0, GetGValue(rgb) / 255.0, GetBValue(rgb) / 255.0);
    PangoLayout* layout = impl_->Layout(font, text, underline);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
}

AnsiString TCairoTextEngine::ResolvedFamily(const AnsiString& fontName) {
    TFont font;
    font.SetName(fontName);
    AnsiString name = DecodeName(font);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcConfigSubstitute(impl_->config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(impl_->config, pattern, &result);
    AnsiString family;
    FcChar8* value = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch)
        family = reinterpret_cast<const char*>(value);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return family;
}

TCairoTextEngine& CairoTextEngine() {
    static TCairoTextEngine engine;
    return engine;
}

TTextEngine* UseCairoText() {
    return SetTextEngine(&CairoTextEngine());
}

AnsiString FontConfigFile() {
    if (const char* env = std::getenv("QZ_FONTS_CONF"); env && *env) return env;
#ifdef QZ_SOURCE_FONTS_CONF
    if (FileExists(QZ_SOURCE_FONTS_CONF)) return QZ_SOURCE_FONTS_CONF;
#endif
    return "";
}

AnsiString FontTextToUtf8(const TFont& font, const AnsiString& text) {
    return ConvertCodePage(text, font.CodePage(), CP_UTF8);
}

} // namespace qz
