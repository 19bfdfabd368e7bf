#pragma once
// A group box holding one radio button per line of Items, arranged in columns.
#include "controls/QzRadioButton.h"
#include "platform/core/StringList.h"
#include "platform/vcl/StdCtrls.h"
#include <memory>
#include <vector>

namespace qz {

class TQzRadioGroup;

// A radio button of a group: its clicks go to the group.
class TQzGroupButton : public TQzRadioButton {
    QZ_CLASS(TQzGroupButton)
public:
    explicit TQzGroupButton(TComponent* group);
    ~TQzGroupButton() override;
    void ButtonClicked() override;
    void ButtonDoubleClicked() override;

protected:
    void KeyPress(char& key) override;
    void KeyDown(Word& key, TShiftState shift) override;

private:
    friend class TQzRadioGroup;
    TQzRadioGroup* group_;
    bool inClick_ = false;
};

class TQzRadioGroup : public TGroupBox {
    QZ_CLASS(TQzRadioGroup)
public:
    explicit TQzRadioGroup(TComponent* owner);
    ~TQzRadioGroup() override;

    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* v);
    // -1 for none; clamped to the buttons.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int v);
    // 1..16.
    int Columns() const { return columns_; }
    void SetColumns(int v);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool v) { ctl3D_ = v; }
    void SetEnabled(bool v) override;

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TQzGroupButton* Buttons(int index) const { return buttons_.at(index); }
    // Changes through the buttons are always allowed.
    virtual bool CanModify() const { return true; }

protected:
    void Loaded() override;
    void Resize() override;
    void FontChanged() override;

private:
    friend class TQzGroupButton;
    void ItemsChange();
    void UpdateButtons();
    void SetButtonCount(int count);
    void ArrangeButtons();
    void ButtonClick(TObject* sender);
    void GroupKeyPress(char& key) { KeyPress(key); }
    void GroupKeyDown(Word& key, TShiftState shift) { KeyDown(key, shift); }
    bool Reading() const { return ComponentState().Contains(csReading); }

    std::unique_ptr<TStringList> items_;
    std::vector<TQzGroupButton*> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
    bool ctl3D_ = true;
    bool updating_ = false;
};

} // namespace qz
