#pragma once
// Run-time conversion between the GB (936) texts the program is written in and the BIG5 (950)
// texts of a traditional-Chinese interface or database: a window's texts and fonts once, single
// values and Variant arrays in both directions, and message dialogs in the interface font.
#include "platform/variant/Variant.h"
#include "platform/vcl/Dialogs.h"
#include <memory>

namespace qz {

class TCustomComboBox;
class TFont;
class TListView;
class TStringList;
class TStrings;
class TTranslator;

QZ_ENUM(TDesignType, dtClient, dtServer)

// The component's class publishes propName with a type of that name (ignoring case).
bool HasPropertyOfType(const TObject* component, const AnsiString& propName, const AnsiString& typeName);

class TCodeConverter;

// The class step of a control of a higher layer (the selection panel): Matches tells whether a
// component is one; Convert converts it in a direction (1 BIG5 to GB, 2 GB to BIG5).
struct TConvertClassStep {
    bool (*Matches)(const TComponent* component) = nullptr;
    void (*Convert)(TCodeConverter& converter, TComponent* component, Byte direction) = nullptr;
};

class TCodeConverter : public TComponent {
    QZ_CLASS(TCodeConverter)
public:
    // Reads the client settings; loads the language library unless the interface needs no conversion.
    explicit TCodeConverter(TComponent* owner);
    ~TCodeConverter() override;

    void LoadSettings();
    // Converts the form and the components it owns (meant to run once per form).
    void ConvertForm(TCustomForm* form, const AnsiString& useExceptList, bool convertContents);
    // Direction 1: BIG5 to GB, 2: GB to BIG5, other: no text conversion.
    Variant ConvertValue(Byte direction, const Variant& v);
    Variant ConvertForUI(const Variant& v);
    Variant ConvertFromUI(const Variant& v); // v unchanged on any error
    Variant ConvertFromDB(const Variant& v);
    Variant ConvertToDB(const Variant& v); // v unchanged on any error
    AnsiString Big5ToGB(const AnsiString& s);
    AnsiString GBToBig5(const AnsiString& s);
    void SetConvertFont(Byte direction, TFont* font);
    // 0 for an empty message.
    int ShowMessageDlg(const AnsiString& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons);

    // The column captions, item captions and sub-items of a list view.
    void ConvertListView(TListView* view, Byte direction);
    static void SetSelectPanelStep(const TConvertClassStep& step);

    TDesignType DesignType() const { return FDesignType; }
    void SetDesignType(TDesignType v) { FDesignType = v; }
    // Lines "component name" #3 "properties left out"; nothing after #3 leaves the component out.
    TStringList* ExceptList() const { return FExceptList.get(); }
    TTranslator* Translator() const { return FTranslator.get(); }
    const AnsiString& SystemCodePage() const { return FSystemCodePage; }
    const AnsiString& UICodePage() const { return FUICodePage; }
    const AnsiString& DBCodePage() const { return FDBCodePage; }
    Byte UIConvertKind() const { return FUIConvertKind; }
    Byte DBConvertKind() const { return FDBConvertKind; }

private:
    AnsiString ConvertText(Byte direction, const AnsiString& s);
    void ConvertStrProp(TObject* object, const AnsiString& name, Byte direction);
    void ConvertStrings(TStrings* list, Byte direction);
    void ConvertComponent(TComponent* c, Byte direction, const AnsiString& exceptLine);
    void ConvertClassFirst(TComponent* c, Byte direction, bool convertContents);
    void ConvertClassSecond(TComponent* c, Byte direction, bool convertContents);
    void ConvertClassContents(TComponent* c, Byte direction, Byte group);
    void MakeComboOwnerDrawn(TCustomComboBox* combo);

    std::unique_ptr<TTranslator> FTranslator;
    AnsiString FSystemCodePage = "936";
    AnsiString FUICodePage = "936";
    AnsiString FDBCodePage = "936";
    Byte FUIConvertKind = 0;
    Byte FDBConvertKind = 0;
    TDesignType FDesignType = dtClient;
    std::unique_ptr<TStringList> FExceptList;
};

} // namespace qz
