#pragma once
// The module's request window: the report of documents whose transfer to another company failed, or
// whose undoing of a transfer failed, by document kind, numbers, dates and transfer state.
#include "framework/BaseRpt.h"

namespace qz {

class TBitCheckBox;
class TComboBox;
class TGroupBox;
class TLabel;
class TSelectPanel;

class TfrmRovan : public TfrmBaseRpt {
    QZ_CLASS(TfrmRovan)
public:
    explicit TfrmRovan(TComponent* owner) : TfrmBaseRpt(owner) {}

    void DefineModule() override;
    bool InitFromHost(const Variant& Params) override;
    void DoF2Key(Word Key, TControl* Control) override;
    bool GetOptionValues(Variant& Values, int Index) override;
    bool GetOptionTexts(Variant& Texts, int Index) override;

    TGroupBox* gb01 = nullptr;
    TBitCheckBox* chk01A = nullptr;
    TBitCheckBox* chk01B = nullptr;
    TBitCheckBox* chk01C = nullptr;
    TBitCheckBox* chk01D = nullptr;
    TBitCheckBox* chk01E = nullptr;
    TBitCheckBox* chk01F = nullptr;
    TBitCheckBox* chk01G = nullptr;
    TBitCheckBox* chk01H = nullptr;
    TSelectPanel* sp02 = nullptr;
    TSelectPanel* sp03 = nullptr;
    TLabel* lbl04 = nullptr;
    TComboBox* cbo04 = nullptr;
    // The ticked document-kind boxes, counted before the values are collected.
    int FCheckedKinds = 0;
};

} // namespace qz
