#pragma once
// Edits that carry their own caption label and keep it beside themselves: the plain one, the data-aware
// one and the data-aware one with a lookup button behind it.
#include "platform/vcl/StdCtrls.h"

namespace qz {

class TGSpeedButton;

QZ_ENUM(TLabelPosition, lpAbove, lpBelow, lpLeft, lpRight)

// What the data-aware controls ask of a data set: the display label and the text of a field of the
// current record, by field name. False when the data set has no such field.
class TFieldDataSet {
public:
    virtual ~TFieldDataSet() = default;
    virtual bool FieldDisplayLabel(const AnsiString& fieldName, AnsiString& displayLabel) const = 0;
    virtual bool FieldText(const AnsiString& fieldName, AnsiString& text) const = 0;
};

// The link between data-aware controls and a data set (not owned).
class TFieldDataSource : public TComponent {
    QZ_CLASS(TFieldDataSource)
public:
    explicit TFieldDataSource(TComponent* owner) : TComponent(owner) {}
    TFieldDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TFieldDataSet* v) { dataSet_ = v; }

private:
    TFieldDataSet* dataSet_ = nullptr;
};

// A data-aware edit: shows the text of DataField of DataSource's current record.
class TDBEdit : public TEdit {
    QZ_CLASS(TDBEdit)
public:
    explicit TDBEdit(TComponent* owner);
    ~TDBEdit() override;
    TFieldDataSource* DataSource() const { return dataSource_; }
    void SetDataSource(TFieldDataSource* v);
    const AnsiString& DataField() const { return dataField_; }
    virtual void SetDataField(const AnsiString& v);
    // Reads the field's text again (after the data set moved or changed); nothing without a field.
    void DataChange();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TFieldDataSource* dataSource_ = nullptr;
    AnsiString dataField_;
};

// The caption label of an edit: created with the edit, owned by it, named "EditLabel".
class TEditLabelPart {
public:
    void Create(TWinControl* edit);
    TLabel* Label() const { return label_; }
    AnsiString Caption() const;
    void SetCaption(TWinControl* edit, const AnsiString& v);
    TLabelPosition Position() const { return position_; }
    void SetPosition(TWinControl* edit, TLabelPosition v);
    int Spacing() const { return spacing_; }
    void SetSpacing(TWinControl* edit, int v); // negative values are ignored
    void Place(const TWinControl* edit);
    void Forget(TComponent* component);

private:
    TLabel* label_ = nullptr;
    TLabelPosition position_ = lpLeft;
    int spacing_ = 4;
};

class TQzEdit : public TEdit {
    QZ_CLASS(TQzEdit)
public:
    explicit TQzEdit(TComponent* owner);

    // The attached label's text ("" when there is no label).
    AnsiString Caption() const { return label_.Caption(); }
    void SetCaption(const AnsiString& v) { label_.SetCaption(this, v); }
    TLabelPosition LabelPosition() const { return label_.Position(); }
    void SetLabelPosition(TLabelPosition v) { label_.SetPosition(this, v); }
    int LabelSpacing() const { return label_.Spacing(); }
    void SetLabelSpacing(int v) { label_.SetSpacing(this, v); }
    TLabel* EditLabel() const { return label_.Label(); }

    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;
    void SetEnabled(bool v) override;
    void SetVisible(bool v) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TEditLabelPart label_;
};

class TQzDBEdit : public TDBEdit {
    QZ_CLASS(TQzDBEdit)
public:
    explicit TQzDBEdit(TComponent* owner);

    AnsiString Caption() const { return label_.Caption(); }
    void SetCaption(const AnsiString& v) { label_.SetCaption(this, v); }
    TLabelPosition LabelPosition() const { return label_.Position(); }
    void SetLabelPosition(TLabelPosition v) { label_.SetPosition(this, v); }
    int LabelSpacing() const { return label_.Spacing(); }
    void SetLabelSpacing(int v) { label_.SetSpacing(this, v); }
    TLabel* EditLabel() const { return label_.Label(); }
    // At design time a field that is found gives its display label to Caption.
    void SetDataField(const AnsiString& v) override;

    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;
    void SetEnabled(bool v) override;
    void SetVisible(bool v) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TEditLabelPart label_;
};

// The data-aware labelled edit with a lookup button ("F2Button") behind it.
class TQzBtnDBEdit : public TQzDBEdit {
    QZ_CLASS(TQzBtnDBEdit)
public:
    explicit TQzBtnDBEdit(TComponent* owner);

    TGSpeedButton* Button() const { return button_; }
    int GlyphIndex() const { return glyphIndex_; }
    void SetGlyphIndex(int v);
    int ButtonSpacing() const { return buttonSpacing_; }
    void SetButtonSpacing(int v);
    const AnsiString& ButtonHint() const { return buttonHint_; }
    void SetButtonHint(const AnsiString& v);
    // Replaces the button's default action (focus the edit and ask its window for the F2 lookup).
    TNotifyEvent OnDialog;

    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;
    void SetEnabled(bool v) override;
    void SetVisible(bool v) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    virtual void ButtonClick();

private:
    void PlaceButton();

    TGSpeedButton* button_ = nullptr;
    int glyphIndex_ = 8;
    int buttonSpacing_ = 2;
    AnsiString buttonHint_;
};

} // namespace qz
