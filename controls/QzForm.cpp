#include "controls/QzForm.h"

#include "controls/F2Button.h"
#include "controls/GSpdBtn.h"
#include "controls/PropUtils.h"
#include "controls/QzControls.h"
#include "controls/QzcEdit.h"
#include "controls/SelectPnl.h"
#include "language/LanguageController.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Colors.h"
#include "platform/os/System.h"
#include "platform/rtti/ClassBuilder.h"
#include "platform/vcl/Buttons.h"
#include "support/CodeConverter.h"

namespace qz {

namespace {

const char kResource[] =
#include "QzForm.qzfm.inc"
    ;

int Brightness(TColor c) {
    TColor rgb = ColorToRGB(c);
    return (rgb & 0xFF) + ((rgb >> 8) & 0xFF) + ((rgb >> 16) & 0xFF);
}

// The disabled image: dark pixels, and light ones beside a transparent pixel, embossed in the button
// highlight (offset by one) and shadow colours on the button face.
TBitmap DisabledImage(const TBitmap& glyph, TColor transparent) {
    const int w = glyph.Width(), h = glyph.Height();
    auto at = [&](int x, int y) {
        x = std::clamp(x, 0, w - 1);
        y = std::clamp(y, 0, h - 1);
        return glyph.Pixel(x, y);
    };
    std::vector<bool> mask(static_cast<size_t>(w) * h, false);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            TColor p = glyph.Pixel(x, y);
            if (p == transparent) continue;
            bool dark = Brightness(p) < 384;
            bool edge = at(x, y - 1) == transparent || at(x, y + 1) == transparent ||
                        at(x - 1, y) == transparent || at(x + 1, y) == transparent;
            if (dark || edge) mask[static_cast<size_t>(y) * w + x] = true;
        }
    TBitmap d(w, h);
    d.Fill(clBtnFace);
    for (TColor brush : {clBtnHighlight, clBtnShadow}) {
        int offset = brush == clBtnHighlight ? 1 : 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (mask[static_cast<size_t>(y) * w + x]) d.SetPixel(x + offset, y + offset, brush);
    }
    return d;
}

template <class Button> bool TreatGlyph(TComponent* component) {
    auto* button = dynamic_cast<Button*>(component);
    if (!button) return false;
    if (TBitmap* glyph = button->Glyph(); glyph && !glyph->Empty()) {
        int count = button->NumGlyphs();
        AddDisabledGlyph(*glyph, count);
        button->SetNumGlyphs(count);
    }
    return true;
}

} // namespace

void AddDisabledGlyph(TBitmap& glyph, int& numGlyphs) {
    if (numGlyphs != 1 || glyph.Empty()) return;
    const TColor t = glyph.TransparentColor();
    const int w = glyph.Width(), h = glyph.Height();
    TBitmap original(glyph);
    TBitmap disabled = DisabledImage(original, t);
    glyph.SetSize(w * 2, h);
    glyph.Fill(t);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            glyph.SetPixel(x, y, original.Pixel(x, y));
            glyph.SetPixel(w + x, y, disabled.Pixel(x, y));
        }
    numGlyphs = 2;
}

TQzForm::TQzForm(TComponent* owner) : TForm(owner) {
    RegisterQzControls();
}

void TQzForm::FormCreate(TObject*) {
    FConverted = false;
    FTranslateOnShow = true;
    const bool english = GetUICodePage() == "437";
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* c = Components(i);
        if (HasPublishedProperty(c, "ImeName")) SetStrPropByName(c, "ImeName", "");
        if (english && HasPublishedProperty(c, "Font")) {
            TrySetPropertyByPath(c, "Font.Charset", 134);
            TrySetPropertyByPath(c, "Font.Name", AnsiString("Tahoma"));
        }
        // The first matching kind applies: the lookup edit's button, speed buttons, bit buttons, the
        // selection panel's list buttons.
        if (auto* edit = dynamic_cast<TQzBtnDBEdit*>(c)) {
            if (edit->Button()) TreatGlyph<TSpeedButton>(edit->Button());
            continue;
        }
        if (TreatGlyph<TSpeedButton>(c) || TreatGlyph<TBitBtn>(c)) continue;
        if (auto* panel = dynamic_cast<TSelectPanel*>(c))
            for (TSpeedButton* button : {static_cast<TSpeedButton*>(panel->ListButton),
                                         static_cast<TSpeedButton*>(panel->DeleteButton),
                                         static_cast<TSpeedButton*>(panel->ClearButton)})
                if (button) TreatGlyph<TSpeedButton>(button);
    }
}

void TQzForm::FormShow(TObject*) {
    if (FTranslateOnShow) TranslateWindow(true);
}

void TQzForm::ConvertForm() {
    if (FConverted) return;
    QzConverter->ConvertForm(this, "", true);
    FConverted = true;
}

int TQzForm::MessageDialog(const AnsiString& text, TMsgDlgType dlgType, TMsgDlgButtons buttons) {
    return QzConverter->ShowMessageDlg(text, dlgType, buttons);
}

AnsiString TQzForm::GetSystemCodePage() const {
    return QzConverter->SystemCodePage();
}
AnsiString TQzForm::GetUICodePage() const {
    return QzConverter->UICodePage();
}
Byte TQzForm::GetUIConvertKind() const {
    return QzConverter->UIConvertKind();
}
Byte TQzForm::GetDBConvertKind() const {
    return QzConverter->DBConvertKind();
}

void TQzForm::ApplyLanguageChain(TComponent* component, bool wholeChain, const TMetaClass* stopBefore) {
    std::vector<AnsiString> names;
    if (wholeChain) {
        for (const TMetaClass* cls = component->ClassInfo();
             cls && cls != stopBefore && cls != TForm::StaticClass(); cls = cls->ClassParent())
            names.insert(names.begin(), cls->ClassName());
    } else {
        names.push_back(component->ClassInfo()->ClassName());
    }
    for (const AnsiString& name : names) {
        LangController->SetLangPackageName(name);
        if (!FileExists(LangController->FileName())) continue;
        LangController->SetActive(true);
        LangController->GetReader()->LoadComponent(component);
    }
}

void TQzForm::LoadLanguage(TComponent* component, bool wholeChain) {
    ApplyLanguageChain(component, wholeChain, TForm::StaticClass());
}

void TQzForm::LoadDerivedLanguage(TComponent* component, bool wholeChain) {
    ApplyLanguageChain(component, wholeChain, TQzForm::StaticClass());
}

void TQzForm::TranslateWindow(bool wholeChain) {
    LoadLanguage(this, wholeChain);
}

void TQzForm::GetLangText(const AnsiString& fileName, const AnsiString& key, AnsiString& text, bool convert,
                          const AnsiString& defaultText) {
    AnsiString def = convert ? QzConverter->ConvertForUI(Variant(defaultText)).AsString() : defaultText;
    text = GetLangMessage(LangController->DesignType(), fileName, key, def);
}

QZ_CLASS_INFO(TQzForm, TForm) {
    b.Resource(kResource);
    b.Field("QzConverter", &TQzForm::QzConverter);
    b.Field("LangController", &TQzForm::LangController);
    b.Method("FormCreate", &TQzForm::FormCreate);
    b.Method("FormShow", &TQzForm::FormShow);
}

} // namespace qz
