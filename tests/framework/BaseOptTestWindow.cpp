#include "BaseOptTestWindow.h"

#include "platform/rtti/ClassBuilder.h"

namespace qz::test {

namespace {

const char kResource[] = R"(inherited frmRovJob: TfrmJobProbe
  inherited pgOption: TExtPageControl
    inherited tsOption1: TTabSheet
      object edCode: TEdit
        Left = 8
        Top = 8
        Width = 120
        Height = 21
        TabOrder = 0
      end
    end
  end
end
)";

} // namespace

QZ_CLASS_INFO(TfrmJobProbe, TfrmBaseOpt) {
    b.Resource(kResource);
    b.Field("edCode", &TfrmJobProbe::edCode);
}

} // namespace qz::test
