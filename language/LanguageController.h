#pragma once
// Language files: one file per window class ("<folder><class>.Lng") below the installation's
// "MultiLanguage" folder for the interface code page. The controller opens a file; message texts are
// looked up by section and key with a built-in default.
#include "platform/vcl/Classes.h"
#include "support/CodeConverter.h"

namespace qz {

QZ_EXCEPTION_CLASS(LanguageControllerError, Exception);

// The language folder of the installation for the design type, with its trailing "/"; "" when the
// interface code page has no language or the folder does not exist.
AnsiString GetLangFolder(TDesignType designType);

class TLanguageController : public TComponent {
    QZ_CLASS(TLanguageController)
public:
    explicit TLanguageController(TComponent* owner);

    bool Active() const { return active_; }
    void SetActive(bool value);
    const AnsiString& FileName() const { return fileName_; }
    void SetFileName(const AnsiString& value);
    TDesignType DesignType() const { return designType_; }
    void SetDesignType(TDesignType value) { designType_ = value; }
    // Raises "No active LanguageController!" unless a file is open.
    void CheckActive() const;
    // Applies the open file to the component and what it owns.
    void LoadComponent(TComponent* component);

protected:
    void Loaded() override;

private:
    AnsiString fileName_;
    bool active_ = false;
    bool pendingActive_ = false;
    TDesignType designType_ = dtClient;
};

class TQzLangController : public TLanguageController {
    QZ_CLASS(TQzLangController)
public:
    explicit TQzLangController(TComponent* owner);
    const AnsiString& LangPackageName() const { return packageName_; }
    // A new name points FileName at "<language folder><name>.Lng".
    void SetLangPackageName(const AnsiString& value);

private:
    AnsiString packageName_;
};

// The text of key in the file, or the default when there is none.
AnsiString ReadLangMessage(const AnsiString& fileName, const AnsiString& key, const AnsiString& def);
AnsiString GetLangMessage(TDesignType designType, const AnsiString& name, const AnsiString& key,
                          const AnsiString& def);

}  // namespace qz
