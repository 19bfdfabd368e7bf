#include "platform/vcl/FormReader.h"
#include "platform/core/CodePages.h"
#include "platform/core/StringList.h"
#include "platform/core/Strings.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Font.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include <gtest/gtest.h>

namespace qz {
namespace {

AnsiString probeLog;

class TProbeItem : public TCollectionItem {
    QZ_CLASS(TProbeItem)
public:
    using TCollectionItem::TCollectionItem;
    AnsiString Caption;
    int Width = 0;
};
QZ_CLASS_INFO(TProbeItem, TCollectionItem) {
    b.Property("Caption", &TProbeItem::Caption);
    b.Property("Width", &TProbeItem::Width);
}

// A component whose Mode is only remembered while it is being loaded and applied by Loaded.
class TProbe : public TComponent {
    QZ_CLASS(TProbe)
public:
    explicit TProbe(TComponent* owner) : TComponent(owner), columns_(TProbeItem::StaticClass()) {}
    int Mode() const { return mode_; }
    void SetMode(int v) {
        probeLog += "Mode=" + IntToStr(v) + (IsLoading() ? " (loading);" : ";");
        mode_ = v;
        if (!IsLoading()) applied = v;
    }
    TStrings* Items() const { return const_cast<TStringList*>(&items_); }
    TCollection* Columns() const { return const_cast<TCollection*>(&columns_); }
    TComponent* Buddy() const { return buddy_; }
    void SetBuddy(TComponent* v) {
        probeLog += "Buddy;";
        buddy_ = v;
    }
    void Loaded() override {
        TComponent::Loaded();
        applied = mode_;
        probeLog += "loaded " + Name() + ";";
    }
    int applied = 0;

private:
    int mode_ = 0;
    TStringList items_;
    TCollection columns_;
    TComponent* buddy_ = nullptr;
};
QZ_CLASS_INFO(TProbe, TComponent) {
    b.Property("Mode", &TProbe::Mode, &TProbe::SetMode);
    b.Property("Items", &TProbe::Items);
    b.Property("Columns", &TProbe::Columns);
    b.Property("Buddy", &TProbe::Buddy, &TProbe::SetBuddy);
}

const char kBaseDialog[] =
#include "BaseDialog.qzfm.inc"
    ;
const char kDerivedDialog[] =
#include "DerivedDialog.qzfm.inc"
    ;

class TBaseDialog : public TForm {
    QZ_CLASS(TBaseDialog)
public:
    using TForm::TForm;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;
    TLabel* lblTitle = nullptr;
    AnsiString log;
    void FormShow(TObject*) { log += "show " + Name() + ";"; }
    void btnOkClick(TObject*) { log += "ok;"; }
    void Loaded() override {
        TForm::Loaded();
        probeLog += "loaded " + Name() + ";";
    }
};
QZ_CLASS_INFO(TBaseDialog, TForm) {
    b.Resource(kBaseDialog);
    b.Field("btnOk", &TBaseDialog::btnOk);
    b.Field("btnCancel", &TBaseDialog::btnCancel);
    b.Field("lblTitle", &TBaseDialog::lblTitle);
    b.Method("FormShow", &TBaseDialog::FormShow);
    b.Method("btnOkClick", &TBaseDialog::btnOkClick);
}

class TDerivedDialog : public TBaseDialog {
    QZ_CLASS(TDerivedDialog)
public:
    using TBaseDialog::TBaseDialog;
    TEdit* edName = nullptr;
    TProbe* probe = nullptr;
};
QZ_CLASS_INFO(TDerivedDialog, TBaseDialog) {
    b.Resource(kDerivedDialog);
    b.Field("edName", &TDerivedDialog::edName);
    b.Field("probe", &TDerivedDialog::probe);
}

TEST(FormReader, BaseResourceReadIntoTheForm) {
    auto* f = CreateForm<TBaseDialog>(nullptr);
    EXPECT_EQ(f->Name(), "dlgBase");
    EXPECT_EQ(f->Left(), 10);
    EXPECT_EQ(f->Width(), 300);
    EXPECT_EQ(f->Caption(), GB("确定") + "\r\nx");
    EXPECT_EQ(f->BorderIcons(), TBorderIcons({biSystemMenu, biMinimize}));
    EXPECT_EQ(f->Position(), poScreenCenter);
    EXPECT_TRUE(f->KeyPreview());
    EXPECT_EQ(f->Font()->Name(), "Tahoma");
    ASSERT_TRUE(f->btnOk && f->btnCancel && f->lblTitle);
    EXPECT_EQ(f->btnOk->Owner(), f);
    EXPECT_EQ(f->btnOk->Parent(), f);
    EXPECT_EQ(f->btnOk->Font()->Name(), "Tahoma"); // parent font
    EXPECT_EQ(f->btnCancel->Caption(), GB("取消"));
    EXPECT_EQ(f->btnCancel->ModalResult(), mrCancel);
    EXPECT_EQ(f->lblTitle->Caption(), "\xC8\xB7");
    EXPECT_EQ(f->lblTitle->FocusControl(), f->btnCancel); // reference to a component read earlier
    EXPECT_EQ(f->btnCancel->TabOrder(), 0);
    EXPECT_EQ(f->btnOk->TabOrder(), 1);
    EXPECT_FALSE(f->btnOk->IsLoading());
    // Events bound to the form's published methods.
    EXPECT_EQ(MethodName(f, f->OnShow.Method().Code), "FormShow");
    f->Show();
    Application->Click(f->btnOk);
    EXPECT_EQ(f->log, "show dlgBase;ok;");
    f->Free();
}

TEST(FormReader, InheritedResourcesAndTheLoadingState) {
    probeLog.clear();
    auto* f = CreateForm<TDerivedDialog>(nullptr);
    EXPECT_EQ(f->Name(), "dlgDerived");
    EXPECT_EQ(f->Caption(), "Derived");
    EXPECT_EQ(f->Width(), 300);             // from the ancestor
    EXPECT_EQ(f->btnOk->Caption(), "Save"); // inherited component changed
    EXPECT_TRUE(f->btnOk->Default());
    EXPECT_EQ(f->ComponentCount(), 5);
    ASSERT_TRUE(f->probe && f->edName);
    // Properties in the order written, the reference after reading, Loaded at the end for all.
    EXPECT_EQ(probeLog, "Mode=3 (loading);Buddy;loaded dlgDerived;loaded probe;");
    EXPECT_EQ(f->probe->applied, 3);
    EXPECT_EQ(f->probe->Buddy(), f->edName);
    EXPECT_EQ(f->probe->Items()->CommaText(), "a,b'c");
    // OnChange bound while loading did not fire for the text read.
    EXPECT_EQ(f->edName->Text(), "x");
    EXPECT_EQ(f->log, "");
    f->edName->SetText("y");
    EXPECT_EQ(f->log, "ok;");
    f->Free();
}

TEST(FormReader, ValuesOfEveryShape) {
    auto* f = new TForm(nullptr);
    ReadComponentResText(f, R"(
object frmShapes: TForm
  Caption = 'It''s '#65'B' +
    'C'
  Color = clBtnFace
  Font.Style = [fsBold, fsItalic]
  Tag = -5
  object probe: TProbe
    Mode = $10
    Columns = <
      item
        Caption = 'one'
        Width = 40
      end
      item
        Caption = 'two'
      end>
    Items.Strings = ()
  end
end)");
    EXPECT_EQ(f->Name(), "frmShapes");
    EXPECT_EQ(f->Caption(), "It's ABC");
    EXPECT_EQ(f->Color(), clBtnFace);
    EXPECT_TRUE(f->Font()->Style().Contains(fsItalic));
    EXPECT_EQ(f->Tag(), -5);
    auto* probe = dynamic_cast<TProbe*>(f->FindComponent("probe"));
    ASSERT_TRUE(probe);
    EXPECT_EQ(probe->Mode(), 16);
    ASSERT_EQ(probe->Columns()->Count(), 2);
    EXPECT_EQ(static_cast<TProbeItem*>(probe->Columns()->Items(0))->Width, 40);
    EXPECT_EQ(static_cast<TProbeItem*>(probe->Columns()->Items(1))->Caption, "two");
    f->Free();
}

TEST(FormReader, ALabelReadFromAResourceTakesTheSizeOfItsCaption) {
    auto* f = new TForm(nullptr);
    ReadComponentResText(f, R"(
object frmLabels: TForm
  object lblSized: TLabel
    Left = 38
    Caption = 'Transfer state'
  end
  object lblFixed: TLabel
    AutoSize = False
    Width = 7
    Caption = 'Transfer state'
  end
end)");
    auto* sized = dynamic_cast<TLabel*>(f->FindComponent("lblSized"));
    auto* fixed = dynamic_cast<TLabel*>(f->FindComponent("lblFixed"));
    ASSERT_TRUE(sized && fixed);
    EXPECT_EQ(sized->Width(), sized->Canvas()->TextExtent("Transfer state").cx);
    EXPECT_GT(sized->Width(), 0);
    EXPECT_EQ(sized->Left(), 38);
    EXPECT_EQ(fixed->Width(), 7);
    f->Free();
}

TEST(FormReader, ErrorsNameTheProperty) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"object f: TForm\n  Colour = 1\nend", "f.Colour"},
        {"object f: TForm\n  object b: TNoSuchButton\n  end\nend", "TNoSuchButton"},
        {"object f: TForm\n  BorderIcons = [biNothing]\nend", "biNothing"},
        {"object f: TForm\n  OnShow = NoSuchMethod\nend", "NoSuchMethod"},
        {"object f: TForm\n  object b: TButton\n    Font.Size = 'big'\n  end\nend", "f.b.Font.Size"},
        {"object f: TForm\n  object p: TProbe\n    Buddy = nobody\n  end\nend", "nobody"},
        {"object f: TForm\n  Caption = 'open\nend", "line 2"},
        {"object f: TForm\n  inherited x: TButton\n  end\nend", "f.x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto* f = new TForm(nullptr);
        try {
            ReadComponentResText(f, c.text);
            ADD_FAILURE() << "no error";
        } catch (const EReadError& e) {
            EXPECT_NE(e.Message().find(c.message), AnsiString::npos) << e.Message();
        }
        f->Free();
    }
}

} // namespace
} // namespace qz
