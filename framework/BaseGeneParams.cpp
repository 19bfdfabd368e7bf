// Condition capture: the parameter array of a request (environment, condition texts and values), the
// encodings of ranges, lists and dates, the date styles with their masks, and the check of date edits.
#include "controls/SelectPnl.h"
#include "framework/BaseGene.h"
#include "framework/BaseGeneU.h"
#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/core/Format.h"
#include "platform/core/Strings.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/MaskEdit.h"
#include "platform/vcl/StdCtrls.h"
#include "support/CodeConverter.h"
#include "support/LibStrs.h"

namespace qz {

namespace {

const AnsiString kRangeCode(1, '\x04');
const AnsiString kListCode(1, '\x05');

// The section names of the parts of the request in the messages about them.
struct TParamPart {
    const char* Key;
    const char* Default;
};
constexpr TParamPart kTextsPart{"sOption", "选择条件文字"};
constexpr TParamPart kValuesPart{"sOptionInf", "选择条件信息"};
constexpr TParamPart kEnvironmentPart{"sEnvSetting", "环境设置"};

// A part handed back by a layer: 1..expected, every element set. Shows what is wrong otherwise.
bool CheckParamPart(TfrmBaseGene& w, const Variant& part, int expected, const TParamPart& name) {
    AnsiString section;
    w.GetLangText("TfrmBaseGene", name.Key, section, true, GB(name.Default));
    int high = VarIsArray(part) ? VarArrayHighBound(part, 1) : -1;
    if (high != expected) {
        w.ShowMessageById("W", "000002", 0, 2, {section, IntToStr(expected), IntToStr(high)});
        return false;
    }
    for (int i = VarArrayLowBound(part, 1); i <= high; ++i) {
        if (VarIsEmpty(part[i]) || VarIsNull(part[i])) {
            w.ShowMessageById("W", "000003", 0, 2, {section, IntToStr(expected), IntToStr(i)});
            return false;
        }
    }
    return true;
}

// The separator as a literal of an edit mask: the characters the mask language reads ("/" is the
// run-time library's date separator there) are escaped, so the edit shows the company's separator.
AnsiString MaskLiteral(const AnsiString& separator) {
    static const AnsiString special = "09#LlAaCc><!\\:/_;";
    AnsiString literal;
    for (char c : separator) {
        if (special.find(c) != AnsiString::npos) literal += '\\';
        literal += c;
    }
    return literal;
}

// The digits of year, month and day of a date style, in entry order; false for an unknown style.
bool DateFieldWidths(int style, int (&widths)[3]) {
    switch (style) {
    case 1: widths[0] = 4, widths[1] = 2, widths[2] = 2; return true;
    case 2:
    case 3: widths[0] = 2, widths[1] = 2, widths[2] = 4; return true;
    case 4: widths[0] = 2, widths[1] = 2, widths[2] = 2; return true;
    case 5: widths[0] = 3, widths[1] = 2, widths[2] = 2; return true;
    default: return false;
    }
}

AnsiString DatePattern(int style, char digit, const AnsiString& separator) {
    int widths[3];
    if (!DateFieldWidths(style, widths)) return "";
    return StringOfChar(digit, widths[0]) + separator + StringOfChar(digit, widths[1]) + separator +
           StringOfChar(digit, widths[2]);
}

bool StartsWith(const AnsiString& text, const AnsiString& part) {
    return !part.empty() && text.size() >= part.size() && text.compare(0, part.size(), part) == 0;
}

bool EndsWith(const AnsiString& text, const AnsiString& part) {
    return !part.empty() && text.size() >= part.size() &&
           text.compare(text.size() - part.size(), part.size(), part) == 0;
}

int WindowDateStyle(TfrmBaseGene& w, AnsiString& separator) {
    w.GetDateSeparator(separator);
    return w.GetDateStyle();
}

} // namespace

// The request.

bool BaseGeneCollectParams(TfrmBaseGene& w) {
    if (w.FEnvCount == 0 || (w.FOptionCount == 0 && !w.FAutoSubmit)) {
        w.ShowMessageById("I", "000003", 0, 0, {""});
        return false;
    }
    Variant env = VarArrayCreate({1, w.FEnvCount}, varVariant);
    Variant texts = VarArrayCreate({1, w.FOptionCount}, varVariant);
    Variant values = VarArrayCreate({1, w.FOptionCount}, varVariant);
    int moduleCount = w.FOptionCount - w.FBaseOptionCount;
    if (!w.GetOptionTexts(texts, moduleCount) || !CheckParamPart(w, texts, w.FOptionCount, kTextsPart))
        return false;
    if (!w.GetOptionValues(values, moduleCount) || !CheckParamPart(w, values, w.FOptionCount, kValuesPart))
        return false;
    if (!w.GetEnvironment(env, w.FEnvCount) || !CheckParamPart(w, env, w.FEnvCount, kEnvironmentPart))
        return false;
    w.FResultParams =
        VarArrayOf({env, w.QzConverter->ConvertToDB(texts), w.QzConverter->ConvertToDB(values)});
    return true;
}

bool BaseGeneGetOptionTexts(TfrmBaseGene& w, Variant& texts, int index) {
    try {
        texts[index + w.FBaseOptionCount] = VarArrayOf({w.lblToday->Caption(), AnsiString("edPrintDate")});
        return true;
    } catch (const std::exception&) {
        AnsiString text;
        w.GetMessageText("I", "000011", text);
        w.ReportMessages("E;000030;" + text);
        return false;
    }
}

bool BaseGeneGetOptionValues(TfrmBaseGene& w, Variant& values, int index) {
    try {
        AnsiString separator;
        w.GetDateSeparator(separator);
        AnsiString text = Trim(w.edPrintDate->Text());
        AnsiString date;
        // An unfinished entry counts as none.
        if (!StartsWith(text, separator) && !EndsWith(text, separator)) w.DateToParam(text, date);
        values[index + w.FBaseOptionCount] = date;
        return true;
    } catch (const std::exception&) {
        w.ReportMessages("E;000030");
        return false;
    }
}

bool BaseGeneGetEnvironment(TfrmBaseGene& w, Variant& env, int) {
    env[1] = UpperCase(w.FProgramCode);
    env[2] = w.FEnvCount;
    env[3] = w.FOptionCount;
    env[4] = w.FCompanyCode;
    env[5] = w.FUserCode;
    env[6] = w.FDbName;
    env[7] = VarFromDateTime(Now());
    env[8] = w.FServerClass;
    env[9] = UpperCase(w.FJobKind);
    return true;
}

// Dates.

AnsiString DateMaskOf(int style, const AnsiString& separator) {
    AnsiString pattern = DatePattern(style, '9', MaskLiteral(separator));
    return pattern.empty() ? pattern : pattern + ";1; ";
}

AnsiString BlankDateTextOf(int style, const AnsiString& separator) {
    return DatePattern(style, ' ', separator);
}

AnsiString DateTextToParam(const AnsiString& text, int style, const AnsiString& separator) {
    AnsiString entry = Trim(text);
    if (entry.empty() || entry == Trim(BlankDateTextOf(style, separator))) return "";
    try {
        AnsiString rest = entry;
        int parts[3];
        for (int i = 0; i < 3; ++i) {
            AnsiString part = Trim(i < 2 ? CutField(rest, separator) : rest);
            if (!TryStrToInt(part, parts[i])) return entry;
        }
        int year, month, day;
        switch (style) {
        case 1: year = parts[0], month = parts[1], day = parts[2]; break;
        case 2: year = parts[2], month = parts[0], day = parts[1]; break;
        case 3: year = parts[2], month = parts[1], day = parts[0]; break;
        case 4:
        case 5: year = parts[0] + 1911, month = parts[1], day = parts[2]; break;
        default: return "";
        }
        return Format("%d%.2d%.2d", {year, month, day});
    } catch (const std::exception&) {
        return entry;
    }
}

void BaseGeneDateToParam(TfrmBaseGene& w, const AnsiString& text, AnsiString& result) {
    AnsiString separator;
    int style = WindowDateStyle(w, separator);
    result = DateTextToParam(text, style, separator);
}

void BaseGeneGetDateMask(TfrmBaseGene& w, AnsiString& text) {
    AnsiString separator;
    int style = WindowDateStyle(w, separator);
    text = DateMaskOf(style, separator);
}

void BaseGeneGetBlankDateText(TfrmBaseGene& w, AnsiString& text) {
    AnsiString separator;
    int style = WindowDateStyle(w, separator);
    text = BlankDateTextOf(style, separator);
}

// Encodings of conditions.

Variant RangeParam(const AnsiString& from, const AnsiString& to) {
    return VarArrayOf({kRangeCode, from, to});
}

Variant ListParam(TSelectPanel* panel) {
    TListItems* rows = panel->ListView->Items();
    Variant list = VarArrayCreate({0, rows->Count()}, varVariant);
    list[0] = kListCode;
    for (int i = 0; i < rows->Count(); ++i) {
        TListItem* row = rows->Item(i);
        std::vector<Variant> fields{row->Caption()};
        for (int k = 0; k < row->SubItems()->Count(); ++k) fields.emplace_back(row->SubItems()->Get(k));
        list[i + 1] = VarArrayOf(fields);
    }
    return list;
}

void BaseGenePutRangeParam(TfrmBaseGene& w, const AnsiString& fromText, const AnsiString& toText,
                           Variant& values, int index) {
    AnsiString from, to;
    w.DateToParam(fromText, from);
    w.DateToParam(toText, to);
    if (!from.empty() && !to.empty() && CompareText(from, to) > 0) std::swap(from, to);
    values[index] = RangeParam(from, to);
}

void BaseGenePutPanelParam(TSelectPanel* panel, Variant& values, int index) {
    Variant param = panel->IsRangeInput() ? RangeParam(panel->BeginEdit->Text(), panel->EndEdit->Text())
                                          : ListParam(panel);
    // Below 0 the value is the whole of Values (a range too: there is no element to take it).
    if (index < 0)
        values = param;
    else
        values[index] = param;
}

// Date edits.

bool BaseGeneCheckDateControl(TfrmBaseGene& w, TControl* control, bool setMask) {
    auto* panel = dynamic_cast<TSelectPanel*>(control);
    auto* maskEdit = dynamic_cast<TCustomMaskEdit*>(control);
    auto* edit = dynamic_cast<TEdit*>(control);
    if (!panel && !maskEdit && !edit) {
        AnsiString text;
        w.GetLangText("TfrmBaseGene", "sDatePramError", text, true,
                      GB("判断日期的函数第一个参数错误, 只能传下列三种物件:"));
        ShowMessage(text + "\rTSelectPanel, TMaskedit, TEdit");
        return false;
    }
    if (setMask) {
        AnsiString mask;
        w.GetDateMask(mask);
        if (panel && panel->EditMask() != mask) panel->SetEditMask(mask);
        if (maskEdit && maskEdit->EditMask() != mask) maskEdit->SetEditMask(mask);
        // A plain edit shows the blank date only while nothing is entered: what it holds stays.
        if (edit && Trim(edit->Text()).empty()) {
            AnsiString blank;
            w.GetBlankDateText(blank);
            edit->SetText(blank);
        }
        return true;
    }
    std::vector<TCustomEdit*> edits;
    if (panel)
        edits = {panel->BeginEdit, panel->EndEdit};
    else
        edits = {maskEdit ? static_cast<TCustomEdit*>(maskEdit) : edit};
    TCustomEdit* wrong = nullptr;
    for (TCustomEdit* e : edits) {
        AnsiString date;
        w.DateToParam(e->Text(), date);
        if (!date.empty() && !IsValidYMD(date)) {
            wrong = e;
            break;
        }
    }
    if (!wrong) return true;
    // Focused before the message: when the message closes, the focus returns to the wrong edit.
    if (wrong->CanFocus()) wrong->SetFocus();
    w.ReportMessages("E;000005");
    return false;
}

} // namespace qz
