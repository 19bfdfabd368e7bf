#pragma once
// Combo boxes and memos.
#include "platform/vcl/StdCtrls.h"
#include <memory>

namespace qz {

class TStrings;
class TComboBoxStrings;
class TMemoStrings;

QZ_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable)
QZ_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)
QZ_ENUM(TOwnerDrawStateItem, odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight,
        odInactive, odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit)
QZ_SET(TOwnerDrawState, TOwnerDrawStateItem)

QZ_EVENT_TYPE(TDrawItemEvent, void(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State))
QZ_EVENT_TYPE(TMeasureItemEvent, void(TWinControl* Control, int Index, int& Height))

// A combo box: a list of items with one selected (ItemIndex, -1 for none) and an edit part.
// csDropDown and csSimple have an editable text; the other styles show the selected item only, and
// the owner-drawn ones paint their items through OnDrawItem (and measure them through OnMeasureItem
// with csOwnerDrawVariable).
// Changes made by code (ItemIndex, Text, Items) raise no events; the user's selection raises OnClick
// then OnChange, the user's typing OnChange.
class TCustomComboBox : public TCustomControl {
    QZ_CLASS(TCustomComboBox)
public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    // Inserting or deleting items before the selected one moves ItemIndex with it; deleting the
    // selected item or clearing the list leaves no selection (and, for Clear, no text).
    TStrings* Items() const;
    void SetItems(TStrings* v);
    // Public, not published, as in the class library. An index outside the items selects none and
    // clears the text; otherwise the text becomes the item's.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int v);
    // With an edit part: the text as it stands, selecting the item equal to it (ignoring case) or none.
    // Otherwise: selects the first item equal to the text, else the first beginning with it (ignoring
    // case), else changes nothing; an empty text selects none.
    void SetText(const AnsiString& v) override;

    TComboBoxStyle Style() const { return style_; }
    // Items and the selected index stay; a text that is not an item is lost going to a style without
    // an edit part.
    void SetStyle(TComboBoxStyle v);
    bool HasEditPart() const { return style_ == csDropDown || style_ == csSimple; }
    bool IsOwnerDrawn() const { return style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable; }
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int v) { dropDownCount_ = v < 1 ? 1 : v; }
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int v);
    // Length limit of what the user types into the edit part (0: none).
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v) { maxLength_ = v < 0 ? 0 : v; }
    // Sorted items: Add puts an item in its place; turning it on sorts the list, keeping the selection.
    bool Sorted() const;
    void SetSorted(bool v);
    // Opening raises OnDropDown, closing OnCloseUp; a simple combo box has its list always shown.
    bool DroppedDown() const { return droppedDown_; }
    void SetDroppedDown(bool v);

    // Caret and selection of the edit part, in bytes.
    int SelStart() const { return selStart_; }
    void SetSelStart(int v);
    int SelLength() const { return selLength_; }
    void SetSelLength(int v);
    AnsiString SelText() const;
    void SelectAll();

    // The user's pick of an item in the open list: selects it (OnClick, OnChange when it changed) and
    // closes the list.
    void SelectItem(int index);
    // The rectangle of an item in the open list (list coordinates; empty when it is not shown), and
    // the first item shown.
    TRect ItemRect(int index);
    int TopIndex() const;
    // Paints the open list onto canvas (its own window on a display).
    void PaintDropDown(TCanvas& canvas);
    // The rectangle of the selection field inside the control.
    TRect EditRect() const;

    bool WantsKey(Word key, TShiftState shift) const override;

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    virtual void Change();
    virtual void DropDown();
    virtual void CloseUp();
    // Paints one item (index -1: the empty selection field) with the canvas prepared for its state;
    // OnDrawItem when assigned, otherwise a filled rectangle and the item's text.
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
    virtual void MeasureItem(int index, int& height);
    void Paint() override;
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    // A click on the control opens the list; OnClick belongs to the selection.
    void MouseClick() override {}
    void DoExit() override;
    void Loaded() override;

private:
    friend class TComboBoxStrings;
    void ItemInserted(int index);
    void ItemDeleted(int index);
    void ItemsCleared();
    void ItemsMoved(const std::vector<int>& newIndexOfOld);
    // The user's selection from the keyboard or the list.
    void UserSelect(int index);
    void UserEdit(const AnsiString& text, int caret);
    int MatchingItem(const AnsiString& text) const;
    int HeightOfItem(int index);
    void PaintItem(int index, const TRect& rect, TOwnerDrawState state);
    void DefaultDrawItem(int index, const TRect& rect);

    std::unique_ptr<TComboBoxStrings> items_;
    int itemIndex_ = -1;
    TComboBoxStyle style_ = csDropDown;
    int dropDownCount_ = 8;
    int itemHeight_ = 16;
    int maxLength_ = 0;
    bool droppedDown_ = false;
    bool paintingList_ = false;
    int selStart_ = 0;
    int selLength_ = 0;
};

class TComboBox : public TCustomComboBox {
    QZ_CLASS(TComboBox)
public:
    explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

// A multi-line edit. Its text is lines separated by CR LF (a lone CR or LF given to Text becomes
// CR LF); Lines is a view of that text, without the empty line after a final CR LF. Lines are the
// hard lines of the text whatever WordWrap says.
class TCustomMemo : public TCustomEdit {
    QZ_CLASS(TCustomMemo)
public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;

    TStrings* Lines() const;
    void SetLines(TStrings* v);
    void SetText(const AnsiString& v) override;

    // The caret as column (bytes from the start of its line) and line, both from 0. After a final
    // CR LF the caret is on the line after the last of Lines.
    TPoint CaretPos() const;
    void SetCaretPos(TPoint p);
    // Offsets: the line holding a byte offset, and the offset where a line starts (-1 past the end).
    int LineFromChar(int offset) const;
    int LineIndex(int line) const;

    // Enter inserts a line (otherwise Enter is a dialog key and types nothing); Tab inserts a tab.
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool v) { wantReturns_ = v; }
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool v) { wantTabs_ = v; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);

    bool WantsKey(Word key, TShiftState shift) const override;

protected:
    // A memo keeps its caret on entry (no selection of the whole text).
    void DoEnter() override;
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyPress(char& key) override;

private:
    void InsertText(const AnsiString& s);
    void DeleteChars(int from, int count);

    std::unique_ptr<TMemoStrings> lines_;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
    bool wordWrap_ = true;
    TScrollStyle scrollBars_ = ssNone;
    TAlignment alignment_ = taLeftJustify;
};

class TMemo : public TCustomMemo {
    QZ_CLASS(TMemo)
public:
    explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

} // namespace qz
