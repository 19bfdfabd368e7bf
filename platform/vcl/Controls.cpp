#include "platform/vcl/Controls.h"
#include "platform/core/Strings.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Font.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"
#include <algorithm>
#include <cctype>
#include <map>

namespace qz {

namespace {

std::map<HWND, TWinControl*>& Handles() {
    static std::map<HWND, TWinControl*> handles;
    return handles;
}
HWND nextHandle = 0x100;

TShiftState MouseShift(WPARAM w) {
    TShiftState s;
    if (w & MK_SHIFT) s << ssShift;
    if (w & MK_CONTROL) s << ssCtrl;
    if (w & MK_LBUTTON) s << ssLeft;
    if (w & MK_RBUTTON) s << ssRight;
    if (w & MK_MBUTTON) s << ssMiddle;
    return s;
}

} // namespace

LPARAM ShiftToKeyData(TShiftState shift) {
    return static_cast<LPARAM>(shift.Bits());
}
TShiftState KeyDataToShift(LPARAM data) {
    return TShiftState(TSet<TShiftStateItem>::FromBits(static_cast<unsigned long long>(data) & 0x7F));
}

char KeyToChar(Word key, TShiftState shift) {
    if (shift.Contains(ssCtrl) || shift.Contains(ssAlt)) return 0;
    switch (key) {
    case VK_RETURN: return '\r';
    case VK_ESCAPE: return 27;
    case VK_TAB: return '\t';
    case VK_BACK: return 8;
    case VK_SPACE: return ' ';
    default: break;
    }
    if (key >= '0' && key <= '9') return static_cast<char>(key);
    if (key >= 'A' && key <= 'Z') return static_cast<char>(shift.Contains(ssShift) ? key : key + 32);
    return 0;
}

bool IsAccel(char key, const AnsiString& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return std::toupper(static_cast<unsigned char>(caption[i + 1])) ==
               std::toupper(static_cast<unsigned char>(key));
    }
    return false;
}

AnsiString StripAccel(const AnsiString& caption) {
    AnsiString out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        out += caption[i];
    }
    return out;
}

TWinControl* FindControl(HWND handle) {
    auto it = Handles().find(handle);
    return it == Handles().end() ? nullptr : it->second;
}

TCustomForm* GetParentForm(const TControl* control) {
    if (!control) return nullptr;
    while (control->Parent()) control = control->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(control));
}

LRESULT SendMessage(HWND handle, Cardinal msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* c = FindControl(handle);
    return c ? c->Perform(msg, wParam, lParam) : 0;
}

bool PostMessage(HWND handle, Cardinal msg, WPARAM wParam, LPARAM lParam) {
    if (!FindControl(handle)) return false;
    Application->PostMessage(handle, msg, wParam, lParam);
    return true;
}

// ---- TControl ----

QZ_CLASS_INFO(TControl, TComponent) {
    b.Property("Left", &TControl::Left, &TControl::SetLeft);
    b.Property("Top", &TControl::Top, &TControl::SetTop);
    b.Property("Width", &TControl::Width, &TControl::SetWidth);
    b.Property("Height", &TControl::Height, &TControl::SetHeight);
    b.Property("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth).NotStored();
    b.Property("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight).NotStored();
    b.Property("Visible", &TControl::Visible, &TControl::SetVisible).Default(true);
    b.Property("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
    b.Property("Hint", &TControl::Hint, &TControl::SetHint);
    b.Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint);
    b.Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true);
    b.Property("Align", &TControl::Align, &TControl::SetAlign).Default(alNone);
    b.Property("Cursor", &TControl::Cursor, &TControl::SetCursor).TypeName("TCursor").Default(0);
    b.Property("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu).TypeName("TPopupMenu");
    b.Event("OnClick", &TControl::OnClick);
    b.Event("OnDblClick", &TControl::OnDblClick);
    b.Event("OnMouseDown", &TControl::OnMouseDown);
    b.Event("OnMouseUp", &TControl::OnMouseUp);
    b.Event("OnMouseMove", &TControl::OnMouseMove);
    b.Event("OnResize", &TControl::OnResize);
    b.Message(WM_LBUTTONDOWN, &TControl::WMLButtonDown);
    b.Message(WM_LBUTTONUP, &TControl::WMLButtonUp);
    b.Message(WM_LBUTTONDBLCLK, &TControl::WMLButtonDblClk);
    b.Message(WM_RBUTTONDOWN, &TControl::WMRButtonDown);
    b.Message(WM_RBUTTONUP, &TControl::WMRButtonUp);
    b.Message(WM_MOUSEMOVE, &TControl::WMMouseMove);
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
    RegisterVclClasses();
    font_->OnChange = [this](TObject*) { FontObjectChanged(); };
}

TControl::~TControl() {
    font_->OnChange = nullptr;
    if (parent_) parent_->RemoveControl(this);
    // The form host forgets the control too (a mouse capture, an open list): it is told of a
    // destroying control.
    Destroying();
    FormHost()->Invalidate(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (parent_) parent_->RemoveControl(this);
    if (parent) {
        parent->InsertControl(this);
        if (parentFont_) ParentFontChanged();
        if (parentColor_) ParentColorChanged();
        if (parentShowHint_) ParentShowHintChanged();
        RequestAlign();
    }
}

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* w = dynamic_cast<TWinControl*>(parent)) SetParent(w);
}

TComponent* TControl::GetParentComponent() const {
    return parent_;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    bool resized = width != width_ || height != height_;
    if (left == left_ && top == top_ && !resized) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Invalidate();
    RequestAlign();
    if (resized) Resize();
}

TRect TControl::ClientRect() const {
    return Rect(0, 0, width_, height_);
}

void TControl::SetClientWidth(int v) {
    SetWidth(v + (width_ - ClientWidth()));
}
void TControl::SetClientHeight(int v) {
    SetHeight(v + (height_ - ClientHeight()));
}

TPoint TControl::ClientOrigin() const {
    TPoint p{left_, top_};
    if (!parent_) {
        TRect c = ClientRect();
        return {left_ + (width_ - c.Width()) / 2, top_ + (height_ - c.Height()) - (width_ - c.Width()) / 2};
    }
    TPoint o = parent_->ClientOrigin();
    return {o.X + p.X, o.Y + p.Y};
}

TPoint TControl::ClientToScreen(TPoint p) const {
    TPoint o = ClientOrigin();
    return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
    TPoint o = ClientOrigin();
    return {p.X - o.X, p.Y - o.Y};
}

void TControl::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    VisibleChanged();
    RequestAlign();
    Invalidate();
}

bool TControl::Showing() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return GetParentForm(this) != nullptr;
}

void TControl::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    EnabledChanged();
    Invalidate();
}

void TControl::SetColor(TColor v) {
    if (v == color_ && !parentColor_) return;
    color_ = v;
    parentColor_ = false;
    if (auto* w = dynamic_cast<TWinControl*>(this))
        for (TControl* c : w->controls_)
            if (c->parentColor_) c->ParentColorChanged();
    Invalidate();
}

void TControl::SetParentColor(bool v) {
    parentColor_ = v;
    if (v && parent_) ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!parent_ || !parentColor_) return;
    color_ = parent_->color_;
    if (auto* w = dynamic_cast<TWinControl*>(this))
        for (TControl* c : w->controls_)
            if (c->parentColor_) c->ParentColorChanged();
    Invalidate();
}

void TControl::SetFont(TFont* v) {
    if (v && v != font_.get()) font_->Assign(*v);
}

void TControl::SetParentFont(bool v) {
    if (v == parentFont_) return;
    parentFont_ = v;
    if (v && parent_) ParentFontChanged();
}

void TControl::FontObjectChanged() {
    if (!updatingFont_) parentFont_ = false;
    FontChanged();
}

void TControl::FontChanged() {
    Invalidate();
    if (autoSize_) AdjustSize();
}

void TControl::ParentFontChanged() {
    if (!parent_ || !parentFont_) return;
    if (font_->SameValues(*parent_->Font())) return;
    updatingFont_ = true;
    font_->Assign(*parent_->Font());
    updatingFont_ = false;
}

void TControl::SetText(const AnsiString& v) {
    if (v == text_) return;
    text_ = v;
    TextChanged();
    if (autoSize_) AdjustSize();
    Invalidate();
}

void TControl::SetShowHint(bool v) {
    showHint_ = v;
    parentShowHint_ = false;
    if (auto* w = dynamic_cast<TWinControl*>(this))
        for (TControl* c : w->controls_)
            if (c->parentShowHint_) c->ParentShowHintChanged();
}

void TControl::SetParentShowHint(bool v) {
    parentShowHint_ = v;
    if (v && parent_) ParentShowHintChanged();
}

void TControl::ParentShowHintChanged() {
    if (parent_ && parentShowHint_) showHint_ = parent_->showHint_;
}

void TControl::SetAlign(TAlign v) {
    if (v == align_) return;
    align_ = v;
    RequestAlign();
}

void TControl::SetPopupMenu(TComponent* v) {
    popupMenu_ = v;
    if (v) v->FreeNotification(this);
}

void TControl::SetAutoSize(bool v) {
    autoSize_ = v;
    if (v) AdjustSize();
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (parent_) {
        if (parentColor_) ParentColorChanged();
        if (parentFont_) ParentFontChanged();
        if (parentShowHint_) ParentShowHintChanged();
    }
}

void TControl::RequestAlign() {
    if (parent_ && (align_ != alNone || parent_->aligning_ == false)) {
        if (align_ != alNone) parent_->Realign();
    }
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

LRESULT TControl::Perform(Cardinal msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& message) {
    Dispatch(message);
}

void TControl::Dispatch(TMessage& message) {
    const TMetaClass* mc = ClassOf(this);
    const TMetaClass::MessageHandler* h = mc ? mc->FindMessageHandler(message.Msg) : nullptr;
    if (h)
        (*h)(this, &message);
    else
        DefaultHandler(message);
}

void TControl::InheritedMessage(const TMetaClass* cls, TMessage& message) {
    const TMetaClass* parent = cls ? cls->ClassParent() : nullptr;
    const TMetaClass::MessageHandler* h = parent ? parent->FindMessageHandler(message.Msg) : nullptr;
    if (h)
        (*h)(this, &message);
    else
        DefaultHandler(message);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::Invalidate() {
    if (!IsLoading() && !IsDestroying()) FormHost()->Invalidate(this);
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    Invalidate();
}

void TControl::SendToBack() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin(), this);
    Invalidate();
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::WMLButtonDown(TMessage& m) {
    if (!enabled_) return;
    auto* w = dynamic_cast<TWinControl*>(this);
    if (w && w->TabStop() && w->CanFocus() && !w->Focused()) {
        if (TCustomForm* f = GetParentForm(this); f && f->Visible()) w->SetFocus();
    }
    clicked_ = true;
    MouseDown(mbLeft, MouseShift(m.WParam) << ssLeft, LoWordSigned(m.LParam), HiWordSigned(m.LParam));
}

void TControl::WMLButtonUp(TMessage& m) {
    int x = LoWordSigned(m.LParam), y = HiWordSigned(m.LParam);
    if (clicked_) {
        clicked_ = false;
        if (enabled_ && ContainsPoint({x, y})) MouseClick();
    }
    MouseUp(mbLeft, MouseShift(m.WParam), x, y);
}

void TControl::WMLButtonDblClk(TMessage& m) {
    if (!enabled_) return;
    MouseDown(mbLeft, MouseShift(m.WParam) << ssLeft << ssDouble, LoWordSigned(m.LParam),
              HiWordSigned(m.LParam));
    DblClick();
}

void TControl::WMRButtonDown(TMessage& m) {
    if (enabled_)
        MouseDown(mbRight, MouseShift(m.WParam) << ssRight, LoWordSigned(m.LParam), HiWordSigned(m.LParam));
}

void TControl::WMRButtonUp(TMessage& m) {
    if (enabled_) MouseUp(mbRight, MouseShift(m.WParam), LoWordSigned(m.LParam), HiWordSigned(m.LParam));
}

void TControl::WMMouseMove(TMessage& m) {
    if (enabled_) MouseMove(MouseShift(m.WParam), LoWordSigned(m.LParam), HiWordSigned(m.LParam));
}

// ---- TWinControl ----

QZ_CLASS_INFO(TWinControl, TControl) {
    b.Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).Default(-1);
    b.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false);
    b.Event("OnEnter", &TWinControl::OnEnter);
    b.Event("OnExit", &TWinControl::OnExit);
    b.Event("OnKeyDown", &TWinControl::OnKeyDown);
    b.Event("OnKeyUp", &TWinControl::OnKeyUp);
    b.Event("OnKeyPress", &TWinControl::OnKeyPress);
    b.Message(WM_KEYDOWN, &TWinControl::WMKeyDown);
    b.Message(WM_CHAR, &TWinControl::WMChar);
    b.Message(WM_KEYUP, &TWinControl::WMKeyUp);
    b.Message(WM_SETFOCUS, &TWinControl::WMSetFocus);
    b.Message(CM_ENTER, &TWinControl::CMEnter);
    b.Message(CM_EXIT, &TWinControl::CMExit);
    b.Message(CM_DIALOGKEY, &TWinControl::CMDialogKey);
    b.Message(CM_DIALOGCHAR, &TWinControl::CMDialogChar);
    b.Message(CM_FOCUSCHANGED, &TWinControl::CMFocusChanged);
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    // Leaves the parent while still a windowed control (the focus moves to the parent).
    if (parent_) parent_->RemoveControl(this);
    while (!controls_.empty()) {
        TControl* c = controls_.back();
        RemoveControl(c);
        c->Free();
    }
    DestroyHandle();
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return controls_[index];
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (auto* w = dynamic_cast<TWinControl*>(control)) tabList_.push_back(w);
}

void TWinControl::RemoveControl(TControl* control) {
    auto* w = dynamic_cast<TWinControl*>(control);
    if (w) DefocusLeaving(w);
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    if (w) tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
    control->parent_ = nullptr;
    if (control->Align() != alNone) Realign();
}

void TWinControl::DefocusLeaving(TWinControl* control) {
    TCustomForm* f = GetParentForm(this);
    if (!f || f->IsDestroying()) return;
    // Inside a container being freed, the whole container gives the focus up while its controls
    // still exist: the focus lands on a live control and no dying control is told of its exit.
    TWinControl* leaving = control;
    for (TWinControl* c = this; c && c != f && c->IsDestroying(); c = c->Parent()) leaving = c;
    f->DefocusControl(leaving, true);
}

void TWinControl::Broadcast(TMessage& message) {
    std::vector<TControl*> list = controls_;
    for (TControl* c : list) {
        if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) continue;
        c->WndProc(message);
        if (message.Result != 0) return;
    }
}

int TWinControl::TabOrder() const {
    if (!parent_) return -1;
    auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int v) {
    if (IsLoading())
        pendingTabOrder_ = v;
    else
        UpdateTabOrder(v);
}

void TWinControl::UpdateTabOrder(int value) {
    if (!parent_) return;
    int cur = TabOrder();
    auto& list = parent_->tabList_;
    int count = static_cast<int>(list.size());
    if (value < 0 || value >= count) value = count - 1;
    if (cur < 0 || value == cur) return;
    list.erase(list.begin() + cur);
    list.insert(list.begin() + value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : tabList_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    int count = static_cast<int>(list.size());
    auto it = std::find(list.begin(), list.end(), current);
    int start = it == list.end() ? (goForward ? count - 1 : 0) : static_cast<int>(it - list.begin());
    int i = start;
    do {
        if (goForward) {
            if (++i == count) i = 0;
        } else {
            if (i == 0) i = count;
            --i;
        }
        TWinControl* c = list[i];
        if (c->CanFocus() && (!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this))
            return c;
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    TWinControl* c = FindNextControl(current, goForward, checkTabStop, !checkTabStop);
    if (c) c->SetFocus();
}

void TWinControl::SelectFirst() {
    TCustomForm* f = GetParentForm(this);
    if (!f) return;
    TWinControl* c = FindNextControl(nullptr, true, true, false);
    if (!c) c = FindNextControl(nullptr, true, false, false);
    if (c) f->SetActiveControl(c);
}

bool TWinControl::CanFocus() const {
    TCustomForm* f = GetParentForm(this);
    if (!f) return false;
    for (const TControl* c = this; c && c != f; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    TCustomForm* f = GetParentForm(this);
    if (!f) throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    f->FocusControl(this);
}

bool TWinControl::Focused() const {
    TCustomForm* f = GetParentForm(this);
    return f && f->Active() && f->FocusedControl() == this;
}

HWND TWinControl::Handle() {
    if (!handle_) {
        if (parent_) parent_->HandleNeeded();
        handle_ = nextHandle++;
        Handles()[handle_] = this;
        CreateWnd();
    }
    return handle_;
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    Handles().erase(handle_);
    handle_ = 0;
}

bool TWinControl::DeliverKeyDown(Word key, TShiftState shift) {
    LPARAM data = ShiftToKeyData(shift);
    TCustomForm* form = GetParentForm(this);
    if (form && shift.Contains(ssAlt) && !shift.Contains(ssCtrl) &&
        ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))) {
        if (form->Perform(CM_DIALOGCHAR, key, data) != 0) return true;
    }
    bool dialogKey = key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_LEFT ||
                     key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
    if (dialogKey && form && !WantsKey(key, shift) && form->Perform(CM_DIALOGKEY, key, data) != 0)
        return true;
    Perform(WM_KEYDOWN, key, data);
    return false;
}

void TWinControl::DeliverChar(char ch) {
    Perform(WM_CHAR, static_cast<unsigned char>(ch), 0);
}

void TWinControl::DeliverKeyUp(Word key, TShiftState shift) {
    Perform(WM_KEYUP, key, ShiftToKeyData(shift));
}

bool TWinControl::DoKeyDown(Word& key, TShiftState shift) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyDown(key, shift))
        return true;
    KeyDown(key, shift);
    return key == 0;
}

bool TWinControl::DoKeyPress(char& key) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyPress(key))
        return true;
    KeyPress(key);
    return key == 0;
}

bool TWinControl::DoKeyUp(Word& key, TShiftState shift) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyUp(key, shift))
        return true;
    KeyUp(key, shift);
    return key == 0;
}

void TWinControl::KeyDown(Word& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::KeyUp(Word& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::WMKeyDown(TMessage& m) {
    Word key = static_cast<Word>(m.WParam);
    DoKeyDown(key, KeyDataToShift(m.LParam));
    m.WParam = key;
}

void TWinControl::WMChar(TMessage& m) {
    char ch = static_cast<char>(m.WParam);
    DoKeyPress(ch);
    m.WParam = static_cast<unsigned char>(ch);
}

void TWinControl::WMKeyUp(TMessage& m) {
    Word key = static_cast<Word>(m.WParam);
    DoKeyUp(key, KeyDataToShift(m.LParam));
    m.WParam = key;
}

void TWinControl::WMSetFocus(TMessage&) {
    if (TCustomForm* f = GetParentForm(this)) f->SetFocusedControl(this);
}

void TWinControl::CMEnter(TMessage&) {
    DoEnter();
}
void TWinControl::CMExit(TMessage&) {
    DoExit();
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::CMDialogKey(TMessage& m) {
    Broadcast(m);
}
void TWinControl::CMDialogChar(TMessage& m) {
    Broadcast(m);
}
void TWinControl::CMFocusChanged(TMessage& m) {
    Broadcast(m);
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    for (TControl* c : std::vector<TControl*>(controls_))
        if (c->ParentFont()) c->ParentFontChanged();
}

void TWinControl::ParentFontChanged() {
    TControl::ParentFontChanged();
}

void TWinControl::ParentColorChanged() {
    TControl::ParentColorChanged();
}

void TWinControl::ParentShowHintChanged() {
    TControl::ParentShowHintChanged();
    for (TControl* c : controls_)
        if (c->ParentShowHint()) c->ParentShowHintChanged();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    bool resized = width != Width() || height != Height();
    TControl::SetBounds(left, top, width, height);
    if (resized) Realign();
}

void TWinControl::Resize() {
    TControl::Resize();
}

void TWinControl::EnabledChanged() {
    if (Enabled() || IsLoading() || IsDestroying()) return;
    if (TCustomForm* f = GetParentForm(this); f && f != this && !f->IsDestroying())
        f->DefocusControl(this, false);
}

void TWinControl::VisibleChanged() {
    if (Visible() || IsLoading() || IsDestroying()) return;
    if (TCustomForm* f = GetParentForm(this); f && f != this && !f->IsDestroying())
        f->DefocusControl(this, false);
}

void TWinControl::Loaded() {
    TControl::Loaded();
    // Tab orders read from a resource are applied once all siblings exist.
    if (!tabList_.empty()) {
        std::vector<std::pair<int, TWinControl*>> keyed;
        for (size_t i = 0; i < tabList_.size(); ++i) {
            int k = tabList_[i]->pendingTabOrder_;
            keyed.emplace_back(k >= 0 ? k : static_cast<int>(i), tabList_[i]);
        }
        std::stable_sort(keyed.begin(), keyed.end(), [](auto& a, auto& b) { return a.first < b.first; });
        for (size_t i = 0; i < keyed.size(); ++i) tabList_[i] = keyed[i].second;
    }
    pendingTabOrder_ = -1;
    Realign();
}

void TWinControl::EnableAlign() {
    if (alignDisabled_ > 0 && --alignDisabled_ == 0) Realign();
}

void TWinControl::Realign() {
    if (alignDisabled_ || aligning_ || IsLoading() || IsDestroying()) return;
    TRect r = ClientRect();
    aligning_ = true;
    try {
        AlignControls(nullptr, r);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TWinControl::AlignControls(TControl*, TRect& rect) {
    const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign a : order) {
        std::vector<TControl*> list;
        for (TControl* c : controls_)
            if (c->Align() == a && c->Visible()) list.push_back(c);
        std::stable_sort(list.begin(), list.end(), [a](TControl* x, TControl* y) {
            switch (a) {
            case alTop: return x->Top() < y->Top();
            case alBottom: return x->Top() + x->Height() > y->Top() + y->Height();
            case alLeft: return x->Left() < y->Left();
            case alRight: return x->Left() + x->Width() > y->Left() + y->Width();
            default: return false;
            }
        });
        for (TControl* c : list) {
            switch (a) {
            case alTop:
                c->SetBounds(rect.Left, rect.Top, rect.Width(), c->Height());
                rect.Top += c->Height();
                break;
            case alBottom:
                c->SetBounds(rect.Left, rect.Bottom - c->Height(), rect.Width(), c->Height());
                rect.Bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(rect.Left, rect.Top, c->Width(), rect.Height());
                rect.Left += c->Width();
                break;
            case alRight:
                c->SetBounds(rect.Right - c->Width(), rect.Top, c->Width(), rect.Height());
                rect.Right -= c->Width();
                break;
            default:
                c->SetBounds(rect.Left, rect.Top, std::max(0, rect.Width()), std::max(0, rect.Height()));
                break;
            }
        }
    }
}

// ---- painting ----

namespace {

// Outside painting, a control's canvas measures text on a bitmap of one pixel in the control's font.
TCanvas* MeasureCanvas(std::unique_ptr<TBitmap>& bitmap, const TFont& font) {
    if (!bitmap) bitmap = std::make_unique<TBitmap>(1, 1);
    TCanvas& c = bitmap->Canvas();
    c.SetFont(font);
    return &c;
}

// Runs paint with current pointing at canvas, restoring it afterwards.
template <class Paint>
void PaintOnCanvas(TCanvas*& current, TCanvas& canvas, const TFont& font, Paint paint) {
    TCanvas* saved = current;
    current = &canvas;
    canvas.SetFont(font);
    try {
        paint();
    } catch (...) {
        current = saved;
        throw;
    }
    current = saved;
}

} // namespace

QZ_CLASS_INFO(TCustomControl, TWinControl) {}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}
TCustomControl::~TCustomControl() = default;

TCanvas* TCustomControl::Canvas() {
    return paintCanvas_ ? paintCanvas_ : MeasureCanvas(measureBitmap_, *Font());
}

void TCustomControl::PaintTo(TCanvas& canvas) {
    PaintOnCanvas(paintCanvas_, canvas, *Font(), [this] { Paint(); });
}

QZ_CLASS_INFO(TGraphicControl, TControl) {}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}
TGraphicControl::~TGraphicControl() = default;

TCanvas* TGraphicControl::Canvas() {
    return paintCanvas_ ? paintCanvas_ : MeasureCanvas(measureBitmap_, *Font());
}

void TGraphicControl::PaintTo(TCanvas& canvas) {
    PaintOnCanvas(paintCanvas_, canvas, *Font(), [this] { Paint(); });
}

} // namespace qz
