#include "controls/QzControls.h"
#include "controls/BtChkBox.h"
#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "controls/QzRadioGroup.h"
#include "controls/SelectPnl.h"
#include "platform/gfx/Bitmap.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"
#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(QzControls, EveryClassIsFoundByName) {
    RegisterQzControls();
    for (const char* name :
         {"TBitCheckBox", "TLumCheckBox", "TGSpeedButton", "TF2Button", "TQzRadioButton", "TQzGroupButton",
          "TQzRadioGroup", "TExtPageControl", "TSelectPanel", "TLumMaskEdit", "TLumListView"})
        EXPECT_NE(GetClass(name), nullptr) << name;
}

// A window designed with the controls, as the request windows are.
TEST(QzControls, FormResourceCreatesAndSetsThem) {
    RegisterQzControls();
    auto* f = new TForm(nullptr);
    ReadComponentResText(f, R"(
object frmOption: TForm
  Width = 500
  Height = 300
  object pcOption: TExtPageControl
    Width = 400
    Height = 200
    object tsOption1: TTabSheet
      Caption = 'Run'
      PageControl = pcOption
      object chkQueue: TBitCheckBox
        Left = 8
        Top = 8
        Caption = 'Queue'
        AllowGrayed = True
        State = cbGrayed
        Alignment = taLeftJustify
      end
      object rbNow: TQzRadioButton
        Left = 8
        Top = 30
        Caption = 'Now'
        Checked = True
      end
      object edDate: TEdit
        Left = 10
        Top = 5
        Width = 100
        Height = 21
      end
      object btnDate: TF2Button
        GlyphIndex = 9
        HintIndex = 3
        Gap = 4
        F2Control = edDate
      end
    end
  end
end
)");
    auto* pc = dynamic_cast<TExtPageControl*>(f->FindComponent("pcOption"));
    auto* chk = dynamic_cast<TBitCheckBox*>(f->FindComponent("chkQueue"));
    auto* rb = dynamic_cast<TQzRadioButton*>(f->FindComponent("rbNow"));
    auto* btn = dynamic_cast<TF2Button*>(f->FindComponent("btnDate"));
    ASSERT_TRUE(pc && chk && rb && btn);
    EXPECT_EQ(pc->PageCount(), 1);
    EXPECT_TRUE(pc->OwnerDraw());
    EXPECT_EQ(chk->State(), cbGrayed);
    EXPECT_TRUE(chk->AllowGrayed());
    EXPECT_EQ(chk->Alignment(), taLeftJustify);
    EXPECT_TRUE(rb->Checked());
    EXPECT_EQ(btn->GlyphIndex(), 9);
    EXPECT_EQ(btn->HintIndex(), 3);
    EXPECT_FALSE(btn->Glyph()->Empty());
    EXPECT_EQ(btn->F2Control(), f->FindComponent("edDate"));
    EXPECT_EQ(btn->BoundsRect(), Bounds(114, 5, 21, 21));
    EXPECT_EQ(GetOrdProp(btn, "Gap"), 4);
    EXPECT_EQ(GetPropText(chk, GetPropInfo(chk, "State")), "cbGrayed");
    f->Free();
}

} // namespace
} // namespace qz
