#include "support/CorvaneINI.h"

#include "platform/core/CodePages.h"
#include "platform/core/Strings.h"
#include "platform/os/IniFiles.h"
#include "platform/os/Registry.h"
#include "platform/os/System.h"
#include "support/TesselGeneratorU.h"

#include <cctype>

namespace qz {

const char* const CorvaneRegistryKey = "Software\\Qz\\Corvane";

namespace {

// The user name as a 32-character buffer receives it: a name that does not fit gives "".
AnsiString ProfileUserName() {
    AnsiString name = GetUserName();
    return name.size() < 32 ? name : AnsiString();
}

void ComputeConvertKinds(const AnsiString& ui, const AnsiString& db, const AnsiString& system, Byte& uiKind,
                         Byte& dbKind) {
    uiKind = ui == "950" ? 2 : (ui == "936" && system == "950") ? 4 : 0;
    dbKind = (ui == "950" && db == "936") ? 2 : (ui == "936" && db == "950") ? 1 : 0;
}

bool IsTrueText(const AnsiString& value) {
    AnsiString v = UpperCase(value);
    return v == "1" || v == "Y" || v == "YES" || v == "TRUE";
}

// What both readers share: the installation folder from the registry and the settings file to read.
struct Installation {
    AnsiString path, profilePath, profileType = "0", userName = "Default", iniFileName, errorMsgID;
};

bool LocateSettings(const char* pathValue, const char* iniName, Installation& inst) {
    TRegistry reg;
    reg.RootKey = HKEY_LOCAL_MACHINE;
    if (!reg.OpenKeyReadOnly(CorvaneRegistryKey)) {
        inst.errorMsgID = "E;000015";
        return false;
    }
    inst.path = reg.ReadString(pathValue);
    inst.profileType = reg.ReadString("ProfileType");
    reg.CloseKey();
    if (inst.path.empty()) return false;

    inst.path = IncludeTrailingPathDelimiter(inst.path);
    inst.profilePath = inst.path;
    if (!inst.profileType.empty() && inst.profileType != "0") {
        inst.userName = ProfileUserName();
        inst.profilePath = inst.path + "Profile/" + inst.userName + "/";
    }
    inst.iniFileName = inst.profilePath + iniName;
    if (!FileExists(inst.iniFileName)) {
        inst.profilePath = inst.path;
        inst.iniFileName = inst.path + iniName;
    }
    return true;
}

// Module folders: each line's value with a trailing separator, made absolute against base.
void MakeWorkPaths(TStringList& paths, const AnsiString& base, const AnsiString& defaultFolder) {
    if (paths.Count() == 0) {
        paths.Add(base + defaultFolder);
        return;
    }
    for (int i = 0; i < paths.Count(); ++i) {
        AnsiString value = paths.ValueFromIndex(i);
        paths.Put(i, value.empty() ? base : MakeAbsolutePath(IncludeTrailingPathDelimiter(value), base));
    }
}

// What both readers do first: the fields they share back to their defaults, then the installation
// path and the settings file located. False when there is no installation.
template <class Reader>
bool StartLoad(Reader& r, AnsiString& installPath, const char* pathValue, const char* iniName) {
    r.ErrorMsgID.clear();
    installPath.clear();
    r.ProfilePath.clear();
    r.IniFileName.clear();
    r.ProfileType = "0";
    r.UserName = "Default";
    r.Version.clear();
    r.WorkDLLPaths.Clear();
    r.SystemCodePage = SystemCodePageText();
    r.UICodePage = r.SystemCodePage;
    r.DBCodePage = "936";
    r.SupportCallBack = false;
    ComputeConvertKinds(r.UICodePage, r.DBCodePage, r.SystemCodePage, r.UIConvertKind, r.DBConvertKind);

    Installation inst;
    bool located = LocateSettings(pathValue, iniName, inst);
    r.ErrorMsgID = inst.errorMsgID;
    installPath = inst.path;
    r.ProfileType = inst.profileType;
    if (!located) return false;
    r.ProfilePath = inst.profilePath;
    r.UserName = inst.userName;
    r.IniFileName = inst.iniFileName;
    return true;
}

} // namespace

AnsiString MakeAbsolutePath(const AnsiString& path, const AnsiString& base) {
    if (path.size() >= 2) {
        if ((path[0] == '\\' && path[1] == '\\') || (path[0] == '/' && path[1] == '/')) return path;
        if (std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') return path;
    }
    if (!path.empty() && path[0] == '/') return path;
    AnsiString relative = (!path.empty() && path[0] == '\\') ? path.substr(1) : path;
    return base + StringReplace(relative, "\\", "/", rfReplaceAll);
}

// ---- Client settings

TCorvaneIniC::TCorvaneIniC() {
    Load();
}

bool TCorvaneIniC::Load() {
    LangType.clear();
    CreateGifBeforeSendEF.clear();
    AutoCheckNewMsg.clear();
    CheckInterval.clear();
    PopupMsg.clear();
    LoginCheck.clear();
    VarClear(Servers);
    if (!StartLoad(*this, ClientPath, "ClientPath", "CorvaneC.ini")) return false;

    TIniFile ini(IniFileName);
    LangType = ini.ReadString("Client Components", "LangType", "ENG");
    Version = ini.ReadString("ProductVersion", "Version", "");
    CreateGifBeforeSendEF = ini.ReadString("UserDefine", "CreateGifBeforeSendEF", "Y");
    UICodePage = ini.ReadString("CodePage", "UICodePage", SystemCodePage);
    DBCodePage = ini.ReadString("CodePage", "DBCodePage", "936");
    SupportCallBack = IsTrueText(ini.ReadString("Server Information", "SupportCallBack", "0"));
    AnsiString servers = Trim(ini.ReadString("Server Information", "ComputerName", "127.0.0.1"));
    int port = ini.ReadInteger("Server Information", "ServerPort", 211);
    ini.ReadSectionValues("WorkDLLPath", WorkDLLPaths);
    AutoCheckNewMsg = ini.ReadString("TaskMessageCenter Setting", "AutoCheckNewMsg", "1");
    CheckInterval = ini.ReadString("TaskMessageCenter Setting", "CheckInterval", "1");
    PopupMsg = ini.ReadString("TaskMessageCenter Setting", "PopupMsg", "1");
    LoginCheck = ini.ReadString("TaskMessageCenter Setting", "LoginCheck", "0");

    ComputeConvertKinds(UICodePage, DBCodePage, SystemCodePage, UIConvertKind, DBConvertKind);

    if (!servers.empty() && servers.back() == ';') servers.pop_back();
    if (servers.empty()) {
        ErrorMsgID = "E;000016";
        return false;
    }
    Servers = VarArrayCreate({0, 1, 0, 0}, varVariant);
    for (int i = 0;; ++i) {
        if (i > 0) VarArrayRedim(Servers, i);
        size_t semicolon = servers.find(';');
        Servers.PutElement({0, i}, Variant(servers.substr(0, semicolon)));
        Servers.PutElement({1, i}, Variant(port));
        if (semicolon == AnsiString::npos) break;
        servers.erase(0, semicolon + 1);
    }

    MakeWorkPaths(WorkDLLPaths, ClientPath, "C_PKG/");
    return true;
}

// ---- Server settings

TCorvaneIniS::TCorvaneIniS() {
    Load();
}

bool TCorvaneIniS::Load() {
    DBKind = 0;
    SystemControlAddress.clear();
    OtherSystemControlAddress.clear();
    VarClear(DBSettings);
    if (!StartLoad(*this, ServerPath, "ServerPath", "CorvaneS.ini")) return false;

    TIniFile ini(IniFileName);
    DBSettings = VarArrayCreate({0, 3, 0, 7}, varVariant);
    auto put = [this](int row, int col, const Variant& value) { DBSettings.PutElement({row, col}, value); };
    const char* const dbe = "DBE Setting";
    const char* const pwc = "DBPasswordCtrl";

    Version = ini.ReadString("ProductVersion", "Version", "");
    UICodePage = ini.ReadString("CodePage", "UICodePage", SystemCodePage);
    DBCodePage = ini.ReadString("CodePage", "DBCodePage", "936");
    put(0, 0, ini.ReadString(dbe, "MainAlias", "Praxa"));
    put(0, 1, ini.ReadString(dbe, "MainUserName", "sa"));
    put(0, 2, UnscramblePassword(ini.ReadString(dbe, "XXXXXX", "")));
    put(0, 3, ini.ReadString(dbe, "MainDBType", "MSSQL"));
    put(0, 4, ini.ReadString(dbe, "MainDBName", ""));
    AnsiString mainServer = ini.ReadString(dbe, "MainServerName", "");
    put(0, 5, mainServer);
    SystemControlAddress = ini.ReadString(dbe, "SystemControlAddress", "");
    if (Trim(SystemControlAddress).empty()) SystemControlAddress = mainServer;
    OtherSystemControlAddress = ini.ReadString(dbe, "OtherSystemControlAddress", "");
    if (Trim(OtherSystemControlAddress).empty()) OtherSystemControlAddress = mainServer;
    put(0, 6, ini.ReadInteger(dbe, "MainConnectionTimeOut", 300));
    put(0, 7, ini.ReadInteger(dbe, "MainCommandTimeOut", 3000));
    put(1, 0, ini.ReadString(dbe, "TempAlias", "PraxaTemp"));
    put(1, 1, ini.ReadString(dbe, "TempUserName", "sa"));
    put(1, 2, UnscramblePassword(ini.ReadString(dbe, "TempPassword", "")));
    put(1, 3, ini.ReadString(dbe, "TempDBType", "PARADOX"));
    put(1, 4, ini.ReadString(dbe, "TempDBName", ""));
    put(1, 5, ini.ReadString(dbe, "TempDriverName", "PostgreSQL"));
    put(1, 6, ini.ReadInteger(dbe, "TempConnectionTimeOut", 300));
    put(1, 7, ini.ReadInteger(dbe, "TempCommandTimeOut", 3000));
    put(2, 0, Trim(ini.ReadString(pwc, "ComputerName", "")));
    put(2, 1, ini.ReadInteger(pwc, "ServerPort", 211));
    put(2, 2, ini.ReadInteger(pwc, "ClientSocketPort", 1024));
    SupportCallBack = IsTrueText(ini.ReadString(pwc, "SupportCallBack", "0"));
    put(2, 3, ini.ReadString(dbe, "DataBaseCodeOrder", "Chinese_Taiwan_Stroke_BIN"));
    put(3, 0, ini.ReadString(dbe, "EctAlias", "EDIDATA"));
    put(3, 1, ini.ReadString(dbe, "EctUserName", "sa"));
    put(3, 2, ini.ReadString(dbe, "EctPassword", ""));
    ini.ReadSectionValues("WorkDLLPath", WorkDLLPaths);

    AnsiString dbType = DBSettings.GetElement({0, 3}).AsString();
    DBKind = SameText(dbType, "ORACLE") ? 1 : SameText(dbType, "DB2") ? 2 : 0;

    ComputeConvertKinds(UICodePage, DBCodePage, SystemCodePage, UIConvertKind, DBConvertKind);
    MakeWorkPaths(WorkDLLPaths, ServerPath, "S_PKG/");
    return true;
}

void TCorvaneIniS::GetWorkDLLPaths(TStrings& list) const {
    list.Assign(WorkDLLPaths);
}

} // namespace qz
