#pragma once
// The base of every window of the module: a code-page converter and a language controller on the form,
// fonts, input methods and disabled glyph images set up on creation, the window translated from the
// language files of its class chain when shown, and translated message texts.
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"

namespace qz {

class TCodeConverter;
class TQzLangController;
class TBitmap;

class TQzForm : public TForm {
    QZ_CLASS(TQzForm)
public:
    explicit TQzForm(TComponent* owner);

    TCodeConverter* QzConverter = nullptr;
    TQzLangController* LangController = nullptr;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);

    // Converts the window's texts once; later calls do nothing.
    void ConvertForm();
    int MessageDialog(const AnsiString& text, TMsgDlgType dlgType, TMsgDlgButtons buttons);
    AnsiString GetSystemCodePage() const;
    AnsiString GetUICodePage() const;
    Byte GetUIConvertKind() const;
    Byte GetDBConvertKind() const;

    virtual void LoadLanguage(TComponent* component, bool wholeChain);
    virtual void LoadDerivedLanguage(TComponent* component, bool wholeChain);
    void TranslateWindow(bool wholeChain);
    // A message text of a language file, or the default (passed through ConvertForUI when convert).
    void GetLangText(const AnsiString& fileName, const AnsiString& key, AnsiString& text, bool convert,
                     const AnsiString& defaultText);

    bool FConverted = false;
    bool FTranslateOnShow = true;

private:
    void ApplyLanguageChain(TComponent* component, bool wholeChain, const TMetaClass* stopBefore);
};

// Gives a one-image glyph its disabled image: the glyph becomes twice as wide, the disabled image at
// its right, and the button's number of images 2. Glyphs with other counts are left alone.
void AddDisabledGlyph(TBitmap& glyph, int& numGlyphs);

} // namespace qz
