#include "platform/vcl/ListView.h"
#include "platform/core/Strings.h"
#include "platform/gfx/Canvas.h"
#include <algorithm>

namespace qz {

// ---- columns

QZ_CLASS_INFO(TListColumn, TCollectionItem) {
    b.Property("Alignment", &TListColumn::Alignment, &TListColumn::SetAlignment).Default(taLeftJustify);
    b.Property("AutoSize", &TListColumn::AutoSize, &TListColumn::SetAutoSize).Default(false);
    b.Property("Caption", &TListColumn::Caption, &TListColumn::SetCaption);
    b.Property("ImageIndex", &TListColumn::ImageIndex, &TListColumn::SetImageIndex).Default(-1);
    b.Property("MaxWidth", &TListColumn::MaxWidth, &TListColumn::SetMaxWidth).Default(0);
    b.Property("MinWidth", &TListColumn::MinWidth, &TListColumn::SetMinWidth).Default(0);
    b.Property("Tag", &TListColumn::Tag, &TListColumn::SetTag).Default(0);
    b.Property("Width", &TListColumn::Width, &TListColumn::SetWidth).Default(50);
}

void TListColumn::SetCaption(const AnsiString& v) {
    caption_ = v;
    Changed();
}

void TListColumn::SetWidth(int v) {
    if (minWidth_ > 0 && v < minWidth_) v = minWidth_;
    if (maxWidth_ > 0 && v > maxWidth_) v = maxWidth_;
    width_ = v;
    Changed();
}

void TListColumn::SetAlignment(TAlignment v) {
    alignment_ = v;
    Changed();
}

void TListColumn::SetAutoSize(bool v) {
    autoSize_ = v;
    Changed();
}

QZ_CLASS_INFO(TListColumns, TCollection) {}

TListColumns::TListColumns(TListView* owner) : TCollection(TListColumn::StaticClass()), view_(owner) {}

TPersistent* TListColumns::GetOwner() const {
    return view_;
}

void TListColumns::Update(TCollectionItem* item) {
    TCollection::Update(item);
    if (view_) view_->Invalidate();
}

// ---- items

QZ_CLASS_INFO(TListItem, TPersistent) {}

TListItem::TListItem(TListItems* owner) : owner_(owner), subItems_(std::make_unique<TStringList>()) {
    subItems_->OnChange = [this](TObject*) {
        if (TListView* v = ListView()) v->Invalidate();
    };
}

TListItem::~TListItem() = default;

TListView* TListItem::ListView() const {
    return owner_ ? owner_->view_ : nullptr;
}

int TListItem::Index() const {
    return owner_ ? owner_->IndexOf(this) : -1;
}

void TListItem::SetCaption(const AnsiString& v) {
    if (v == caption_) return;
    caption_ = v;
    if (TListView* view = ListView()) {
        view->OnChange(view, this, ctText);
        view->SortIfNeeded(true, false);
        view->Invalidate();
    }
}

void TListItem::SetSubItems(TStrings* v) {
    if (v)
        subItems_->Assign(*v);
    else
        subItems_->Clear();
}

void TListItem::SetImageIndex(int v) {
    if (v == imageIndex_) return;
    imageIndex_ = v;
    if (TListView* view = ListView()) {
        view->OnChange(view, this, ctImage);
        view->Invalidate();
    }
}

void TListItem::SetStateIndex(int v) {
    stateIndex_ = v;
    if (TListView* view = ListView()) view->Invalidate();
}

bool TListItem::ChangeState(bool* flag, bool value, bool ask) {
    TListView* view = ListView();
    if (!view || view->IsLoading()) {
        *flag = value;
        return true;
    }
    bool allow = true;
    if (ask) view->OnChanging(view, this, ctState, allow);
    if (!allow) return false;
    *flag = value;
    view->OnChange(view, this, ctState);
    if (flag == &selected_) view->OnSelectItem(view, this, value);
    view->Invalidate();
    return true;
}

void TListItem::SetChecked(bool v) {
    if (v != checked_) ChangeState(&checked_, v);
}

void TListItem::SetSelected(bool v) {
    if (v == selected_) return;
    TListView* view = ListView();
    if (v && view && !view->multiSelect_ && !view->IsLoading()) {
        // The new item is asked first; a refusal keeps the old selection.
        bool allow = true;
        view->OnChanging(view, this, ctState, allow);
        if (!allow) return;
        for (TListItem* other : owner_->items_)
            if (other != this && other->selected_) other->ChangeState(&other->selected_, false);
        ChangeState(&selected_, true, false);
        return;
    }
    ChangeState(&selected_, v);
}

bool TListItem::Focused() const {
    TListView* view = ListView();
    return view && view->focused_ == this;
}

void TListItem::SetFocused(bool v) {
    TListView* view = ListView();
    if (!view) return;
    if (v)
        view->SetItemFocused(this);
    else if (view->focused_ == this)
        view->SetItemFocused(nullptr);
}

void TListItem::SetData(void* v) {
    data_ = v;
    if (TListView* view = ListView()) view->SortIfNeeded(false, true);
}

bool TListItem::EditCaption() {
    TListView* view = ListView();
    if (!view || view->readOnly_) return false;
    if (view->editing_) view->EndEdit(false);
    bool allow = true;
    view->OnEditing(view, this, allow);
    if (!allow) return false;
    view->editing_ = this;
    view->editText_ = caption_;
    return true;
}

void TListItem::CancelEdit() {
    TListView* view = ListView();
    if (view && view->editing_ == this) view->EndEdit(true);
}

void TListItem::Delete() {
    if (owner_) owner_->Delete(Index());
}

QZ_CLASS_INFO(TListItems, TPersistent) {
    b.Public().Property("Count", &TListItems::Count);
}

TListItems::~TListItems() {
    for (TListItem* item : items_) delete item;
}

TListItem* TListItems::Item(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return items_[index];
}

TListItem* TListItems::Add() {
    return Insert(Count());
}

TListItem* TListItems::Insert(int index) {
    index = std::clamp(index, 0, Count());
    auto* item = new TListItem(this);
    items_.insert(items_.begin() + index, item);
    if (view_) {
        view_->OnInsert(view_, item);
        view_->Invalidate();
    }
    return item;
}

void TListItems::Delete(int index) {
    TListItem* item = Item(index);
    if (view_) view_->ItemDeleting(item);
    items_.erase(items_.begin() + IndexOf(item));
    delete item;
    if (view_) view_->Invalidate();
}

void TListItems::Clear() {
    BeginUpdate();
    while (!items_.empty()) Delete(Count() - 1);
    EndUpdate();
}

int TListItems::IndexOf(const TListItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TListItems::BeginUpdate() {
    ++updateCount_;
}

void TListItems::EndUpdate() {
    if (updateCount_ == 0 || --updateCount_ > 0 || !view_) return;
    if (view_->sortPending_) {
        view_->sortPending_ = false;
        view_->AlphaSort();
    }
    view_->Invalidate();
}

// ---- the view

QZ_CLASS_INFO(TListView, TCustomControl) {
    b.Property("Checkboxes", &TListView::Checkboxes, &TListView::SetCheckboxes).Default(false);
    b.Property("ColumnClick", &TListView::ColumnClick, &TListView::SetColumnClick).Default(true);
    b.Property("Columns", &TListView::Columns);
    b.Property("GridLines", &TListView::GridLines, &TListView::SetGridLines).Default(false);
    b.Property("HideSelection", &TListView::HideSelection, &TListView::SetHideSelection).Default(true);
    b.Property("LargeImages", &TListView::LargeImages, &TListView::SetLargeImages)
        .TypeName("TCustomImageList");
    b.Property("MultiSelect", &TListView::MultiSelect, &TListView::SetMultiSelect).Default(false);
    b.Property("ReadOnly", &TListView::ReadOnly, &TListView::SetReadOnly).Default(false);
    b.Property("RowSelect", &TListView::RowSelect, &TListView::SetRowSelect).Default(false);
    b.Property("ShowColumnHeaders", &TListView::ShowColumnHeaders, &TListView::SetShowColumnHeaders)
        .Default(true);
    b.Property("SmallImages", &TListView::SmallImages, &TListView::SetSmallImages)
        .TypeName("TCustomImageList");
    b.Property("SortType", &TListView::SortType, &TListView::SetSortType).Default(stNone);
    b.Property("StateImages", &TListView::StateImages, &TListView::SetStateImages)
        .TypeName("TCustomImageList");
    b.Property("ViewStyle", &TListView::ViewStyle, &TListView::SetViewStyle).Default(vsIcon);
    b.Event("OnChange", &TListView::OnChange);
    b.Event("OnChanging", &TListView::OnChanging);
    b.Event("OnColumnClick", &TListView::OnColumnClick);
    b.Event("OnCompare", &TListView::OnCompare);
    b.Event("OnDeletion", &TListView::OnDeletion);
    b.Event("OnEdited", &TListView::OnEdited);
    b.Event("OnEditing", &TListView::OnEditing);
    b.Event("OnInsert", &TListView::OnInsert);
    b.Event("OnSelectItem", &TListView::OnSelectItem);
    b.Public().Property("ItemIndex", &TListView::ItemIndex, &TListView::SetItemIndex);
    b.Property("Items", &TListView::Items);
    b.Property("SelCount", &TListView::SelCount);
}

TListView::TListView(TComponent* owner)
    : TCustomControl(owner), columns_(std::make_unique<TListColumns>(this)),
      items_(std::make_unique<TListItems>(this)) {
    SetBounds(0, 0, 250, 150);
    SetTabStop(true);
}

TListView::~TListView() {
    // Items go without deletion events.
    items_.reset();
    columns_.reset();
}

void TListView::SetViewStyle(TViewStyle v) {
    viewStyle_ = v;
    Invalidate();
}

void TListView::SetMultiSelect(bool v) {
    if (v == multiSelect_) return;
    multiSelect_ = v;
    if (!v) {
        bool first = true;
        for (TListItem* item : items_->items_) {
            if (!item->selected_) continue;
            if (first)
                first = false;
            else
                item->ChangeState(&item->selected_, false);
        }
    }
}

void TListView::SetCheckboxes(bool v) {
    checkboxes_ = v;
    Invalidate();
}

void TListView::SetSortType(TSortType v) {
    if (v == sortType_) return;
    sortType_ = v;
    if (v != stNone && !IsLoading()) AlphaSort();
}

namespace {
void SetRef(TComponent* self, TComponent*& field, TComponent* v) {
    if (field) field->RemoveFreeNotification(self);
    field = v;
    if (v) v->FreeNotification(self);
}
} // namespace

void TListView::SetSmallImages(TComponent* v) {
    SetRef(this, smallImages_, v);
}
void TListView::SetLargeImages(TComponent* v) {
    SetRef(this, largeImages_, v);
}
void TListView::SetStateImages(TComponent* v) {
    SetRef(this, stateImages_, v);
}

void TListView::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == smallImages_) smallImages_ = nullptr;
    if (component == largeImages_) largeImages_ = nullptr;
    if (component == stateImages_) stateImages_ = nullptr;
}

TListItem* TListView::Selected() const {
    return GetNextItem(nullptr, sdAll, {isSelected});
}

void TListView::SetSelected(TListItem* item) {
    if (!item) {
        ClearSelection();
        return;
    }
    if (!multiSelect_) {
        item->SetSelected(true);
        return;
    }
    for (TListItem* other : items_->items_)
        if (other != item && other->selected_) other->ChangeState(&other->selected_, false);
    item->SetSelected(true);
}

int TListView::SelCount() const {
    return static_cast<int>(std::count_if(items_->items_.begin(), items_->items_.end(),
                                          [](TListItem* i) { return i->selected_; }));
}

void TListView::SetItemFocused(TListItem* item) {
    if (item && item->owner_ != items_.get()) return;
    focused_ = item;
    Invalidate();
}

int TListView::ItemIndex() const {
    TListItem* s = Selected();
    return s ? s->Index() : -1;
}

void TListView::SetItemIndex(int index) {
    SetSelected(index >= 0 && index < items_->Count() ? items_->Item(index) : nullptr);
}

void TListView::ClearSelection() {
    for (TListItem* item : items_->items_)
        if (item->selected_) item->ChangeState(&item->selected_, false);
}

void TListView::SelectAll() {
    if (!multiSelect_) return;
    for (TListItem* item : items_->items_)
        if (!item->selected_) item->ChangeState(&item->selected_, true);
}

TListItem* TListView::GetNextItem(TListItem* start, TSearchDirection direction, TItemStates states) const {
    const auto& list = items_->items_;
    int n = static_cast<int>(list.size());
    bool back = direction == sdAbove || direction == sdLeft;
    int i = start ? items_->IndexOf(start) : (back ? n : -1);
    for (i += back ? -1 : 1; i >= 0 && i < n; i += back ? -1 : 1) {
        TListItem* item = list[i];
        if (states.Contains(isSelected) && !item->selected_) continue;
        if (states.Contains(isFocused) && item != focused_) continue;
        return item;
    }
    return nullptr;
}

TListItem* TListView::FindCaption(int startIndex, const AnsiString& value, bool partial, bool inclusive,
                                  bool wrap) const {
    int n = items_->Count();
    if (n == 0) return nullptr;
    int first = inclusive ? startIndex : startIndex + 1;
    for (int k = 0; k < n; ++k) {
        int i = first + k;
        if (i >= n) {
            if (!wrap) return nullptr;
            i -= n;
        }
        if (i < 0) continue;
        const AnsiString& c = items_->Item(i)->Caption();
        if (partial ? SameText(c.substr(0, value.size()), value) : SameText(c, value)) return items_->Item(i);
    }
    return nullptr;
}

bool TListView::AlphaSort() {
    return CustomSort(nullptr, 0);
}

bool TListView::CustomSort(const TLVCompare& compare, int data) {
    if (sorting_) return false;
    sorting_ = true;
    auto cmp = [&](TListItem* a, TListItem* b) -> int {
        if (compare) return compare(a, b, data);
        if (OnCompare) {
            int r = 0;
            OnCompare(this, a, b, data, r);
            return r;
        }
        int r = CompareText(a->caption_, b->caption_);
        return r != 0 ? r : a->caption_.compare(b->caption_);
    };
    try {
        std::stable_sort(items_->items_.begin(), items_->items_.end(),
                         [&](TListItem* a, TListItem* b) { return cmp(a, b) < 0; });
    } catch (...) {
        sorting_ = false;
        throw;
    }
    sorting_ = false;
    Invalidate();
    return true;
}

void TListView::SortIfNeeded(bool textChanged, bool dataChanged) {
    if (sorting_ || IsLoading()) return;
    bool need = (textChanged && (sortType_ == stText || sortType_ == stBoth)) ||
                (dataChanged && (sortType_ == stData || sortType_ == stBoth));
    if (!need) return;
    if (items_->Updating())
        sortPending_ = true;
    else
        AlphaSort();
}

void TListView::ItemDeleting(TListItem* item) {
    if (editing_ == item) editing_ = nullptr;
    if (focused_ == item) focused_ = nullptr;
    OnDeletion(this, item);
}

void TListView::EndEdit(bool cancel) {
    TListItem* item = editing_;
    if (!item) return;
    editing_ = nullptr;
    if (cancel) return;
    AnsiString s = editText_;
    OnEdited(this, item, s);
    if (items_->IndexOf(item) >= 0) item->SetCaption(s);
}

void TListView::ClickColumn(int index) {
    if (!columnClick_ || index < 0 || index >= columns_->Count()) return;
    OnColumnClick(this, columns_->Items(index));
}

int TListView::RowHeight() {
    return Canvas()->TextHeight("Wg") + 4;
}

int TListView::HeaderHeight() {
    return viewStyle_ == vsReport && showColumnHeaders_ ? Canvas()->TextHeight("Wg") + 6 : 0;
}

TRect TListView::ItemRect(int index) {
    int top = HeaderHeight() + (index - topIndex_) * RowHeight();
    int right = Width();
    if (viewStyle_ == vsReport && columns_->Count() > 0) {
        right = 0;
        for (int i = 0; i < columns_->Count(); ++i) right += columns_->Items(i)->Width();
    }
    return Rect(0, top, right, top + RowHeight());
}

TListItem* TListView::GetItemAt(int x, int y) {
    if (y < HeaderHeight()) return nullptr;
    int index = topIndex_ + (y - HeaderHeight()) / RowHeight();
    if (index < 0 || index >= items_->Count()) return nullptr;
    return ItemRect(index).Contains({x, y}) ? items_->Item(index) : nullptr;
}

int TListView::VisibleRowCount() {
    return std::max(0, (Height() - HeaderHeight()) / RowHeight());
}

void TListView::Scroll(int dx, int dy) {
    topIndex_ = std::clamp(topIndex_ + dy / std::max(RowHeight(), 1), 0, std::max(items_->Count() - 1, 0));
    Invalidate();
}

void TListView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (CanFocus() && !Focused()) SetFocus();
    TCustomControl::MouseDown(button, shift, x, y);
    if (viewStyle_ == vsReport && y < HeaderHeight()) {
        int left = 0;
        for (int i = 0; i < columns_->Count(); ++i) {
            int w = columns_->Items(i)->Width();
            if (x >= left && x < left + w) {
                if (button == mbLeft) ClickColumn(i);
                return;
            }
            left += w;
        }
        return;
    }
    TListItem* item = GetItemAt(x, y);
    if (!item) {
        if (button == mbLeft && !shift.Contains(ssCtrl)) ClearSelection();
        return;
    }
    if (checkboxes_ && button == mbLeft && x < 16) item->SetChecked(!item->Checked());
    if (multiSelect_ && shift.Contains(ssCtrl))
        item->SetSelected(!item->Selected());
    else if (!item->Selected() || SelCount() > 1)
        SetSelected(item);
    SetItemFocused(item);
}

bool TListView::WantsKey(Word key, TShiftState shift) const {
    return key == VK_UP || key == VK_DOWN || key == VK_HOME || key == VK_END || key == VK_PRIOR ||
           key == VK_NEXT || key == VK_LEFT || key == VK_RIGHT;
}

void TListView::KeyDown(Word& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    int n = items_->Count();
    if (n == 0 || key == 0) return;
    int cur = focused_ ? focused_->Index() : ItemIndex();
    int next = cur;
    switch (key) {
    case VK_UP:
    case VK_LEFT: next = cur < 0 ? 0 : std::max(cur - 1, 0); break;
    case VK_DOWN:
    case VK_RIGHT: next = cur < 0 ? 0 : std::min(cur + 1, n - 1); break;
    case VK_HOME: next = 0; break;
    case VK_END: next = n - 1; break;
    case VK_PRIOR: next = std::max(cur - std::max(VisibleRowCount() - 1, 1), 0); break;
    case VK_NEXT: next = std::min(cur + std::max(VisibleRowCount() - 1, 1), n - 1); break;
    case VK_SPACE:
        if (checkboxes_ && focused_) focused_->SetChecked(!focused_->Checked());
        return;
    default: return;
    }
    if (next != cur || !items_->Item(next)->Selected()) {
        SetSelected(items_->Item(next));
        SetItemFocused(items_->Item(next));
    }
    key = 0;
}

void TListView::Paint() {
    TCanvas* c = Canvas();
    c->Brush().SetColor(Color());
    c->FillRect(ClientRect());
    const bool report = viewStyle_ == vsReport;
    if (report && showColumnHeaders_) {
        int left = 0, h = HeaderHeight();
        for (int i = 0; i < columns_->Count(); ++i) {
            TListColumn* col = columns_->Items(i);
            TRect r = Rect(left, 0, left + col->Width(), h);
            c->Brush().SetColor(clBtnFace);
            c->FillRect(r);
            c->Brush().SetStyle(bsClear);
            TRect t = InflateRect(r, -4, 0);
            c->DrawText(col->Caption(), t, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
            left += col->Width();
        }
    }
    for (int i = topIndex_; i < items_->Count(); ++i) {
        TRect row = ItemRect(i);
        if (row.Top >= Height()) break;
        TListItem* item = items_->Item(i);
        bool highlight = item->Selected() && (Focused() || !hideSelection_);
        int left = 0;
        int columns = report ? std::max(columns_->Count(), 1) : 1;
        for (int col = 0; col < columns; ++col) {
            int w = report && columns_->Count() ? columns_->Items(col)->Width() : Width();
            TRect cell = Rect(left, row.Top, left + w, row.Bottom);
            if (col == 0 && checkboxes_) cell.Left += 16;
            left += w;
            AnsiString text =
                col == 0 ? item->Caption()
                         : (col - 1 < item->SubItems()->Count() ? item->SubItems()->Get(col - 1) : "");
            bool lit = highlight && (col == 0 || rowSelect_);
            c->Brush().SetColor(lit ? clHighlight : Color());
            c->Font().SetColor(lit ? clHighlightText : Font()->Color());
            c->FillRect(cell);
            c->Brush().SetStyle(bsClear);
            TRect t = InflateRect(cell, -2, 0);
            unsigned align = DT_LEFT;
            if (report && columns_->Count()) {
                TAlignment a = columns_->Items(col)->Alignment();
                align = a == taCenter ? DT_CENTER : a == taRightJustify ? DT_RIGHT : DT_LEFT;
            }
            c->DrawText(text, t, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | align);
        }
        if (checkboxes_) {
            c->Brush().SetColor(clWindow);
            c->Pen().SetColor(clBtnShadow);
            c->Rectangle(Rect(2, row.Top + 2, 14, row.Top + 14));
            if (item->Checked()) {
                c->Pen().SetColor(clWindowText);
                c->Polyline({{4, row.Top + 8}, {7, row.Top + 11}, {12, row.Top + 4}});
            }
        }
        if (item == focused_ && Focused()) c->DrawFocusRect(row);
    }
    c->Font().SetColor(Font()->Color());
}

} // namespace qz
