#include "platform/vcl/ComCtrls.h"
#include "platform/gfx/Canvas.h"
#include "platform/vcl/Menus.h"
#include <algorithm>

namespace qz {

// ---- TTabSheet

QZ_CLASS_INFO(TTabSheet, TWinControl) {
    b.Property("Caption", &TTabSheet::Caption, &TTabSheet::SetCaption);
    PublishColorAndFont(b);
    b.Property("PageControl", &TTabSheet::PageControl, &TTabSheet::SetPageControl).NotStored();
    b.Property("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex).NotStored();
    b.Property("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible).Default(true);
    b.Property("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex).Default(0);
    b.Event("OnShow", &TTabSheet::OnShow);
    b.Event("OnHide", &TTabSheet::OnHide);
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    SetColor(clBtnFace);
    SetVisible(false);
    SetAlign(alClient);
}

TTabSheet::~TTabSheet() {
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetParent(TWinControl* parent) {
    TWinControl::SetParent(parent);
    auto* pc = dynamic_cast<TPageControl*>(parent);
    if (pc != pageControl_) {
        if (pageControl_) pageControl_->RemovePage(this);
        if (pc) pc->InsertPage(this);
    }
}

void TTabSheet::SetPageControl(TPageControl* v) {
    if (v != pageControl_) SetParent(v);
}

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int v) {
    if (!pageControl_) return;
    auto& pages = pageControl_->pages_;
    int cur = PageIndex();
    v = std::clamp(v, 0, static_cast<int>(pages.size()) - 1);
    if (v == cur) return;
    pages.erase(pages.begin() + cur);
    pages.insert(pages.begin() + v, this);
    pageControl_->Invalidate();
}

void TTabSheet::SetTabVisible(bool v) {
    if (v == tabVisible_) return;
    tabVisible_ = v;
    if (pageControl_) pageControl_->Invalidate();
}

int TTabSheet::TabIndex() const {
    if (!pageControl_ || !tabVisible_) return -1;
    int index = 0;
    for (TTabSheet* p : pageControl_->pages_) {
        if (p == this) return index;
        if (p->tabVisible_) ++index;
    }
    return -1;
}

// ---- TPageControl

QZ_CLASS_INFO(TPageControl, TCustomControl) {
    b.Property("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage);
    b.Property("HotTrack", &TPageControl::HotTrack, &TPageControl::SetHotTrack).Default(false);
    b.Property("MultiLine", &TPageControl::MultiLine, &TPageControl::SetMultiLine).Default(false);
    b.Property("OwnerDraw", &TPageControl::OwnerDraw, &TPageControl::SetOwnerDraw).Default(false);
    b.Property("Style", &TPageControl::Style, &TPageControl::SetStyle).Default(tsTabs);
    b.Property("TabHeight", &TPageControl::TabHeight, &TPageControl::SetTabHeight).Default(0);
    b.Property("TabPosition", &TPageControl::TabPosition, &TPageControl::SetTabPosition).Default(tpTop);
    b.Property("TabWidth", &TPageControl::TabWidth, &TPageControl::SetTabWidth).Default(0);
    b.Event("OnChange", &TPageControl::OnChange);
    b.Event("OnChanging", &TPageControl::OnChanging);
    b.Event("OnDrawTab", &TPageControl::OnDrawTab);
}

TPageControl::TPageControl(TComponent* owner) : TCustomControl(owner) {
    SetColor(clBtnFace);
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
}

TPageControl::~TPageControl() {
    for (TTabSheet* p : pages_) p->pageControl_ = nullptr;
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return pages_[index];
}

int TPageControl::ActivePageIndex() const {
    return activePage_ ? activePage_->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int index) {
    SetActivePage(index >= 0 && index < PageCount() ? pages_[index] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->pageControl_ != this) return;
    ChangeActivePage(page);
}

void TPageControl::ChangeActivePage(TTabSheet* page) {
    if (page == activePage_) return;
    TTabSheet* old = activePage_;
    activePage_ = page;
    if (page) {
        page->BringToFront();
        page->SetVisible(true);
        if (!IsLoading()) page->DoShow();
    }
    if (old) {
        old->SetVisible(false);
        if (!IsLoading()) old->DoHide();
    }
    Invalidate();
}

int TPageControl::TabCount() const {
    return static_cast<int>(
        std::count_if(pages_.begin(), pages_.end(), [](TTabSheet* p) { return p->tabVisible_; }));
}

TTabSheet* TPageControl::PageOfTab(int tabIndex) const {
    if (tabIndex < 0) return nullptr;
    for (TTabSheet* p : pages_) {
        if (!p->tabVisible_) continue;
        if (tabIndex-- == 0) return p;
    }
    return nullptr;
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool tabsOnly) const {
    if (pages_.empty()) return nullptr;
    int n = PageCount();
    int start = current ? current->PageIndex() : -1;
    if (start < 0) start = goForward ? n - 1 : 0;
    int i = start;
    for (int k = 0; k < n; ++k) {
        i = goForward ? (i + 1) % n : (i + n - 1) % n;
        if (!tabsOnly || pages_[i]->tabVisible_) return pages_[i];
    }
    return nullptr;
}

void TPageControl::InsertPage(TTabSheet* page) {
    if (std::find(pages_.begin(), pages_.end(), page) != pages_.end()) return;
    pages_.push_back(page);
    page->pageControl_ = this;
    Invalidate();
}

void TPageControl::RemovePage(TTabSheet* page) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    if (page == activePage_) {
        TTabSheet* next = FindNextPage(page, true, true);
        if (next == page) next = nullptr;
        ChangeActivePage(next);
    }
    pages_.erase(std::find(pages_.begin(), pages_.end(), page));
    page->pageControl_ = nullptr;
    Invalidate();
}

bool TPageControl::CanChange() {
    bool allow = true;
    OnChanging(this, allow);
    return allow;
}

void TPageControl::Change() {
    OnChange(this);
}

bool TPageControl::SelectTab(int tabIndex) {
    TTabSheet* page = PageOfTab(tabIndex);
    if (!page || page == activePage_) return false;
    if (!CanChange()) return false;
    ChangeActivePage(page);
    Change();
    return true;
}

void TPageControl::SelectNextPage(bool goForward) {
    TTabSheet* page = FindNextPage(activePage_, goForward, true);
    if (page && page != activePage_) SelectTab(page->TabIndex());
}

TRect TPageControl::TabRect(int tabIndex) {
    TTabSheet* page = PageOfTab(tabIndex);
    if (!page) return {};
    TCanvas* c = Canvas();
    int h = tabHeight_ > 0 ? tabHeight_ : c->TextHeight("Wg") + 6;
    int x = 2;
    for (int t = 0; t <= tabIndex; ++t) {
        TTabSheet* p = PageOfTab(t);
        int w = tabWidth_ > 0 ? tabWidth_ : c->TextWidth(StripAccel(p->Caption())) + 12;
        if (t == tabIndex) return Bounds(x, 2, w, h);
        x += w;
    }
    return {};
}

int TPageControl::IndexOfTabAt(int x, int y) {
    for (int t = 0; t < TabCount(); ++t)
        if (TabRect(t).Contains({x, y})) return t;
    return -1;
}

void TPageControl::AlignControls(TControl* control, TRect& rect) {
    rect = DisplayRect();
    TCustomControl::AlignControls(control, rect);
}

TRect TPageControl::DisplayRect() {
    int top = TabCount() > 0 ? TabRect(0).Bottom : 0;
    return Rect(4, top + 4, Width() - 4, Height() - 4);
}

void TPageControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
    if (OnDrawTab) {
        OnDrawTab(this, tabIndex, rect, active);
        return;
    }
    TCanvas* c = Canvas();
    TTabSheet* page = PageOfTab(tabIndex);
    if (!page) return;
    TRect r = rect;
    c->Brush().SetColor(clBtnFace);
    c->FillRect(r);
    c->Brush().SetStyle(bsClear);
    c->DrawText(page->Caption(), r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

void TPageControl::Paint() {
    TCanvas* c = Canvas();
    c->Brush().SetColor(Color());
    c->FillRect(ClientRect());
    for (int t = 0; t < TabCount(); ++t) DrawTab(t, TabRect(t), PageOfTab(t) == activePage_);
}

void TPageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    int tab = IndexOfTabAt(x, y);
    if (tab >= 0) SelectTab(tab);
}

void TPageControl::KeyDown(Word& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key == VK_TAB && shift.Contains(ssCtrl)) {
        SelectNextPage(!shift.Contains(ssShift));
        key = 0;
    } else if (key == VK_LEFT || key == VK_RIGHT) {
        SelectNextPage(key == VK_RIGHT);
        key = 0;
    }
}

// ---- TToolButton

QZ_CLASS_INFO(TToolButton, TGraphicControl) {
    b.Property("AllowAllUp", &TToolButton::AllowAllUp, &TToolButton::SetAllowAllUp).Default(false);
    b.Property("Caption", &TToolButton::Caption, &TToolButton::SetCaption);
    b.Property("Down", &TToolButton::Down, &TToolButton::SetDown).Default(false);
    b.Property("DropdownMenu", &TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu);
    b.Property("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped).Default(false);
    b.Property("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex).Default(-1);
    b.Property("Indeterminate", &TToolButton::Indeterminate, &TToolButton::SetIndeterminate).Default(false);
    b.Property("Marked", &TToolButton::Marked, &TToolButton::SetMarked).Default(false);
    b.Property("MenuItem", &TToolButton::MenuItem, &TToolButton::SetMenuItem);
    b.Property("Style", &TToolButton::Style, &TToolButton::SetStyle).Default(tbsButton);
    b.Property("Wrap", &TToolButton::Wrap, &TToolButton::SetWrap).Default(false);
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 23, 22);
}

TToolButton::~TToolButton() = default;

TToolBar* TToolButton::ToolBar() const {
    return dynamic_cast<TToolBar*>(Parent());
}

int TToolButton::Index() const {
    TToolBar* bar = ToolBar();
    if (!bar) return -1;
    for (int i = 0; i < bar->ButtonCount(); ++i)
        if (bar->Buttons(i) == this) return i;
    return -1;
}

void TToolButton::SetDown(bool v) {
    if (v == down_) return;
    if (!v && grouped_ && !allowAllUp_ && style_ == tbsCheck) {
        // The last button down of a group stays down unless all may be up.
        return;
    }
    down_ = v;
    if (v && grouped_) {
        // Release the other grouped check buttons next to this one.
        TToolBar* bar = ToolBar();
        int i = Index();
        if (bar && i >= 0) {
            for (int dir : {-1, 1}) {
                for (int j = i + dir; j >= 0 && j < bar->ButtonCount(); j += dir) {
                    TToolButton* other = bar->Buttons(j);
                    if (!other->grouped_ || other->style_ != tbsCheck) break;
                    other->down_ = false;
                    other->Invalidate();
                }
            }
        }
    }
    Invalidate();
}

void TToolButton::Click() {
    if (style_ == tbsCheck) {
        if (grouped_ && down_ && !allowAllUp_) {
            // stays down
        } else {
            bool saved = allowAllUp_;
            allowAllUp_ = true;
            SetDown(!down_);
            allowAllUp_ = saved;
        }
    }
    TGraphicControl::Click();
}

bool TToolButton::CheckMenuDropdown() {
    if (!dropdownMenu_ || !Enabled()) return false;
    TPoint p =
        Parent() ? Parent()->ClientToScreen({Left(), Top() + Height()}) : TPoint{Left(), Top() + Height()};
    dropdownMenu_->SetPopupComponent(this);
    dropdownMenu_->Popup(p.X, p.Y);
    return true;
}

void TToolButton::SetDropdownMenu(TPopupMenu* v) {
    if (dropdownMenu_) dropdownMenu_->RemoveFreeNotification(this);
    dropdownMenu_ = v;
    if (v) v->FreeNotification(this);
}

void TToolButton::SetMenuItem(TMenuItem* v) {
    if (menuItem_) menuItem_->RemoveFreeNotification(this);
    menuItem_ = v;
    if (v) {
        v->FreeNotification(this);
        SetCaption(v->Caption());
        SetEnabled(v->Enabled());
        SetImageIndex(v->ImageIndex());
    }
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == dropdownMenu_) dropdownMenu_ = nullptr;
    if (component == menuItem_) menuItem_ = nullptr;
}

void TToolButton::Paint() {
    TCanvas* c = Canvas();
    TRect r = Rect(0, 0, Width(), Height());
    if (style_ == tbsSeparator || style_ == tbsDivider) {
        if (style_ == tbsDivider) {
            c->Pen().SetColor(clBtnShadow);
            c->MoveTo(Width() / 2 - 1, 0);
            c->LineTo(Width() / 2 - 1, Height());
            c->Pen().SetColor(clBtnHighlight);
            c->MoveTo(Width() / 2, 0);
            c->LineTo(Width() / 2, Height());
        }
        return;
    }
    c->Brush().SetColor(down_ ? clBtnHighlight : clBtnFace);
    c->FillRect(r);
    c->Brush().SetStyle(bsClear);
    if (ToolBar() && ToolBar()->ShowCaptions())
        c->DrawText(Caption(), r, DT_SINGLELINE | DT_CENTER | DT_BOTTOM);
}

// ---- TToolBar

QZ_CLASS_INFO(TToolBar, TWinControl) {
    b.Property("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight).Default(22);
    b.Property("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth).Default(23);
    b.Property("Flat", &TToolBar::Flat, &TToolBar::SetFlat).Default(false);
    b.Property("Images", &TToolBar::Images, &TToolBar::SetImages).TypeName("TCustomImageList");
    b.Property("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions).Default(false);
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
}

TToolBar::~TToolBar() = default;

int TToolBar::ButtonCount() const {
    int n = 0;
    for (int i = 0; i < ControlCount(); ++i) n += dynamic_cast<TToolButton*>(Controls(i)) != nullptr;
    return n;
}

TToolButton* TToolBar::Buttons(int index) const {
    // Buttons in the order of their left edges (then of insertion).
    std::vector<TToolButton*> buttons;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* b = dynamic_cast<TToolButton*>(Controls(i))) buttons.push_back(b);
    std::stable_sort(buttons.begin(), buttons.end(), [](TToolButton* a, TToolButton* b) {
        return a->Top() != b->Top() ? a->Top() < b->Top() : a->Left() < b->Left();
    });
    if (index < 0 || index >= static_cast<int>(buttons.size()))
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return buttons[index];
}

void TToolBar::SetButtonWidth(int v) {
    buttonWidth_ = v;
    ArrangeButtons();
}

void TToolBar::SetButtonHeight(int v) {
    buttonHeight_ = v;
    ArrangeButtons();
}

void TToolBar::SetImages(TComponent* v) {
    if (images_) images_->RemoveFreeNotification(this);
    images_ = v;
    if (v) v->FreeNotification(this);
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == images_) images_ = nullptr;
}

void TToolBar::ArrangeButtons() {
    int n = ButtonCount();
    std::vector<TToolButton*> buttons;
    for (int i = 0; i < n; ++i) buttons.push_back(Buttons(i));
    int x = 0;
    for (TToolButton* b : buttons) {
        bool sep = b->Style() == tbsSeparator || b->Style() == tbsDivider;
        int w = sep ? 8 : buttonWidth_;
        b->SetBounds(x, 0, w, buttonHeight_);
        x += w;
    }
}

// ---- status bar

QZ_CLASS_INFO(TStatusPanel, TCollectionItem) {
    b.Property("Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment).Default(taLeftJustify);
    b.Property("Bevel", &TStatusPanel::Bevel, &TStatusPanel::SetBevel).Default(pbLowered);
    b.Property("Style", &TStatusPanel::Style, &TStatusPanel::SetStyle).Default(psText);
    b.Property("Text", &TStatusPanel::Text, &TStatusPanel::SetText);
    b.Property("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth);
}

void TStatusPanel::SetText(const AnsiString& v) {
    if (v == text_) return;
    text_ = v;
    Changed();
}

void TStatusPanel::SetWidth(int v) {
    if (v == width_) return;
    width_ = v;
    Changed();
}

QZ_CLASS_INFO(TStatusPanels, TCollection) {}

TStatusPanels::TStatusPanels(TStatusBar* owner) : TCollection(TStatusPanel::StaticClass()), bar_(owner) {}

TPersistent* TStatusPanels::GetOwner() const {
    return bar_;
}

void TStatusPanels::Update(TCollectionItem* item) {
    TCollection::Update(item);
    if (bar_) bar_->Invalidate();
}

QZ_CLASS_INFO(TStatusBar, TCustomControl) {
    b.Property("Panels", &TStatusBar::Panels);
    b.Property("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel).Default(false);
    b.Property("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
    b.Property("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip).Default(true);
}

TStatusBar::TStatusBar(TComponent* owner)
    : TCustomControl(owner), panels_(std::make_unique<TStatusPanels>(this)) {
    SetBounds(0, 0, 150, 19);
    SetAlign(alBottom);
    SetColor(clBtnFace);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::SetSimplePanel(bool v) {
    simplePanel_ = v;
    Invalidate();
}

void TStatusBar::SetSimpleText(const AnsiString& v) {
    simpleText_ = v;
    Invalidate();
}

TRect TStatusBar::PanelRect(int index) const {
    int x = 0;
    for (int i = 0; i < panels_->Count(); ++i) {
        int w = panels_->Items(i)->Width();
        bool last = i == panels_->Count() - 1;
        if (i == index) return Rect(x, 2, last ? std::max(Width(), x + w) : x + w, Height());
        x += w;
    }
    return {};
}

void TStatusBar::Paint() {
    TCanvas* c = Canvas();
    c->Brush().SetColor(Color());
    c->FillRect(ClientRect());
    c->Brush().SetStyle(bsClear);
    if (simplePanel_) {
        TRect r = Rect(2, 2, Width() - 2, Height());
        c->DrawText(simpleText_, r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        return;
    }
    for (int i = 0; i < panels_->Count(); ++i) {
        TStatusPanel* p = panels_->Items(i);
        TRect r = PanelRect(i);
        if (p->Bevel() != pbNone) {
            c->Pen().SetColor(p->Bevel() == pbLowered ? clBtnShadow : clBtnHighlight);
            c->Polyline({{r.Left, r.Bottom - 1}, {r.Left, r.Top}, {r.Right - 1, r.Top}});
            c->Pen().SetColor(p->Bevel() == pbLowered ? clBtnHighlight : clBtnShadow);
            c->Polyline({{r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left, r.Bottom - 1}});
        }
        if (p->Style() != psText) continue;
        TRect t = InflateRect(r, -2, -1);
        unsigned align = p->Alignment() == taCenter         ? DT_CENTER
                         : p->Alignment() == taRightJustify ? DT_RIGHT
                                                            : DT_LEFT;
        c->DrawText(p->Text(), t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | align);
    }
}

// ---- TTabSet

QZ_CLASS_INFO(TTabSet, TCustomControl) {
    b.Property("TabIndex", &TTabSet::TabIndex, &TTabSet::SetTabIndex).Default(-1);
    b.Property("Tabs", &TTabSet::Tabs, &TTabSet::SetTabs);
    b.Event("OnChange", &TTabSet::OnChange);
}

TTabSet::TTabSet(TComponent* owner) : TCustomControl(owner), tabs_(std::make_unique<TStringList>()) {
    SetBounds(0, 0, 185, 21);
}

TTabSet::~TTabSet() = default;

void TTabSet::SetTabs(TStrings* v) {
    if (v)
        tabs_->Assign(*v);
    else
        tabs_->Clear();
    if (tabIndex_ >= tabs_->Count()) tabIndex_ = tabs_->Count() - 1;
    Invalidate();
}

void TTabSet::SetTabIndex(int v) {
    if (v == tabIndex_ || v < -1 || v >= tabs_->Count()) return;
    bool allow = true;
    if (!IsLoading()) OnChange(this, v, allow);
    if (!allow) return;
    tabIndex_ = v;
    Invalidate();
}

void TTabSet::SelectTab(int index) {
    int before = tabIndex_;
    SetTabIndex(index);
    if (tabIndex_ != before) Click();
}

void TTabSet::SetFirstIndex(int v) {
    if (v >= 0 && v < tabs_->Count()) firstIndex_ = v;
}

// ---- tree view

QZ_CLASS_INFO(TTreeNode, TPersistent) {}

TTreeNode::~TTreeNode() {
    for (TTreeNode* child : children_) delete child;
}

std::vector<TTreeNode*>& TTreeNode::Siblings() const {
    return parent_ ? parent_->children_ : owner_->roots_;
}

TTreeNode* TTreeNode::Item(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return children_[index];
}

int TTreeNode::Index() const {
    auto& s = Siblings();
    return static_cast<int>(std::find(s.begin(), s.end(), this) - s.begin());
}

int TTreeNode::Level() const {
    int level = 0;
    for (TTreeNode* p = parent_; p; p = p->parent_) ++level;
    return level;
}

int TTreeNode::AbsoluteIndex() const {
    int i = 0;
    for (TTreeNode* n = owner_->GetFirstNode(); n; n = n->GetNext(), ++i)
        if (n == this) return i;
    return -1;
}

TTreeNode* TTreeNode::GetNextSibling() const {
    auto& s = Siblings();
    int i = Index();
    return i + 1 < static_cast<int>(s.size()) ? s[i + 1] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
    int i = Index();
    return i > 0 ? Siblings()[i - 1] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
    if (!children_.empty()) return children_.front();
    for (const TTreeNode* n = this; n; n = n->parent_)
        if (TTreeNode* s = n->GetNextSibling()) return s;
    return nullptr;
}

TTreeView* TTreeNode::TreeView() const {
    return owner_->view_;
}

bool TTreeNode::Selected() const {
    return TreeView() && TreeView()->selected_ == this;
}

bool TTreeNode::IsVisible() const {
    for (TTreeNode* p = parent_; p; p = p->parent_)
        if (!p->expanded_) return false;
    return true;
}

void TTreeNode::SetExpanded(bool v) {
    if (v == expanded_) return;
    TTreeView* view = TreeView();
    bool allow = true;
    if (view) (v ? view->OnExpanding : view->OnCollapsing)(view, this, allow);
    if (!allow) return;
    expanded_ = v;
    if (view) {
        (v ? view->OnExpanded : view->OnCollapsed)(view, this);
        view->Invalidate();
    }
}

void TTreeNode::Expand(bool recurse) {
    SetExpanded(true);
    if (recurse)
        for (TTreeNode* c : children_) c->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
    SetExpanded(false);
    if (recurse)
        for (TTreeNode* c : children_) c->Collapse(true);
}

void TTreeNode::Delete() {
    owner_->Delete(this);
}

void TTreeNode::DeleteChildren() {
    while (!children_.empty()) owner_->Delete(children_.back());
}

QZ_CLASS_INFO(TTreeNodes, TPersistent) {}

TTreeNodes::~TTreeNodes() {
    for (TTreeNode* n : roots_) delete n;
}

int TTreeNodes::Count() const {
    int n = 0;
    for (TTreeNode* node = GetFirstNode(); node; node = node->GetNext()) ++n;
    return n;
}

TTreeNode* TTreeNodes::Item(int index) const {
    int i = 0;
    for (TTreeNode* node = GetFirstNode(); node; node = node->GetNext(), ++i)
        if (i == index) return node;
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

TTreeNode* TTreeNodes::InsertNode(TTreeNode* parent, int index, const AnsiString& text, void* data) {
    auto* node = new TTreeNode(this);
    node->parent_ = parent;
    node->text_ = text;
    node->data_ = data;
    auto& list = parent ? parent->children_ : roots_;
    index = std::clamp(index, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + index, node);
    if (view_) view_->Invalidate();
    return node;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const AnsiString& text) {
    return AddObject(sibling, text, nullptr);
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const AnsiString& text, void* data) {
    TTreeNode* parent = sibling ? sibling->parent_ : nullptr;
    return InsertNode(parent, INT32_MAX, text, data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const AnsiString& text) {
    return InsertNode(sibling ? sibling->parent_ : nullptr, 0, text, nullptr);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const AnsiString& text) {
    return AddChildObject(parent, text, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const AnsiString& text, void* data) {
    return InsertNode(parent, INT32_MAX, text, data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const AnsiString& text) {
    return InsertNode(parent, 0, text, nullptr);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* node, const AnsiString& text) {
    if (!node) return InsertNode(nullptr, INT32_MAX, text, nullptr);
    return InsertNode(node->parent_, node->Index(), text, nullptr);
}

void TTreeNodes::NodeDeleting(TTreeNode* node) {
    for (TTreeNode* c : node->children_) NodeDeleting(c);
    if (view_) {
        view_->OnDeletion(view_, node);
        if (view_->selected_ == node) view_->selected_ = nullptr;
    }
}

void TTreeNodes::Delete(TTreeNode* node) {
    if (!node || node->owner_ != this) return;
    NodeDeleting(node);
    auto& s = node->Siblings();
    s.erase(std::find(s.begin(), s.end(), node));
    delete node;
    if (view_) view_->Invalidate();
}

void TTreeNodes::Clear() {
    while (!roots_.empty()) Delete(roots_.back());
}

QZ_CLASS_INFO(TTreeView, TCustomControl) {
    b.Property("HideSelection", &TTreeView::HideSelection, &TTreeView::SetHideSelection).Default(true);
    b.Property("ReadOnly", &TTreeView::ReadOnly, &TTreeView::SetReadOnly).Default(false);
    b.Event("OnChange", &TTreeView::OnChange);
    b.Event("OnChanging", &TTreeView::OnChanging);
    b.Event("OnCollapsed", &TTreeView::OnCollapsed);
    b.Event("OnCollapsing", &TTreeView::OnCollapsing);
    b.Event("OnDeletion", &TTreeView::OnDeletion);
    b.Event("OnExpanded", &TTreeView::OnExpanded);
    b.Event("OnExpanding", &TTreeView::OnExpanding);
}

TTreeView::TTreeView(TComponent* owner) : TCustomControl(owner), items_(std::make_unique<TTreeNodes>(this)) {
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
}

TTreeView::~TTreeView() {
    OnDeletion = nullptr;
    items_.reset();
}

void TTreeView::SetSelected(TTreeNode* node) {
    if (node == selected_ || (node && node->Owner() != items_.get())) return;
    bool allow = true;
    OnChanging(this, node, allow);
    if (!allow) return;
    selected_ = node;
    OnChange(this, node);
    Invalidate();
}

void TTreeView::FullExpand() {
    for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNext()) n->SetExpanded(true);
}

void TTreeView::FullCollapse() {
    for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNext()) n->SetExpanded(false);
}

// ---- TAnimate

QZ_CLASS_INFO(TAnimate, TWinControl) {
    b.Property("Active", &TAnimate::Active, &TAnimate::SetActive).Default(false);
    b.Property("Center", &TAnimate::Center, &TAnimate::SetCenter).Default(true);
    b.Property("CommonAVI", &TAnimate::CommonAVI, &TAnimate::SetCommonAVI).Default(aviNone);
    b.Property("FileName", &TAnimate::FileName, &TAnimate::SetFileName);
    b.Property("Repetitions", &TAnimate::Repetitions, &TAnimate::SetRepetitions).Default(0);
    b.Property("StartFrame", &TAnimate::StartFrame, &TAnimate::SetStartFrame).Default(1);
    b.Property("StopFrame", &TAnimate::StopFrame, &TAnimate::SetStopFrame).Default(0);
    b.Property("Transparent", &TAnimate::Transparent, &TAnimate::SetTransparent).Default(true);
    b.Event("OnClose", &TAnimate::OnClose);
    b.Event("OnOpen", &TAnimate::OnOpen);
    b.Event("OnStart", &TAnimate::OnStart);
    b.Event("OnStop", &TAnimate::OnStop);
}

TAnimate::TAnimate(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 100, 80);
}

TAnimate::~TAnimate() = default;

void TAnimate::SetCommonAVI(TCommonAVI v) {
    if (v == commonAVI_) return;
    Stop();
    bool wasOpen = Open();
    commonAVI_ = v;
    if (v != aviNone) fileName_.clear();
    frameCount_ = v != aviNone ? 16 : 0;
    if (wasOpen && !Open()) OnClose(this);
    if (Open()) OnOpen(this);
}

void TAnimate::SetFileName(const AnsiString& v) {
    if (v == fileName_) return;
    Stop();
    bool wasOpen = Open();
    fileName_ = v;
    if (!v.empty()) commonAVI_ = aviNone;
    if (wasOpen && !Open()) OnClose(this);
    if (Open()) OnOpen(this);
}

void TAnimate::SetFrameCount(int v) {
    frameCount_ = std::max(v, 0);
}

void TAnimate::SetActive(bool v) {
    if (IsLoading()) {
        active_ = v;
        return;
    }
    if (v)
        Play(startFrame_, stopFrame_ > 0 ? stopFrame_ : frameCount_, repetitions_);
    else
        Stop();
}

void TAnimate::Play(int fromFrame, int toFrame, int count) {
    if (!Open()) throw EInvalidOperation("Cannot open AVI");
    startFrame_ = std::max(fromFrame, 1);
    stopFrame_ = toFrame;
    repetitions_ = count;
    playsLeft_ = count;
    currentFrame_ = startFrame_;
    active_ = true;
    OnStart(this);
}

void TAnimate::Reset() {
    Stop();
    currentFrame_ = Open() ? 1 : 0;
}

void TAnimate::Seek(int frame) {
    Stop();
    currentFrame_ = std::clamp(frame, Open() ? 1 : 0, std::max(frameCount_, 1));
}

void TAnimate::Stop() {
    if (!active_) return;
    active_ = false;
    OnStop(this);
}

void TAnimate::Step() {
    if (!active_) return;
    int last = stopFrame_ > 0 ? stopFrame_ : frameCount_;
    if (currentFrame_ < last) {
        ++currentFrame_;
        return;
    }
    if (repetitions_ > 0 && --playsLeft_ <= 0) {
        Stop();
        return;
    }
    currentFrame_ = startFrame_;
}

} // namespace qz
