#include "controls/QzcEdit.h"
#include "controls/F2Button.h"
#include "controls/GSpdBtn.h"

namespace qz {

// ---- data access ----

QZ_CLASS_INFO(TFieldDataSource, TComponent) {}

QZ_CLASS_INFO(TDBEdit, TEdit) {
    b.Property("DataField", &TDBEdit::DataField, &TDBEdit::SetDataField);
    b.Property("DataSource", &TDBEdit::DataSource, &TDBEdit::SetDataSource);
}

TDBEdit::TDBEdit(TComponent* owner) : TEdit(owner) {}

TDBEdit::~TDBEdit() {
    if (dataSource_) dataSource_->RemoveFreeNotification(this);
}

void TDBEdit::SetDataSource(TFieldDataSource* v) {
    if (v == dataSource_) return;
    if (dataSource_) dataSource_->RemoveFreeNotification(this);
    dataSource_ = v;
    if (v) v->FreeNotification(this);
    DataChange();
}

void TDBEdit::SetDataField(const AnsiString& v) {
    dataField_ = v;
    DataChange();
}

void TDBEdit::DataChange() {
    if (IsLoading() || !dataSource_ || !dataSource_->DataSet() || dataField_.empty()) return;
    AnsiString text;
    if (dataSource_->DataSet()->FieldText(dataField_, text)) {
        SetText(text);
        SetModified(false);
    }
}

void TDBEdit::Notification(TComponent* component, TOperation operation) {
    TEdit::Notification(component, operation);
    if (operation == opRemove && component == dataSource_) dataSource_ = nullptr;
}

// ---- the caption label ----

void TEditLabelPart::Create(TWinControl* edit) {
    label_ = new TLabel(edit);
    label_->SetName("EditLabel");
    label_->SetCaption("");
    label_->SetFocusControl(edit);
}

AnsiString TEditLabelPart::Caption() const {
    return label_ ? label_->Caption() : AnsiString();
}

void TEditLabelPart::SetCaption(TWinControl* edit, const AnsiString& v) {
    if (!label_) return;
    label_->SetCaption(v);
    Place(edit);
}

void TEditLabelPart::SetPosition(TWinControl* edit, TLabelPosition v) {
    position_ = v;
    Place(edit);
}

void TEditLabelPart::SetSpacing(TWinControl* edit, int v) {
    if (v < 0) return;
    spacing_ = v;
    Place(edit);
}

void TEditLabelPart::Place(const TWinControl* edit) {
    if (!label_) return;
    const int lw = label_->Width(), lh = label_->Height();
    int left = edit->Left(), top = edit->Top();
    switch (position_) {
    case lpAbove: top = edit->Top() - lh - spacing_; break;
    case lpBelow: top = edit->Top() + edit->Height() + spacing_; break;
    case lpLeft:
        left = edit->Left() - lw - spacing_;
        top = edit->Top() + (edit->Height() - lh) / 2;
        break;
    case lpRight:
        left = edit->Left() + edit->Width() + spacing_;
        top = edit->Top() + (edit->Height() - lh) / 2;
        break;
    }
    label_->SetBounds(left, top, lw, lh);
}

void TEditLabelPart::Forget(TComponent* component) {
    if (component == label_) label_ = nullptr;
}

// Both labelled edits publish the same label properties and pass parent, enabled state and visibility
// on to the label.
#define QZ_LABELLED_EDIT_PROPERTIES(Class)                                                                   \
    b.Property("Caption", &Class::Caption, &Class::SetCaption);                                              \
    b.Property("LabelPosition", &Class::LabelPosition, &Class::SetLabelPosition).Default(lpLeft);            \
    b.Property("LabelSpacing", &Class::LabelSpacing, &Class::SetLabelSpacing).Default(4)

#define QZ_LABELLED_EDIT_METHODS(Class, Base)                                                                \
    void Class::SetBounds(int left, int top, int width, int height) {                                        \
        Base::SetBounds(left, top, width, height);                                                           \
        label_.Place(this);                                                                                  \
    }                                                                                                        \
    void Class::SetParent(TWinControl* parent) {                                                             \
        Base::SetParent(parent);                                                                             \
        if (TLabel* l = label_.Label()) {                                                                    \
            l->SetParent(parent);                                                                            \
            label_.Place(this);                                                                              \
        }                                                                                                    \
    }                                                                                                        \
    void Class::SetEnabled(bool v) {                                                                         \
        Base::SetEnabled(v);                                                                                 \
        if (TLabel* l = label_.Label()) l->SetEnabled(v);                                                    \
    }                                                                                                        \
    void Class::SetVisible(bool v) {                                                                         \
        Base::SetVisible(v);                                                                                 \
        if (TLabel* l = label_.Label()) l->SetVisible(v);                                                    \
    }                                                                                                        \
    void Class::Notification(TComponent* component, TOperation operation) {                                  \
        Base::Notification(component, operation);                                                            \
        if (operation == opRemove) label_.Forget(component);                                                 \
    }

QZ_CLASS_INFO(TQzEdit, TEdit) {
    QZ_LABELLED_EDIT_PROPERTIES(TQzEdit);
}

TQzEdit::TQzEdit(TComponent* owner) : TEdit(owner) {
    label_.Create(this);
}

QZ_LABELLED_EDIT_METHODS(TQzEdit, TEdit)

QZ_CLASS_INFO(TQzDBEdit, TDBEdit) {
    QZ_LABELLED_EDIT_PROPERTIES(TQzDBEdit);
}

TQzDBEdit::TQzDBEdit(TComponent* owner) : TDBEdit(owner) {
    label_.Create(this);
}

QZ_LABELLED_EDIT_METHODS(TQzDBEdit, TDBEdit)

void TQzDBEdit::SetDataField(const AnsiString& v) {
    TDBEdit::SetDataField(v);
    if (!IsDesigning() || !DataSource() || !DataSource()->DataSet()) return;
    AnsiString displayLabel;
    if (DataSource()->DataSet()->FieldDisplayLabel(v, displayLabel)) SetCaption(displayLabel);
}

// ---- the edit with a lookup button ----

QZ_CLASS_INFO(TQzBtnDBEdit, TQzDBEdit) {
    b.Property("GlyphIndex", &TQzBtnDBEdit::GlyphIndex, &TQzBtnDBEdit::SetGlyphIndex).Default(8);
    b.Property("ButtonSpacing", &TQzBtnDBEdit::ButtonSpacing, &TQzBtnDBEdit::SetButtonSpacing).Default(2);
    b.Property("ButtonHint", &TQzBtnDBEdit::ButtonHint, &TQzBtnDBEdit::SetButtonHint);
    b.Event("OnDialog", &TQzBtnDBEdit::OnDialog);
}

TQzBtnDBEdit::TQzBtnDBEdit(TComponent* owner) : TQzDBEdit(owner) {
    button_ = new TGSpeedButton(this);
    button_->SetName("F2Button");
    button_->SetFlat(true);
    button_->SetGlyphIndex(glyphIndex_);
    button_->OnClick = [this](TObject*) { ButtonClick(); };
    PlaceButton();
}

void TQzBtnDBEdit::SetGlyphIndex(int v) {
    glyphIndex_ = v;
    if (button_) button_->SetGlyphIndex(v);
}

void TQzBtnDBEdit::SetButtonSpacing(int v) {
    buttonSpacing_ = v;
    PlaceButton();
}

void TQzBtnDBEdit::SetButtonHint(const AnsiString& v) {
    buttonHint_ = v;
    if (button_) button_->SetHint(v);
}

void TQzBtnDBEdit::PlaceButton() {
    if (button_) button_->SetBounds(Left() + Width() + buttonSpacing_, Top(), Height(), Height());
}

void TQzBtnDBEdit::ButtonClick() {
    if (OnDialog) {
        OnDialog(this);
        return;
    }
    if (CanFocus()) SetFocus();
    if (!Focused()) return;
    if (auto* window = dynamic_cast<TWinControl*>(Owner()))
        SendMessage(window->Handle(), WM_OPENWINDOW, 0,
                    reinterpret_cast<LPARAM>(static_cast<TWinControl*>(this)));
}

void TQzBtnDBEdit::SetBounds(int left, int top, int width, int height) {
    TQzDBEdit::SetBounds(left, top, width, height);
    PlaceButton();
}

void TQzBtnDBEdit::SetParent(TWinControl* parent) {
    TQzDBEdit::SetParent(parent);
    if (button_) {
        button_->SetParent(parent);
        PlaceButton();
    }
}

void TQzBtnDBEdit::SetEnabled(bool v) {
    TQzDBEdit::SetEnabled(v);
    if (button_) button_->SetEnabled(v);
}

void TQzBtnDBEdit::SetVisible(bool v) {
    TQzDBEdit::SetVisible(v);
    if (button_) button_->SetVisible(v);
}

void TQzBtnDBEdit::Notification(TComponent* component, TOperation operation) {
    TQzDBEdit::Notification(component, operation);
    if (operation == opRemove && component == button_) button_ = nullptr;
}

} // namespace qz
