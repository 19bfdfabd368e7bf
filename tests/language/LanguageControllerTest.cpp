#include "language/LanguageController.h"

#include "controls/QzForm.h"
#include "platform/core/StringList.h"
#include "platform/gfx/Font.h"
#include "platform/variant/Variant.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/StdCtrlsEx.h"
#include "support/SupportFixture.h"

#include <functional>

namespace qz {

// A small window chain below the base window: the middle class has no language file of its own.
class TfrmLangBase : public TQzForm {
    QZ_CLASS(TfrmLangBase)
public:
    using TQzForm::TQzForm;
};

class TfrmLangChild : public TfrmLangBase {
    QZ_CLASS(TfrmLangChild)
public:
    using TfrmLangBase::TfrmLangBase;
};

QZ_CLASS_INFO(TfrmLangBase, TQzForm) {}
QZ_CLASS_INFO(TfrmLangChild, TfrmLangBase) {}

} // namespace qz

using namespace qz;

namespace {

const char kHead[] = "<?xml version=\"1.0\" encoding=\"GB2312\"?>";

// A window with one control of each kind the paths address.
struct Window {
    Window() {
        form = CreateForm<TQzForm>(nullptr);
        lbl = Add<TLabel>("lbl");
        lbl->SetCaption("label");
        cbo = Add<TComboBox>("cbo");
        cbo->Items()->Add("a");
        cbo->Items()->Add("b");
        cbo->SetItemIndex(1);
        memo = Add<TMemo>("memo");
        lv = Add<TListView>("lv");
        lv->Columns()->Add();
        static_cast<TListColumn*>(lv->Columns()->Items(0))->SetCaption("col");
        lv->Items()->Add()->SetCaption("row0");
        lv->Items()->Add()->SetCaption("row1");
        tv = Add<TTreeView>("tv");
        TTreeNode* first = tv->Items()->Add(nullptr, "n0");
        tv->Items()->AddChild(first, "n0a");
        tv->Items()->Add(nullptr, "n1");
        bar = Add<TStatusBar>("bar");
        bar->Panels()->Add();
        bar->Panels()->Add();
        edt = Add<TEdit>("edt");
        edt->SetWidth(120);
    }
    ~Window() { form->Free(); }
    template <class T> T* Add(const char* name) {
        T* c = new T(form);
        c->SetName(name);
        if constexpr (std::is_base_of_v<TControl, T>) c->SetParent(form);
        return c;
    }

    TQzForm* form;
    TLabel* lbl;
    TComboBox* cbo;
    TMemo* memo;
    TListView* lv;
    TTreeView* tv;
    TStatusBar* bar;
    TEdit* edt;
};

class LanguageTest : public SupportFixture {
protected:
    LanguageTest() {
        SetRegistry("ClientPath=" + dir() + "prod/\nServerPath=" + dir() + "srv/\n");
        Write("prod/CorvaneC.ini", "[CodePage]\nUICodePage=936\n");
    }
    // A language file of the client installation's CHS folder.
    std::string WriteLng(const std::string& name, const std::string& body) {
        return Write("prod/MultiLanguage/CHS/" + name + ".Lng", kHead + body);
    }
    // Opens the file on a controller and applies it to the window.
    void Apply(TLanguageController& lc, const std::string& fileName, Window& w) {
        lc.SetFileName(fileName);
        lc.SetActive(true);
        lc.GetReader()->LoadComponent(w.form);
    }
};

std::vector<AnsiString> Lines(const TStrings* s) {
    std::vector<AnsiString> lines;
    for (int i = 0; i < s->Count(); ++i) lines.push_back(s->Get(i));
    return lines;
}

} // namespace

TEST_F(LanguageTest, AttributesAssignByPropertyPath) {
    struct Case {
        const char* what;
        std::string body;
        std::function<void(Window&)> check;
    } cases[] = {
        {"the document element is the window", "<frm Caption=\"" + GB("窗口") + "\"/>",
         [](Window& w) { EXPECT_EQ(w.form->Caption(), GB("窗口")); }},
        {"a plain property", "<frm><lbl Caption=\"" + GB("朱镕基") + "\"/></frm>",
         [](Window& w) { EXPECT_EQ(w.lbl->Caption(), GB("朱镕基")); }},
        {"a property of a property", "<frm><lbl Font.Name=\"Tahoma\" Font.Charset=\"134\"/></frm>",
         [](Window& w) {
             EXPECT_EQ(w.lbl->Font()->Name(), "Tahoma");
             EXPECT_EQ(w.lbl->Font()->Charset(), 134);
         }},
        {"only the first element of a name counts",
         "<frm><x><lbl Caption=\"1\"/></x><lbl Caption=\"2\"/></frm>",
         [](Window& w) { EXPECT_EQ(w.lbl->Caption(), "1"); }},
        {"a line past the end pads the list; the selection stays", "<frm><cbo Items_5=\"f\"/></frm>",
         [](Window& w) {
             EXPECT_EQ(Lines(w.cbo->Items()), (std::vector<AnsiString>{"a", "b", "", "", "", "f"}));
             EXPECT_EQ(w.cbo->ItemIndex(), 1);
         }},
        {"a line number no list reaches is skipped", "<frm><cbo Items_900000000=\"f\" Items_0=\"z\"/></frm>",
         [](Window& w) { EXPECT_EQ(Lines(w.cbo->Items()), (std::vector<AnsiString>{"z", "b"})); }},
        {"a line replaced", "<frm><cbo Items_0=\"z\" Items_1=\"y\"/></frm>",
         [](Window& w) {
             EXPECT_EQ(Lines(w.cbo->Items()), (std::vector<AnsiString>{"z", "y"}));
             EXPECT_EQ(w.cbo->ItemIndex(), 1);
             EXPECT_EQ(w.cbo->Text(), "y");
         }},
        {"line 0 of an empty memo", "<frm><memo Lines_0=\"m\"/></frm>",
         [](Window& w) { EXPECT_EQ(Lines(w.memo->Lines()), (std::vector<AnsiString>{"m"})); }},
        {"a column of a list view", "<frm><lv Columns_0.Caption=\"c\"/></frm>",
         [](Window& w) { EXPECT_EQ(w.lv->Column(0)->Caption(), "c"); }},
        {"a column past the end changes nothing", "<frm><lv Columns_1.Caption=\"c\"/></frm>",
         [](Window& w) {
             EXPECT_EQ(w.lv->Columns()->Count(), 1);
             EXPECT_EQ(w.lv->Column(0)->Caption(), "col");
             EXPECT_EQ(w.lv->Items()->Item(0)->Caption(), "row0");
             EXPECT_EQ(w.lv->Items()->Item(1)->Caption(), "row1");
         }},
        {"a row of a list view", "<frm><lv Items_1.Caption=\"r\"/></frm>",
         [](Window& w) {
             EXPECT_EQ(w.lv->Items()->Item(0)->Caption(), "row0");
             EXPECT_EQ(w.lv->Items()->Item(1)->Caption(), "r");
         }},
        {"a tree node counted in tree order", "<frm><tv Items_2.Text=\"t\" Items_9.Text=\"u\"/></frm>",
         [](Window& w) {
             EXPECT_EQ(w.tv->Items()->Item(0)->Text(), "n0");
             EXPECT_EQ(w.tv->Items()->Item(1)->Text(), "n0a");
             EXPECT_EQ(w.tv->Items()->Item(2)->Text(), "t");
         }},
        {"an item of a collection", "<frm><bar Panels.Items_1.Text=\"p\"/></frm>",
         [](Window& w) {
             EXPECT_EQ(w.bar->Panels()->Items(0)->Text(), "");
             EXPECT_EQ(w.bar->Panels()->Items(1)->Text(), "p");
         }},
        {"values that do not fit are skipped, the rest applied",
         "<frm><edt Width=\"wide\" Nothing.Name=\"x\" Hint_2=\"h\" Font.Nothing=\"x\" Text=\"ok\"/></frm>",
         [](Window& w) {
             EXPECT_EQ(w.edt->Width(), 120);
             EXPECT_EQ(w.edt->Hint(), "");
             EXPECT_EQ(w.edt->Text(), "ok");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Window w;
        TLanguageController lc(nullptr);
        Apply(lc, WriteLng("Case", c.body), w);
        c.check(w);
    }
}

TEST_F(LanguageTest, ExcludedComponentsAreSkippedButWhatTheyOwnIsVisited) {
    Window w;
    auto* pnl = w.Add<TPanel>("pnlTop");
    pnl->SetCaption("top");
    auto* inner = new TLabel(pnl);
    inner->SetName("lblInner");
    std::string file = WriteLng("Excl", "<frm><pnlTop Caption=\"T\"><lblInner Caption=\"I\"/></pnlTop>"
                                        "<lbl Caption=\"L\"/><edt Text=\"E\"/></frm>");
    TLanguageController lc(nullptr);
    lc.ExcludeControls()->Add(" PNLTOP ");
    lc.SetFileName(file);
    lc.SetActive(true);
    // A change after opening reaches the reader.
    lc.ExcludeControls()->Add("lbl");
    lc.GetReader()->LoadComponent(w.form);
    EXPECT_EQ(pnl->Caption(), "top");
    EXPECT_EQ(inner->Caption(), "I");
    EXPECT_EQ(w.lbl->Caption(), "label");
    EXPECT_EQ(w.edt->Text(), "E");
}

TEST_F(LanguageTest, ReadersPickAttributesByPositionOrName) {
    Window w;
    TXmlDocument doc;
    ASSERT_TRUE(doc.LoadXML("<lbl Caption=\"c\" Hint=\"h\" Tag=\"7\"/>"));
    auto reader = TReaderFactory::CreateReader(w.lbl, doc.DocumentElement());
    reader->ReadAttribute(Variant(true));
    reader->ReadAttribute(Variant(5));
    reader->ReadAttribute(Variant("Nope"));
    EXPECT_EQ(w.lbl->Caption(), "label");
    reader->ReadAttribute(Variant(1));
    EXPECT_EQ(w.lbl->Hint(), "h");
    EXPECT_EQ(w.lbl->Caption(), "label");
    reader->ReadAttribute(Variant("Caption"));
    EXPECT_EQ(w.lbl->Caption(), "c");
    EXPECT_EQ(w.lbl->Tag(), 0);

    EXPECT_NE(dynamic_cast<TCustomComboBoxRead*>(TReaderFactory::CreateReader(w.cbo, {}).get()), nullptr);
    EXPECT_EQ(dynamic_cast<TCustomComboBoxRead*>(TReaderFactory::CreateReader(w.lbl, {}).get()), nullptr);
}

TEST_F(LanguageTest, OpeningAndClosing) {
    std::vector<std::string> events;
    TLanguageController lc(nullptr);
    for (auto [event, name] : {std::pair{&lc.BeforeOpen, "BeforeOpen"},
                               {&lc.AfterOpen, "AfterOpen"},
                               {&lc.BeforeClose, "BeforeClose"},
                               {&lc.AfterClose, "AfterClose"}})
        *event = [&events, name = std::string(name)](TObject*) { events.push_back(name); };

    EXPECT_FALSE(lc.Active());
    try {
        lc.GetReader();
        ADD_FAILURE();
    } catch (const LanguageControllerError& e) {
        EXPECT_STREQ(e.what(), "No active LanguageController!");
    }
    try {
        lc.SetActive(true);
        ADD_FAILURE();
    } catch (const LanguageControllerError& e) {
        EXPECT_STREQ(e.what(), "Cannot Find File !");
    }
    EXPECT_EQ(events, (std::vector<std::string>{"BeforeOpen"}));

    struct Bad {
        const char* what;
        std::string bytes;
    } bad[] = {{"not well-formed", "<a><b></a>"}, {"empty", ""}};
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.what);
        TXmlDocument parser;
        lc.SetFileName(Write("bad.Lng", b.bytes));
        EXPECT_FALSE(parser.Load(lc.FileName()));
        try {
            lc.SetActive(true);
            ADD_FAILURE();
        } catch (const LanguageControllerError& e) {
            EXPECT_EQ(e.Message(), parser.ParseError().Reason);
        }
        EXPECT_FALSE(lc.Active());
        lc.SetFileName("");
    }
    EXPECT_THROW((lc.SetFileName(dir() + "missing.Lng"), lc.SetActive(true)), LanguageControllerError);

    events.clear();
    std::string good = WriteLng("Good", "<frm/>");
    lc.SetFileName(good);
    lc.SetActive(true);
    EXPECT_TRUE(lc.Active());
    EXPECT_NE(lc.GetReader(), nullptr);
    lc.SetActive(true);
    lc.SetFileName(good);
    EXPECT_TRUE(lc.Active());
    lc.SetFileName(WriteLng("Other", "<frm/>"));
    EXPECT_FALSE(lc.Active());
    EXPECT_EQ(events, (std::vector<std::string>{"BeforeOpen", "AfterOpen", "BeforeClose", "AfterClose"}));

    // Read from a stored form, Active waits for the end of loading.
    TLanguageController stored(nullptr);
    stored.BeginLoading();
    stored.SetFileName(good);
    stored.SetActive(true);
    EXPECT_FALSE(stored.Active());
    static_cast<TComponent&>(stored).Loaded();
    EXPECT_TRUE(stored.Active());
}

TEST_F(LanguageTest, LanguageFolderByCodePage) {
    for (const char* code : {"CHS", "CHT", "ENG"}) {
        Write(std::string("prod/MultiLanguage/") + code + "/x", "");
        Write(std::string("srv/MultiLanguage/") + code + "/x", "");
    }
    struct Case {
        const char* codePage;
        TDesignType designType;
        std::string folder;
    } cases[] = {
        {"936", dtClient, "prod/MultiLanguage/CHS/"},
        {"950", dtClient, "prod/MultiLanguage/CHT/"},
        {"437", dtClient, "prod/MultiLanguage/ENG/"},
        {"1252", dtClient, ""},
        {"", dtClient, ""},
        {"950", dtServer, "srv/MultiLanguage/CHT/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codePage);
        const char* ini = c.designType == dtClient ? "prod/CorvaneC.ini" : "srv/CorvaneS.ini";
        Write(ini, std::string("[CodePage]\nUICodePage=") + c.codePage + "\n");
        EXPECT_EQ(GetLangFolder(c.designType), c.folder.empty() ? "" : dir() + c.folder);
    }
    // A code page of the table whose folder is missing.
    Write("prod/CorvaneC.ini", "[CodePage]\nUICodePage=936\n");
    std::filesystem::remove_all(dir() + "prod/MultiLanguage/CHS");
    EXPECT_EQ(GetLangFolder(dtClient), "");

    TQzLangController lc(nullptr);
    EXPECT_EQ(lc.DesignType(), dtClient);
    lc.SetLangPackageName("TfrmBaseGene");
    EXPECT_EQ(lc.FileName(), "TfrmBaseGene.Lng");
    lc.SetDesignType(dtServer);
    lc.SetLangPackageName("TfrmNotify");
    EXPECT_EQ(lc.FileName(), dir() + "srv/MultiLanguage/CHT/TfrmNotify.Lng");
}

TEST_F(LanguageTest, MessagesFallBackToTheirDefault) {
    WriteLng("TfrmBaseGene", "<TfrmBaseGene><Messages><sOption Msg=\"" + GB("选项镕") +
                                 "\"/></Messages><sNoMsg Text=\"x\"/><sEmpty Msg=\"\"/></TfrmBaseGene>");
    WriteLng("Broken", "<TfrmBroken><sOption Msg=\"x\"></TfrmBroken>");
    struct Case {
        const char* name;
        const char* key;
        AnsiString expected;
    } cases[] = {
        {"TfrmBaseGene", "sOption", GB("选项镕")}, {"TfrmBaseGene", "sEmpty", ""},
        {"TfrmBaseGene", "sNoMsg", "default"},     {"TfrmBaseGene", "sMissing", "default"},
        {"TfrmBaseGene", "s Option", "default"},   {"TfrmBaseGene", "", "default"},
        {"TfrmBaseGene", "*", "default"},          {"TfrmBaseGene", "sNoMsg|//sOption", "default"},
        {"TfrmMissing", "sOption", "default"},     {"Broken", "sOption", "default"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "/" + c.key);
        EXPECT_EQ(GetLangMessage(dtClient, c.name, c.key, "default"), c.expected);
    }
    EXPECT_EQ(ReadLangMessage(dir() + "prod/MultiLanguage/CHS/TfrmBaseGene.Lng", "sOption", "d"),
              GB("选项镕"));
}

TEST_F(LanguageTest, WindowAppliesTheFilesOfItsClassChainFromTheBase) {
    WriteLng("TQzForm", "<QzForm Caption=\"base\"><lbl Caption=\"base\" Hint=\"base\"/></QzForm>");
    WriteLng("TfrmLangChild", "<frmChild><lbl Caption=\"child\"/></frmChild>");
    TfrmLangChild* form = CreateForm<TfrmLangChild>(nullptr);
    auto* lbl = new TLabel(form);
    lbl->SetName("lbl");
    std::vector<std::string> seen;
    form->LangController->BeforeLoadComponent = [&](TComponent* c, const IXMLDOMNode& node) {
        seen.push_back(form->LangController->LangPackageName() + ":" + c->Name() + "=" + node.NodeName());
    };
    form->FormShow(form);
    // The window, named after the base class's design, is also found by its name in the first file.
    EXPECT_EQ(seen,
              (std::vector<std::string>{"TQzForm:QzForm=QzForm", "TQzForm:QzForm=QzForm", "TQzForm:lbl=lbl",
                                        "TfrmLangChild:QzForm=frmChild", "TfrmLangChild:lbl=lbl"}));
    EXPECT_EQ(form->Caption(), "base");
    EXPECT_EQ(lbl->Caption(), "child");
    EXPECT_EQ(lbl->Hint(), "base");
    EXPECT_TRUE(form->LangController->Active());

    // The derived chain leaves out the base window's file.
    seen.clear();
    form->LoadDerivedLanguage(form, true);
    EXPECT_EQ(seen, (std::vector<std::string>{"TfrmLangChild:QzForm=frmChild", "TfrmLangChild:lbl=lbl"}));

    AnsiString text;
    WriteLng("TfrmLangChild", "<frmChild><sHello Msg=\"hi\"/></frmChild>");
    form->GetLangText("TfrmLangChild", "sHello", text, false, "x");
    EXPECT_EQ(text, "hi");
    form->GetLangText("TfrmLangChild", "sOther", text, false, "x");
    EXPECT_EQ(text, "x");
    form->Free();
}
