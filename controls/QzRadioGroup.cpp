#include "controls/QzRadioGroup.h"
#include "platform/gfx/Canvas.h"
#include "platform/vcl/Forms.h"
#include <algorithm>

namespace qz {

// ---- TQzGroupButton ----

QZ_CLASS_INFO(TQzGroupButton, TQzRadioButton) {}

TQzGroupButton::TQzGroupButton(TComponent* group)
    : TQzRadioButton(group), group_(dynamic_cast<TQzRadioGroup*>(group)) {
    SetVisible(false);
    SetParentShowHint(false);
    if (!group_) return;
    SetEnabled(group_->Enabled());
    OnClick = TNotifyEvent(group_, &TQzRadioGroup::ButtonClick);
    group_->buttons_.push_back(this);
    SetParent(group_);
}

TQzGroupButton::~TQzGroupButton() {
    if (group_) {
        auto& list = group_->buttons_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
}

void TQzGroupButton::ButtonClicked() {
    if (inClick_) return;
    inClick_ = true;
    try {
        if (!group_ || group_->CanModify()) TQzRadioButton::ButtonClicked();
    } catch (...) {
        Application->HandleException(this);
    }
    inClick_ = false;
}

void TQzGroupButton::ButtonDoubleClicked() {
    if (inClick_) return;
    inClick_ = true;
    try {
        if (!group_ || group_->CanModify()) TQzRadioButton::ButtonDoubleClicked();
    } catch (...) {
        Application->HandleException(this);
    }
    inClick_ = false;
}

void TQzGroupButton::KeyPress(char& key) {
    TQzRadioButton::KeyPress(key);
    if (!group_) return;
    group_->GroupKeyPress(key);
    if ((key == 8 || key == ' ') && !group_->CanModify()) key = 0;
}

void TQzGroupButton::KeyDown(Word& key, TShiftState shift) {
    TQzRadioButton::KeyDown(key, shift);
    if (group_) group_->GroupKeyDown(key, shift);
}

// ---- TQzRadioGroup ----

QZ_CLASS_INFO(TQzRadioGroup, TGroupBox) {
    b.Property("Ctl3D", &TQzRadioGroup::Ctl3D, &TQzRadioGroup::SetCtl3D);
    b.Property("TabStop", &TQzRadioGroup::TabStop, &TQzRadioGroup::SetTabStop).Default(false);
    b.Property("Items", &TQzRadioGroup::Items, &TQzRadioGroup::SetItems);
    b.Property("ItemIndex", &TQzRadioGroup::ItemIndex, &TQzRadioGroup::SetItemIndex).Default(-1);
    b.Property("Columns", &TQzRadioGroup::Columns, &TQzRadioGroup::SetColumns).Default(1);
}

TQzRadioGroup::TQzRadioGroup(TComponent* owner) : TGroupBox(owner), items_(std::make_unique<TStringList>()) {
    items_->OnChange = [this](TObject*) { ItemsChange(); };
}

TQzRadioGroup::~TQzRadioGroup() {
    items_->OnChange = nullptr;
    SetButtonCount(0);
}

void TQzRadioGroup::SetItems(TStrings* v) {
    if (v && v != items_.get()) items_->Assign(*v);
}

void TQzRadioGroup::ItemsChange() {
    if (Reading()) return;
    if (itemIndex_ >= items_->Count()) itemIndex_ = items_->Count() - 1;
    UpdateButtons();
}

void TQzRadioGroup::SetButtonCount(int count) {
    while (ButtonCount() < count) new TQzGroupButton(this);
    while (ButtonCount() > count) buttons_.back()->Free();
}

void TQzRadioGroup::UpdateButtons() {
    SetButtonCount(items_->Count());
    for (int i = 0; i < ButtonCount(); ++i) buttons_[i]->SetCaption(items_->Get(i));
    if (itemIndex_ >= 0 && itemIndex_ < ButtonCount()) {
        updating_ = true;
        try {
            buttons_[itemIndex_]->SetChecked(true);
        } catch (...) {
            updating_ = false;
            throw;
        }
        updating_ = false;
    }
    ArrangeButtons();
    Invalidate();
}

void TQzRadioGroup::SetItemIndex(int v) {
    if (Reading()) {
        itemIndex_ = v;
        return;
    }
    v = std::clamp(v, -1, ButtonCount() - 1);
    if (v == itemIndex_) return;
    if (itemIndex_ >= 0 && itemIndex_ < ButtonCount()) buttons_[itemIndex_]->SetChecked(false);
    itemIndex_ = v;
    if (itemIndex_ >= 0) buttons_[itemIndex_]->SetChecked(true);
}

void TQzRadioGroup::SetColumns(int v) {
    v = std::clamp(v, 1, 16);
    if (v == columns_) return;
    columns_ = v;
    ArrangeButtons();
    Invalidate();
}

void TQzRadioGroup::ButtonClick(TObject* sender) {
    if (updating_) return;
    auto it = std::find(buttons_.begin(), buttons_.end(), sender);
    itemIndex_ = it == buttons_.end() ? -1 : static_cast<int>(it - buttons_.begin());
    Click();
}

void TQzRadioGroup::ArrangeButtons() {
    if (Reading() || buttons_.empty()) return;
    const int count = ButtonCount();
    const int h = Canvas()->TextHeight("0");
    const int perColumn = (count + columns_ - 1) / columns_;
    const int buttonWidth = (Width() - 10) / columns_;
    const int rest = Height() - h - 5;
    const int buttonHeight = rest / perColumn;
    const int topMargin = (rest % perColumn) / 2 + h + 1;
    // Moved as one batch: alignment waits until every button has its place.
    DisableAlign();
    for (int i = 0; i < count; ++i) {
        TQzGroupButton* b = buttons_[i];
        b->SetBounds((i / perColumn) * buttonWidth + 8, (i % perColumn) * buttonHeight + topMargin,
                     buttonWidth, buttonHeight);
        b->SetVisible(true);
    }
    EnableAlign();
}

void TQzRadioGroup::SetEnabled(bool v) {
    TGroupBox::SetEnabled(v);
    for (TQzGroupButton* b : buttons_) b->SetEnabled(v);
}

void TQzRadioGroup::Loaded() {
    TGroupBox::Loaded();
    UpdateButtons();
}

void TQzRadioGroup::Resize() {
    TGroupBox::Resize();
    ArrangeButtons();
}

void TQzRadioGroup::FontChanged() {
    TGroupBox::FontChanged();
    ArrangeButtons();
}

} // namespace qz
