#include "platform/gfx/TextEngine.h"

namespace qz {

namespace {
TFixedTextEngine& FixedEngine() {
    static TFixedTextEngine engine;
    return engine;
}
TTextEngine* g_engine = nullptr;
} // namespace

int TFixedTextEngine::LineHeight(const TFont& font) {
    int h = font.PixelHeight();
    return h == 0 ? 11 : h;
}

TSize TFixedTextEngine::Extent(const TFont& font, const AnsiString& text) {
    return {static_cast<int>(text.size()) * ByteWidth(font), LineHeight(font)};
}

TTextEngine* SetTextEngine(TTextEngine* engine) {
    TTextEngine* previous = &CurrentTextEngine();
    g_engine = engine;
    return previous;
}

TTextEngine& CurrentTextEngine() {
    return g_engine ? *g_engine : FixedEngine();
}

TSize MeasureText(const TFont& font, const AnsiString& text) {
    return CurrentTextEngine().Extent(font, text);
}

} // namespace qz
