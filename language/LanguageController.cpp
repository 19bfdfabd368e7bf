#include "language/LanguageController.h"

#include "platform/core/Format.h"
#include "platform/core/Strings.h"
#include "platform/os/System.h"
#include "platform/rtti/ClassBuilder.h"
#include "support/CorvaneINI.h"

namespace qz {

namespace {

AnsiString LanguageCode(const AnsiString& codePage) {
    if (codePage == "936") return "CHS";
    if (codePage == "950") return "CHT";
    if (codePage == "437") return "ENG";
    return "";
}

}  // namespace

AnsiString GetLangFolder(TDesignType designType) {
    AnsiString codePage, path;
    if (designType == dtClient) {
        TCorvaneIniC ini;
        codePage = ini.UICodePage;
        path = ini.ClientPath;
    } else {
        TCorvaneIniS ini;
        codePage = ini.UICodePage;
        path = ini.ServerPath;
    }
    AnsiString code = LanguageCode(codePage);
    if (code.empty()) return "";
    AnsiString folder = IncludeTrailingPathDelimiter(path) + "MultiLanguage/" + code + "/";
    return DirectoryExists(folder) ? folder : "";
}

TLanguageController::TLanguageController(TComponent* owner) : TComponent(owner) {}

void TLanguageController::SetActive(bool value) {
    if (IsLoading()) {
        pendingActive_ = value;
        return;
    }
    if (value == active_) return;
    if (value) {
        if (fileName_.empty() || !FileExists(fileName_))
            throw LanguageControllerError(Format("Cannot Find File %s!", {fileName_}));
        active_ = true;
    } else {
        active_ = false;
    }
}

void TLanguageController::SetFileName(const AnsiString& value) {
    if (value == fileName_) return;
    SetActive(false);
    fileName_ = value;
}

void TLanguageController::CheckActive() const {
    if (!active_) throw LanguageControllerError("No active LanguageController!");
}

void TLanguageController::LoadComponent(TComponent*) { CheckActive(); }

void TLanguageController::Loaded() {
    TComponent::Loaded();
    if (pendingActive_) SetActive(true);
}

TQzLangController::TQzLangController(TComponent* owner) : TLanguageController(owner) { SetDesignType(dtClient); }

void TQzLangController::SetLangPackageName(const AnsiString& value) {
    if (value == packageName_) return;
    packageName_ = value;
    SetFileName(GetLangFolder(DesignType()) + value + ".Lng");
}

AnsiString ReadLangMessage(const AnsiString& fileName, const AnsiString&, const AnsiString& def) {
    if (!FileExists(fileName)) return def;
    return def;
}

AnsiString GetLangMessage(TDesignType designType, const AnsiString& name, const AnsiString& key,
                          const AnsiString& def) {
    return ReadLangMessage(GetLangFolder(designType) + name + ".Lng", key, def);
}

QZ_CLASS_INFO(TLanguageController, TComponent) {
    b.Property("Active", &TLanguageController::Active, &TLanguageController::SetActive).Default(false);
    b.Property("DesignType", &TLanguageController::DesignType, &TLanguageController::SetDesignType);
}

QZ_CLASS_INFO(TQzLangController, TLanguageController) {
    b.Property("LangPackageName", &TQzLangController::LangPackageName, &TQzLangController::SetLangPackageName);
}

}  // namespace qz
