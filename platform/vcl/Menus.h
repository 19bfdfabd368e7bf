#pragma once
// Menus: items with caption, check marks, radio groups and click events; main and popup menus.
#include "platform/gfx/Geometry.h"
#include "platform/vcl/Classes.h"
#include "platform/vcl/Messages.h"
#include <functional>
#include <vector>

namespace qz {

class TMenu;
class TPopupMenu;

using TShortCut = Word;
// A short cut from a key and shift state (Shift 0x2000, Ctrl 0x4000, Alt 0x8000 over the key).
TShortCut ShortCut(Word key, TShiftState shift);

class TMenuItem : public TComponent {
    QZ_CLASS(TMenuItem)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& v) { caption_ = v; }
    bool Checked() const { return checked_; }
    // Checking a radio item unchecks the other radio items of its group among its siblings.
    void SetChecked(bool v);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool v);
    Byte GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(Byte v);
    // Clicking checks a radio item and toggles another item (set by AutoCheck).
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool v) { autoCheck_ = v; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v) { enabled_ = v; }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { visible_ = v; }
    bool Default() const { return default_; }
    void SetDefault(bool v) { default_ = v; }
    TShortCut ShortCutKey() const { return shortCut_; }
    void SetShortCut(TShortCut v) { shortCut_ = v; }
    const AnsiString& Hint() const { return hint_; }
    void SetHint(const AnsiString& v) { hint_ = v; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v) { imageIndex_ = v; }
    // A caption of "-" makes a separator line.
    bool IsLine() const { return caption_ == "-"; }

    // Sub-items.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* operator[](int index) const { return Items(index); }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the item out of this menu without freeing it.
    void Remove(TMenuItem* item);
    // Frees the sub-item.
    void Delete(int index);
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    // The sub-item of that caption (accelerator markers ignored), nullptr when none.
    TMenuItem* Find(const AnsiString& caption) const;
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
    // The menu whose tree holds the item.
    TMenu* GetParentMenu() const;

    // Runs the item: automatic checking, then OnClick. Nothing for a disabled item.
    virtual void Click();

    void SetParentComponent(TComponent* parent) override;
    TComponent* GetParentComponent() const override;
    bool HasParent() const override { return true; }

    TNotifyEvent OnClick;

private:
    friend class TMenu;
    void UncheckGroup();

    AnsiString caption_;
    bool checked_ = false;
    bool radioItem_ = false;
    Byte groupIndex_ = 0;
    bool autoCheck_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool default_ = false;
    TShortCut shortCut_ = 0;
    AnsiString hint_;
    int imageIndex_ = -1;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr; // set on the root item of a menu
};

class TMenu : public TComponent {
    QZ_CLASS(TMenu)
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    // The root item, whose sub-items are the menu's items.
    TMenuItem* Items() const { return items_; }
    // Clicks the enabled, visible item of that short cut anywhere in the menu; false when none.
    bool IsShortCut(Word key, TShiftState shift);
    // Finds an item by caption path ("File|Open"); nullptr when none.
    TMenuItem* FindItem(const AnsiString& path) const;
    // The items are drawn by the program (in the font the code converter chose).
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool v) { ownerDraw_ = v; }

private:
    TMenuItem* items_;
    bool ownerDraw_ = false;
};

class TMainMenu : public TMenu {
    QZ_CLASS(TMainMenu)
public:
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
};

QZ_ENUM(TPopupAlignment, paLeft, paRight, paCenter)

class TPopupMenu : public TMenu {
    QZ_CLASS(TPopupMenu)
public:
    explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
    ~TPopupMenu() override;

    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool v) { autoPopup_ = v; }
    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment v) { alignment_ = v; }
    // The control the menu was last shown for.
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* v);
    TPoint PopupPoint() const { return popupPoint_; }

    // Shows the menu at a screen point: OnPopup, then the popup host chooses an item (it calls the
    // item's Click) or nothing.
    virtual void Popup(int x, int y);

    TNotifyEvent OnPopup;

    // The host that shows popup menus (the display backend, or a test); without one a popup closes
    // with nothing chosen. Returns the previous host.
    using PopupHost = std::function<void(TPopupMenu& menu, int x, int y)>;
    static PopupHost SetPopupHost(PopupHost host);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool autoPopup_ = true;
    TPopupAlignment alignment_ = paLeft;
    TComponent* popupComponent_ = nullptr;
    TPoint popupPoint_;
};

} // namespace qz
