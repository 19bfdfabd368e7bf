#pragma once
// The selection panel: the condition-entry control of the request windows. A condition is given as a
// range (begin and end edits with lookup buttons), as a list of values (a multi-column list filled
// through a lookup window), or either way by the user's choice with a check box. The panel lays out
// its inner controls, orders the range when the focus leaves it, removes duplicate rows, sorts the
// list by column and raises its inner controls' events as its own.
#include "platform/core/StringList.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/MaskEdit.h"
#include "platform/vcl/StdCtrls.h"
#include <memory>
#include <vector>

namespace qz {

class TPanel;
class TLabel;
class TLumCheckBox;
class TF2Button;
class TGSpeedButton;
class TSelectPanel;

QZ_ENUM(TSelectStyle, sp_Range, sp_Discrete, sp_UserChoice)
QZ_ENUM(TValueType, vt_String, vt_Number, vt_Date, vt_Time, vt_Float, vt_OtherMask)
QZ_ENUM(TDateType, dt_NoneCare, dt_YYYYMMDD, dt_MMDDYYYY, dt_DDMMYYYY, dt_YYMMDD, dt_YYYMMDD)
QZ_ENUM(TCheckDuplicate, cd_None, cd_CheckCase, cd_CaseInsensitive)

QZ_EVENT_TYPE(TStyleChangingEvent,
              void(TObject* Sender, TSelectStyle NowStyle, TSelectStyle& NewStyle, bool& Accept))
QZ_EVENT_TYPE(TStyleChangeEvent, void(TObject* Sender, TSelectStyle OldStyle, TSelectStyle NewStyle))
QZ_EVENT_TYPE(TDeleteClickEvent, void(TObject* Sender, bool& Accept))
QZ_EVENT_TYPE(TOpenWinClickEvent, void(TSelectPanel* SenderParent, TWinControl* Sender))
QZ_EVENT_TYPE(TListViewSelectItemEvent, void(TObject* Sender, TListItem* xItem, int xIndex, bool xIsSelect))
using TListViewDataChangeEvent = TLVChangeEvent;
using TListViewDataChangingEvent = TLVChangingEvent;

// A mask edit that raises no change notification while SuppressChange is true.
class TLumMaskEdit : public TMaskEdit {
    QZ_CLASS(TLumMaskEdit)
public:
    explicit TLumMaskEdit(TComponent* owner) : TMaskEdit(owner) {}
    bool SuppressChange = false;

protected:
    void Change() override;
};

// The list of the panel: rows added as arrays of texts, columns sized to their texts.
class TLumListView : public TListView {
    QZ_CLASS(TLumListView)
public:
    explicit TLumListView(TComponent* owner) : TListView(owner) {}
    bool ColumnsAutoSize = true;

    // Adds a row (caption, then sub-items), with columns "Data1", "Data2"... as needed; pads every row
    // to the same number of sub-items, removes duplicates (by the panel's setting) and sizes the
    // columns. False for an empty row or a failure (rows added so far stay).
    bool AddRow(const std::vector<AnsiString>& values);
    void ClearRows();
    // Each column as wide as its longest text (caption included) in bytes times the width of "W".
    void AutoSizeColumns();

protected:
    // A left press focuses the list first and is handled only when the list then has the focus.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
};

class TSelectPanel : public TGroupBox {
    QZ_CLASS(TSelectPanel)
public:
    explicit TSelectPanel(TComponent* owner);
    ~TSelectPanel() override;

    // Inner controls, owned by the panel.
    TLumCheckBox* CheckBox = nullptr;
    TPanel* RangePanel = nullptr;
    TLabel* BeginLabel = nullptr;
    TLumMaskEdit* BeginEdit = nullptr;
    TF2Button* BeginButton = nullptr;
    TLabel* EndLabel = nullptr;
    TLumMaskEdit* EndEdit = nullptr;
    TF2Button* EndButton = nullptr;
    TPanel* ListPanel = nullptr;
    TF2Button* ListButton = nullptr;
    TGSpeedButton* DeleteButton = nullptr;
    TGSpeedButton* ClearButton = nullptr;
    TLumListView* ListView = nullptr;

    // The text of an empty BeginEdit under the current EditMask.
    AnsiString EmptyMaskText;
    // The list sort: by this column, ascending or not.
    int SortColumn = 0;
    bool SortAscending = true;

    // The range input is the one in use: sp_Range, or sp_UserChoice with the check box checked.
    bool IsRangeInput() const;

    TSelectStyle Style() const { return style_; }
    void SetStyle(TSelectStyle v);
    // sp_UserChoice only: true for the range input, false for the list.
    bool UserChoice() const { return userChoice_; }
    void SetUserChoice(bool v);
    const AnsiString& HintWord() const { return hintWord_; }
    void SetHintWord(const AnsiString& v);
    bool UseVertical() const { return useVertical_; }
    void SetUseVertical(bool v);
    // [0]: the label text in the one-row layout, [1]: in the two-row layouts.
    TStrings* BeginWords() const { return beginWords_.get(); }
    void SetBeginWords(TStrings* v);
    TStrings* FinalWords() const { return finalWords_.get(); }
    void SetFinalWords(TStrings* v);
    bool CanOpenWin() const { return canOpenWin_; }
    void SetCanOpenWin(bool v);
    // The picture number of the three F2 buttons.
    int GlyphIndex() const { return glyphIndex_; }
    void SetGlyphIndex(int v);
    const AnsiString& EditMask() const { return editMask_; }
    void SetEditMask(const AnsiString& v);
    TValueType ValueType() const { return valueType_; }
    void SetValueType(TValueType v) { valueType_ = v; }
    TDateType DateType() const { return dateType_; }
    void SetDateType(TDateType v) { dateType_ = v; }
    const AnsiString& DateSign() const { return dateSign_; }
    void SetDateSign(const AnsiString& v) { dateSign_ = v; }
    bool AutoChangeDateSite() const { return autoChangeDateSite_; }
    void SetAutoChangeDateSite(bool v) { autoChangeDateSite_ = v; }
    const AnsiString& Discard() const { return discard_; }
    void SetDiscard(const AnsiString& v) { discard_ = v; }
    bool UseDiscard() const { return useDiscard_; }
    void SetUseDiscard(bool v) { useDiscard_ = v; }
    TCheckDuplicate CheckDuplicate() const { return checkDuplicate_; }
    void SetCheckDuplicate(TCheckDuplicate v);
    bool SortListBox() const { return sortListBox_; }
    void SetSortListBox(bool v);
    // The hints of CheckBox, BeginEdit, BeginButton, EndEdit, EndButton, ListView, ListButton,
    // DeleteButton and ClearButton, in that order.
    TStrings* ChildHints() const { return childHints_.get(); }
    void SetChildHints(TStrings* v);
    // Reading fills a scratch list with the column captions; assigning makes one column per line.
    TStrings* ColumnCaptions() const;
    void SetColumnCaptions(TStrings* v);
    TListColumns* Columns() const;
    TListItems* Items() const;
    bool ShowColumnHeader() const;
    void SetShowColumnHeader(bool v);
    bool ColumnsAutoSize() const;
    void SetColumnsAutoSize(bool v);
    bool HideSelection() const;
    void SetHideSelection(bool v);
    int OtherWidth() const { return otherWidth_; }
    void SetOtherWidth(int v) { otherWidth_ = v; }
    int OtherHeight() const { return otherHeight_; }
    void SetOtherHeight(int v) { otherHeight_ = v; }

    // Focuses the panel, then the list when the list input is the one in use.
    void SetFocus() override;
    // Enables or disables the panel and every inner control.
    void SetEnabled(bool v) override;
    void ReLayout();
    // The order of two rows by SortColumn and SortAscending (the columns compared without regard to
    // case; ties go on with the caption, then the first sub-item).
    int CompareRows(TListItem* a, TListItem* b) const;
    void SortList();
    // Deletes a row whose caption equals the one above it (per CheckDuplicate).
    void RemoveDuplicates();
    // The date of a range text by DateType and DateSign; 0 (30 December 1899) when unreadable.
    TDateTime ReadRangeDate(const AnsiString& text) const;
    // Orders the range as leaving the panel does (without raising OnExit).
    void OrderRange();

    TOpenWinClickEvent OnOpenWinClick;
    TNotifyEvent OnClearClick;
    TDeleteClickEvent OnDeleteClick;
    TNotifyEvent OnTypeClick;
    TStyleChangingEvent OnStyleChanging;
    TStyleChangeEvent OnStyleChange;
    TListViewSelectItemEvent OnItemSelect;
    TListViewDataChangeEvent OnItemChange;
    TListViewDataChangingEvent OnItemChanging;

protected:
    void Loaded() override;
    void Resize() override;
    void FontChanged() override;
    void DoExit() override;

private:
    void LayoutFor(TSelectStyle style);
    void RangeOneRow();
    void RangeTwoRows();
    void ListLayout();
    void FitCheckBox();
    void UpdateVisibility(TSelectStyle style);
    void SwapSize();
    void ApplyChildHints();
    void SetWords(TStringList& words, TStrings* v, TLabel* label);
    void EnableChildren(TWinControl* parent, bool v);
    bool Designing() const { return IsDesigning(); }
    TPoint ToPanel(TObject* sender, int x, int y) const;
    bool KeepsSender(TObject* sender) const;

    // Handlers of the inner controls.
    void InnerClick(TObject* Sender);
    void InnerDblClick(TObject* Sender);
    void InnerMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void InnerMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void InnerMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void InnerKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void InnerKeyUp(TObject* Sender, Word& Key, TShiftState Shift);
    void InnerKeyPress(TObject* Sender, char& Key);
    void CheckBoxClick(TObject* Sender);
    void OpenWinClick(TObject* Sender);
    void DeleteClick(TObject* Sender);
    void ClearClick(TObject* Sender);
    void ListSelectItem(TObject* Sender, TListItem* Item, bool Selected);
    void ListChange(TObject* Sender, TListItem* Item, TItemChange Change);
    void ListChanging(TObject* Sender, TListItem* Item, TItemChange Change, bool& AllowChange);
    void ListColumnClick(TObject* Sender, TListColumn* Column);
    void ListCompare(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data, int& Compare);

    bool built_ = false;
    TSelectStyle style_ = sp_Range;
    bool userChoice_ = true;
    AnsiString hintWord_;
    bool useVertical_ = false;
    std::unique_ptr<TStringList> beginWords_, finalWords_, childHints_, captions_;
    bool canOpenWin_ = true;
    int glyphIndex_ = 8;
    AnsiString editMask_;
    TValueType valueType_ = vt_String;
    TDateType dateType_ = dt_NoneCare;
    AnsiString dateSign_ = "/";
    bool autoChangeDateSite_ = true;
    AnsiString discard_;
    bool useDiscard_ = false;
    TCheckDuplicate checkDuplicate_ = cd_None;
    bool sortListBox_ = false;
    int otherWidth_ = 200;
    int otherHeight_ = 105;
    bool enabled_ = true;
};

// Registers the panel's step with the code converter.
void RegisterSelectPanelConversion();

} // namespace qz
