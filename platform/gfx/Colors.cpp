#include "platform/gfx/Colors.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"
#include <array>
#include <cstdio>

namespace qz {

namespace {

// The standard scheme, as 0x00BBGGRR.
constexpr std::array<TColor, COLOR_ENDCOLORS> kStandardScheme = {
    RGB(212, 208, 200), // scroll bar
    RGB(58, 110, 165),  // desktop
    RGB(10, 36, 106),   // active caption
    RGB(128, 128, 128), // inactive caption
    RGB(212, 208, 200), // menu
    RGB(255, 255, 255), // window
    RGB(0, 0, 0),       // window frame
    RGB(0, 0, 0),       // menu text
    RGB(0, 0, 0),       // window text
    RGB(255, 255, 255), // caption text
    RGB(212, 208, 200), // active border
    RGB(212, 208, 200), // inactive border
    RGB(128, 128, 128), // application work space
    RGB(10, 36, 106),   // highlight
    RGB(255, 255, 255), // highlight text
    RGB(212, 208, 200), // button face
    RGB(128, 128, 128), // button shadow
    RGB(128, 128, 128), // gray text
    RGB(0, 0, 0),       // button text
    RGB(212, 208, 200), // inactive caption text
    RGB(255, 255, 255), // button highlight
    RGB(64, 64, 64),    // 3-D dark shadow
    RGB(212, 208, 200), // 3-D light
    RGB(0, 0, 0),       // tool-tip text
    RGB(255, 255, 225), // tool-tip background
};

std::array<TColor, COLOR_ENDCOLORS>& Scheme() {
    static std::array<TColor, COLOR_ENDCOLORS> scheme = kStandardScheme;
    return scheme;
}

using ColorName = TColorName;

constexpr ColorName kNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

} // namespace

TColor ColorToRGB(TColor color) {
    if (color == clNone) return clWhite;
    if (color == clDefault) return Scheme()[COLOR_WINDOW];
    if (IsSystemColor(color)) {
        int index = color & 0xFF;
        return index < COLOR_ENDCOLORS ? Scheme()[index] : clBlack;
    }
    return color & 0xFFFFFF;
}

void SetSystemColor(int index, TColor rgb) {
    if (index >= 0 && index < COLOR_ENDCOLORS) Scheme()[index] = rgb & 0xFFFFFF;
}

void ResetSystemColors() {
    Scheme() = kStandardScheme;
}

const TColorName* ColorNamesBegin() {
    return std::begin(kNames);
}
const TColorName* ColorNamesEnd() {
    return std::end(kNames);
}

bool ColorToIdent(TColor color, AnsiString& ident) {
    for (const ColorName& n : kNames) {
        if (n.color == color) {
            ident = n.name;
            return true;
        }
    }
    return false;
}

bool IdentToColor(const AnsiString& ident, TColor& color) {
    for (const ColorName& n : kNames) {
        if (SameText(ident, n.name)) {
            color = n.color;
            return true;
        }
    }
    return false;
}

AnsiString ColorToString(TColor color) {
    AnsiString ident;
    if (ColorToIdent(color, ident)) return ident;
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(color));
    return buf;
}

TColor StringToColor(const AnsiString& text) {
    TColor color;
    AnsiString t = Trim(text);
    if (IdentToColor(t, color)) return color;
    long long value;
    if (!TryStrToInt64(t, value) || value < -2147483648LL || value > 0xFFFFFFFFLL)
        throw EConvertError("'" + text + "' is not a valid colour");
    return static_cast<TColor>(static_cast<std::uint32_t>(value));
}

} // namespace qz
