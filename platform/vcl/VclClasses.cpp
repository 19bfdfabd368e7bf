// The class registry of the library: the standard classes, the type information of the drawing
// classes of gfx, and the identifier tables of colours, cursors, character sets and modal results.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Font.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/MaskEdit.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Spin.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/StdCtrlsEx.h"

namespace qz {

namespace {

const TTypeInfo* FontStylesType() {
    static const TTypeInfo* t =
        MakeSetType("TFontStyles", MakeEnumType("TFontStyle", "fsBold, fsItalic, fsUnderline, fsStrikeOut"));
    return t;
}

} // namespace

QZ_EXTERNAL_CLASS_INFO(TFont, TObject) {
    b.Property("Name", &TFont::Name, &TFont::SetName);
    b.Property("Size", &TFont::Size, &TFont::SetSize);
    b.Property("Height", &TFont::Height, &TFont::SetHeight);
    b.Property("Charset", &TFont::Charset, &TFont::SetCharset).TypeName("TFontCharset");
    b.Property("Color", &TFont::Color, &TFont::SetColor).TypeName("TColor");
    TPropInfo& style = b.MetaClass().AddProperty("Style");
    style.Type = [] { return FontStylesType(); };
    style.GetOrd = [](const TObject* o) {
        return static_cast<long long>(static_cast<const TFont*>(o)->Style().Bits());
    };
    style.SetOrd = [](TObject* o, long long v) {
        static_cast<TFont*>(o)->SetStyle(TFontStyles::FromBits(static_cast<unsigned>(v)));
    };
    TFont::StaticClassInfo = &b.MetaClass();
}

QZ_EXTERNAL_CLASS_INFO(TBitmap, TObject) {
    b.Property("Width", &TBitmap::Width, &TBitmap::SetWidth);
    b.Property("Height", &TBitmap::Height, &TBitmap::SetHeight);
    b.Property("Transparent", &TBitmap::Transparent, &TBitmap::SetTransparent);
    b.Property("TransparentColor", &TBitmap::TransparentColor, &TBitmap::SetTransparentColor)
        .TypeName("TColor");
}

QZ_EXTERNAL_CLASS_INFO(TPicture, TObject) {
    TPicture::StaticClassInfo = &b.MetaClass();
}

namespace {

[[maybe_unused]] const bool kIdents = [] {
    if (!HasIdentTable("TColor")) {
        std::vector<TIdentMapEntry> colors;
        for (const TColorName* n = ColorNamesBegin(); n != ColorNamesEnd(); ++n)
            colors.push_back({static_cast<int>(n->color), n->name});
        RegisterIntegerConsts("TColor", colors.data(), colors.data() + colors.size());
    }
    RegisterIntegerConsts("TCursor", {{crDefault, "crDefault"},
                                      {crNone, "crNone"},
                                      {crArrow, "crArrow"},
                                      {crCross, "crCross"},
                                      {crIBeam, "crIBeam"},
                                      {crSizeWE, "crSizeWE"},
                                      {crHourGlass, "crHourGlass"},
                                      {crDrag, "crDrag"},
                                      {crNo, "crNo"},
                                      {crHSplit, "crHSplit"},
                                      {crVSplit, "crVSplit"},
                                      {crSQLWait, "crSQLWait"},
                                      {crHandPoint, "crHandPoint"}});
    RegisterIntegerConsts("TFontCharset", {{ANSI_CHARSET, "ANSI_CHARSET"},
                                           {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
                                           {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
                                           {GB2312_CHARSET, "GB2312_CHARSET"},
                                           {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
                                           {OEM_CHARSET, "OEM_CHARSET"}});
    RegisterIntegerConsts("TModalResult", {{mrNone, "mrNone"},
                                           {mrOk, "mrOk"},
                                           {mrCancel, "mrCancel"},
                                           {mrAbort, "mrAbort"},
                                           {mrRetry, "mrRetry"},
                                           {mrIgnore, "mrIgnore"},
                                           {mrYes, "mrYes"},
                                           {mrNo, "mrNo"},
                                           {mrAll, "mrAll"},
                                           {mrNoToAll, "mrNoToAll"},
                                           {mrYesToAll, "mrYesToAll"}});
    return true;
}();

} // namespace

void RegisterVclClasses() {
    static const bool done = [] {
        for (const TMetaClass* mc :
             {TPersistent::StaticClass(), TComponent::StaticClass(),   TControl::StaticClass(),
              TWinControl::StaticClass(), TCustomForm::StaticClass(),  TForm::StaticClass(),
              TLabel::StaticClass(),      TEdit::StaticClass(),        TButton::StaticClass(),
              TCheckBox::StaticClass(),   TRadioButton::StaticClass(), TGroupBox::StaticClass(),
              TPanel::StaticClass(),      TImage::StaticClass(),       TBevel::StaticClass(),
              TSplitter::StaticClass(),   TBitBtn::StaticClass(),      TSpeedButton::StaticClass(),
              TImageList::StaticClass(),  TCollection::StaticClass(),  TCollectionItem::StaticClass(),
              TComboBox::StaticClass(),   TMemo::StaticClass(),        TSpinEdit::StaticClass(),
              TMaskEdit::StaticClass(),   TPageControl::StaticClass(), TTabSheet::StaticClass(),
              TListView::StaticClass(),   TDrawGrid::StaticClass(),    TStringGrid::StaticClass(),
              TToolBar::StaticClass(),    TToolButton::StaticClass(),  TPopupMenu::StaticClass(),
              TMainMenu::StaticClass(),   TMenuItem::StaticClass(),    TStatusBar::StaticClass(),
              TTabSet::StaticClass(),     TTreeView::StaticClass(),    TAnimate::StaticClass()})
            RegisterClass(mc);
        return true;
    }();
    (void)done;
}

} // namespace qz
