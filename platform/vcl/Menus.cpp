#include "platform/vcl/Menus.h"
#include "platform/core/Strings.h"
#include <algorithm>

namespace qz {

namespace {

TPopupMenu::PopupHost& Host() {
    static TPopupMenu::PopupHost host;
    return host;
}

AnsiString WithoutAccel(const AnsiString& s) {
    AnsiString r;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size())
            ++i;
        else if (s[i] == '&')
            continue;
        r += s[i];
    }
    return r;
}

} // namespace

TShortCut ShortCut(Word key, TShiftState shift) {
    TShortCut r = key & 0xFF;
    if (shift.Contains(ssShift)) r |= 0x2000;
    if (shift.Contains(ssCtrl)) r |= 0x4000;
    if (shift.Contains(ssAlt)) r |= 0x8000;
    return r;
}

// ---- TMenuItem

QZ_CLASS_INFO(TMenuItem, TComponent) {
    b.Property("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck).Default(false);
    b.Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
    b.Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false);
    b.Property("Default", &TMenuItem::Default, &TMenuItem::SetDefault).Default(false);
    b.Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true);
    b.Property("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(Byte(0));
    b.Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
    b.Property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1);
    b.Property("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(false);
    b.Property("ShortCut", &TMenuItem::ShortCutKey, &TMenuItem::SetShortCut)
        .TypeName("TShortCut")
        .Default(Word(0));
    b.Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true);
    b.Event("OnClick", &TMenuItem::OnClick);
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    while (!items_.empty()) {
        TMenuItem* child = items_.back();
        items_.pop_back();
        child->parent_ = nullptr;
        child->Free();
    }
    if (parent_) parent_->Remove(this);
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError("Menu index out of range");
    return items_[index];
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    if (item->parent_) throw EInvalidOperation("Menu inserted twice");
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    if (item->checked_ && item->radioItem_) item->UncheckGroup();
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
}

void TMenuItem::Delete(int index) {
    TMenuItem* item = Items(index);
    Remove(item);
    item->Free();
}

void TMenuItem::Clear() {
    while (!items_.empty()) Delete(Count() - 1);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const AnsiString& caption) const {
    AnsiString wanted = WithoutAccel(caption);
    for (TMenuItem* item : items_)
        if (SameText(WithoutAccel(item->caption_), wanted)) return item;
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->parent_) item = item->parent_;
    return item->menu_;
}

void TMenuItem::UncheckGroup() {
    if (!parent_) return;
    for (TMenuItem* sibling : parent_->items_)
        if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_)
            sibling->checked_ = false;
}

void TMenuItem::SetChecked(bool v) {
    checked_ = v;
    if (v && radioItem_) UncheckGroup();
}

void TMenuItem::SetRadioItem(bool v) {
    radioItem_ = v;
    if (v && checked_) UncheckGroup();
}

void TMenuItem::SetGroupIndex(Byte v) {
    groupIndex_ = v;
    if (radioItem_ && checked_) UncheckGroup();
}

void TMenuItem::Click() {
    if (!enabled_) return;
    if (autoCheck_) SetChecked(radioItem_ ? true : !checked_);
    OnClick(this);
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (parent_) parent_->Remove(this);
    if (auto* item = dynamic_cast<TMenuItem*>(parent))
        item->Add(this);
    else if (auto* menu = dynamic_cast<TMenu*>(parent))
        menu->Items()->Add(this);
}

TComponent* TMenuItem::GetParentComponent() const {
    if (parent_ && parent_->menu_) return parent_->menu_;
    return parent_;
}

// ---- TMenu

QZ_CLASS_INFO(TMenu, TComponent) { b.Property("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw).Default(false); }

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) {
    items_->menu_ = this;
}

TMenu::~TMenu() {
    items_->Free();
}

namespace {
TMenuItem* FindShortCut(TMenuItem* item, TShortCut sc) {
    for (int i = 0; i < item->Count(); ++i) {
        TMenuItem* child = item->Items(i);
        if (!child->Visible()) continue;
        if (child->ShortCutKey() == sc && child->Enabled()) return child;
        if (TMenuItem* found = FindShortCut(child, sc)) return found;
    }
    return nullptr;
}
} // namespace

bool TMenu::IsShortCut(Word key, TShiftState shift) {
    TShortCut sc = ShortCut(key, shift);
    if ((sc & 0xFF) == 0) return false;
    TMenuItem* item = FindShortCut(items_, sc);
    if (!item) return false;
    item->Click();
    return true;
}

TMenuItem* TMenu::FindItem(const AnsiString& path) const {
    TMenuItem* item = items_;
    AnsiString rest = path;
    while (item) {
        std::size_t bar = rest.find('|');
        item = item->Find(rest.substr(0, bar));
        if (bar == AnsiString::npos) return item;
        rest = rest.substr(bar + 1);
    }
    return nullptr;
}

// ---- TMainMenu, TPopupMenu

QZ_CLASS_INFO(TMainMenu, TMenu) {}

QZ_CLASS_INFO(TPopupMenu, TMenu) {
    b.Property("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment).Default(paLeft);
    b.Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
    b.Event("OnPopup", &TPopupMenu::OnPopup);
}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::SetPopupComponent(TComponent* v) {
    if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
    popupComponent_ = v;
    if (v) v->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::Popup(int x, int y) {
    popupPoint_ = {x, y};
    OnPopup(this);
    if (Host()) Host()(*this, x, y);
}

TPopupMenu::PopupHost TPopupMenu::SetPopupHost(PopupHost host) {
    PopupHost previous = std::move(Host());
    Host() = std::move(host);
    return previous;
}

} // namespace qz
