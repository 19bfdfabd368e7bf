#pragma once
// List view as a model: items with caption, sub-items, images, check marks, selection and data;
// columns; four view styles; sorting by text, data or a compare event; in-place caption editing.
#include "platform/core/StringList.h"
#include "platform/vcl/Controls.h"
#include <functional>
#include <memory>
#include <vector>

namespace qz {

class TListView;
class TListItems;

class TListColumn : public TCollectionItem {
    QZ_CLASS(TListColumn)
public:
    explicit TListColumn(TCollection* collection) : TCollectionItem(collection) {}
    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& v);
    // Pixels; the width a column shows (AutoSize columns share the space left).
    int Width() const { return width_; }
    void SetWidth(int v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int v) { minWidth_ = v; }
    int MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int v) { maxWidth_ = v; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v) { imageIndex_ = v; }
    int Tag() const { return tag_; }
    void SetTag(int v) { tag_ = v; }
    AnsiString DisplayName() const override { return caption_; }

private:
    AnsiString caption_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = false;
    int minWidth_ = 0;
    int maxWidth_ = 0;
    int imageIndex_ = -1;
    int tag_ = 0;
};

class TListColumns : public TCollection {
    QZ_CLASS(TListColumns)
public:
    explicit TListColumns(TListView* owner = nullptr);
    TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
    TListColumn* Items(int index) const { return static_cast<TListColumn*>(TCollection::Items(index)); }
    TListColumn* operator[](int index) const { return Items(index); }
    TPersistent* GetOwner() const override;
    TListView* Owner() const { return view_; }

protected:
    void Update(TCollectionItem* item) override;

private:
    TListView* view_;
};

class TListItem : public TPersistent {
    QZ_CLASS(TListItem)
public:
    ~TListItem() override;
    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& v);
    // Texts of the columns after the first; changes are reported as text changes of the item.
    TStrings* SubItems() const { return subItems_.get(); }
    void SetSubItems(TStrings* v);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v);
    int StateIndex() const { return stateIndex_; }
    void SetStateIndex(int v);
    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    bool Selected() const { return selected_; }
    void SetSelected(bool v);
    bool Focused() const;
    void SetFocused(bool v);
    void* Data() const { return data_; }
    void SetData(void* v);
    int Index() const;
    TListItems* Owner() const { return owner_; }
    TListView* ListView() const;
    // Starts editing the caption in place (OnEditing may refuse); false when not started.
    bool EditCaption();
    void CancelEdit();
    void Delete();
    void MakeVisible(bool partialOK) {}

private:
    friend class TListItems;
    friend class TListView;
    explicit TListItem(TListItems* owner);
    // A state change as the control reports it: OnChanging may refuse, then OnChange and OnSelectItem.
    bool ChangeState(bool* flag, bool value, bool ask = true);

    TListItems* owner_;
    AnsiString caption_;
    std::unique_ptr<TStringList> subItems_;
    int imageIndex_ = -1;
    int stateIndex_ = -1;
    bool checked_ = false;
    bool selected_ = false;
    void* data_ = nullptr;
};

class TListItems : public TPersistent {
    QZ_CLASS(TListItems)
public:
    explicit TListItems(TListView* owner = nullptr) : view_(owner) {}
    ~TListItems() override;
    int Count() const { return static_cast<int>(items_.size()); }
    TListItem* Item(int index) const;
    TListItem* operator[](int index) const { return Item(index); }
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    int IndexOf(const TListItem* item) const;
    // Between BeginUpdate and EndUpdate the view neither repaints nor re-sorts; the last EndUpdate does.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return updateCount_ > 0; }
    TListView* Owner() const { return view_; }

private:
    friend class TListItem;
    friend class TListView;
    TListView* view_;
    std::vector<TListItem*> items_;
    int updateCount_ = 0;
};

QZ_ENUM(TViewStyle, vsIcon, vsSmallIcon, vsList, vsReport)
QZ_ENUM(TSortType, stNone, stData, stText, stBoth)
QZ_ENUM(TItemChange, ctText, ctImage, ctState)
QZ_ENUM(TItemState, isNone, isCut, isDropHilited, isFocused, isSelected, isActivating)
QZ_SET(TItemStates, TItemState)
QZ_ENUM(TSearchDirection, sdLeft, sdRight, sdAbove, sdBelow, sdAll)

QZ_EVENT_TYPE(TLVChangeEvent, void(TObject* Sender, TListItem* Item, TItemChange Change))
QZ_EVENT_TYPE(TLVChangingEvent, void(TObject* Sender, TListItem* Item, TItemChange Change, bool& AllowChange))
QZ_EVENT_TYPE(TLVSelectItemEvent, void(TObject* Sender, TListItem* Item, bool Selected))
QZ_EVENT_TYPE(TLVColumnClickEvent, void(TObject* Sender, TListColumn* Column))
QZ_EVENT_TYPE(TLVCompareEvent,
              void(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data, int& Compare))
QZ_EVENT_TYPE(TLVEditingEvent, void(TObject* Sender, TListItem* Item, bool& AllowEdit))
QZ_EVENT_TYPE(TLVEditedEvent, void(TObject* Sender, TListItem* Item, AnsiString& S))
QZ_EVENT_TYPE(TLVDeletedEvent, void(TObject* Sender, TListItem* Item))

// A compare function for CustomSort: negative, 0 or positive.
using TLVCompare = std::function<int(TListItem* item1, TListItem* item2, int data)>;

class TListView : public TCustomControl {
    QZ_CLASS(TListView)
public:
    explicit TListView(TComponent* owner);
    ~TListView() override;

    TListColumns* Columns() const { return columns_.get(); }
    TListColumn* Column(int index) const { return columns_->Items(index); }
    TListItems* Items() const { return items_.get(); }
    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle v);
    bool MultiSelect() const { return multiSelect_; }
    // Turning multi-selection off keeps only the first selected item.
    void SetMultiSelect(bool v);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v) { readOnly_ = v; }
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool v) { rowSelect_ = v; }
    bool Checkboxes() const { return checkboxes_; }
    void SetCheckboxes(bool v);
    bool GridLines() const { return gridLines_; }
    void SetGridLines(bool v) { gridLines_ = v; }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v) { hideSelection_ = v; }
    bool ColumnClick() const { return columnClick_; }
    void SetColumnClick(bool v) { columnClick_ = v; }
    bool ShowColumnHeaders() const { return showColumnHeaders_; }
    void SetShowColumnHeaders(bool v) { showColumnHeaders_ = v; }
    TSortType SortType() const { return sortType_; }
    // A sort type other than stNone sorts at once and keeps the items sorted.
    void SetSortType(TSortType v);
    TComponent* SmallImages() const { return smallImages_; }
    void SetSmallImages(TComponent* v);
    TComponent* LargeImages() const { return largeImages_; }
    void SetLargeImages(TComponent* v);
    TComponent* StateImages() const { return stateImages_; }
    void SetStateImages(TComponent* v);

    // The first selected item; setting one selects it (alone unless multi-selecting), nullptr
    // clears the selection.
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    int SelCount() const;
    TListItem* ItemFocused() const { return focused_; }
    void SetItemFocused(TListItem* item);
    int ItemIndex() const;
    void SetItemIndex(int index);
    void ClearSelection();
    void SelectAll();
    // The next item after start (from the first when nullptr) in the direction having all states.
    TListItem* GetNextItem(TListItem* start, TSearchDirection direction, TItemStates states) const;
    TListItem* FindCaption(int startIndex, const AnsiString& value, bool partial, bool inclusive,
                           bool wrap) const;

    // Sorts with OnCompare (data 0), or by caption without regard to case when it is not set.
    bool AlphaSort();
    // Sorts with the function, or as AlphaSort with data when it is empty.
    bool CustomSort(const TLVCompare& compare, int data);

    // In-place caption editing.
    bool IsEditing() const { return editing_ != nullptr; }
    TListItem* EditingItem() const { return editing_; }
    const AnsiString& EditText() const { return editText_; }
    void SetEditText(const AnsiString& v) { editText_ = v; }
    // Ends the edit: unless cancelled, OnEdited may change the text, which becomes the caption.
    void EndEdit(bool cancel);

    // The user's click on a column header.
    void ClickColumn(int index);

    // Layout of the report view: a header row, then rows of the font's height plus 4.
    int RowHeight();
    int HeaderHeight();
    TRect ItemRect(int index);
    TListItem* GetItemAt(int x, int y);
    TListItem* TopItem() const {
        return items_->Count() ? items_->Item(std::min(topIndex_, items_->Count() - 1)) : nullptr;
    }
    int VisibleRowCount();
    void Scroll(int dx, int dy);

    TLVChangeEvent OnChange;
    TLVChangingEvent OnChanging;
    TLVSelectItemEvent OnSelectItem;
    TLVColumnClickEvent OnColumnClick;
    TLVCompareEvent OnCompare;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;
    TLVDeletedEvent OnDeletion;
    TLVDeletedEvent OnInsert;

protected:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumns;
    void Notification(TComponent* component, TOperation operation) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(Word& key, TShiftState shift) override;
    bool WantsKey(Word key, TShiftState shift) const override;
    // Re-sorts after a change when the sort type asks for it (not while updating).
    void SortIfNeeded(bool textChanged, bool dataChanged);
    void ItemDeleting(TListItem* item);

private:
    std::unique_ptr<TListColumns> columns_;
    std::unique_ptr<TListItems> items_;
    TViewStyle viewStyle_ = vsIcon;
    bool multiSelect_ = false;
    bool readOnly_ = false;
    bool rowSelect_ = false;
    bool checkboxes_ = false;
    bool gridLines_ = false;
    bool hideSelection_ = true;
    bool columnClick_ = true;
    bool showColumnHeaders_ = true;
    TSortType sortType_ = stNone;
    TComponent* smallImages_ = nullptr;
    TComponent* largeImages_ = nullptr;
    TComponent* stateImages_ = nullptr;
    TListItem* focused_ = nullptr;
    TListItem* editing_ = nullptr;
    AnsiString editText_;
    int topIndex_ = 0;
    bool sortPending_ = false;
    bool sorting_ = false;
};

} // namespace qz
