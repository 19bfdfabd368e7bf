#pragma once
// Installation settings: the registry key of the installation and the client and server settings
// files ("CorvaneC.ini", "CorvaneS.ini"). A reader does its work when created; its fields are then
// read-only values for the caller.
#include "platform/core/StringList.h"
#include "platform/variant/Variant.h"

namespace qz {

// The installation's key under HKEY_LOCAL_MACHINE.
extern const char* const CorvaneRegistryKey;

// Base + Path with one leading "\" of Path dropped and "\" turned into "/"; a path with a drive, a
// network prefix ("\\" or "//") or a leading "/" is returned unchanged.
AnsiString MakeAbsolutePath(const AnsiString& path, const AnsiString& base);

class TCorvaneIniC : public TObject {
public:
    TCorvaneIniC();
    TCorvaneIniC(const TCorvaneIniC&) = delete;
    TCorvaneIniC& operator=(const TCorvaneIniC&) = delete;

    bool Load();

    AnsiString ClientPath;
    AnsiString ProfilePath;
    AnsiString ProfileType;
    AnsiString UserName;
    AnsiString UICodePage;
    AnsiString DBCodePage;
    AnsiString SystemCodePage;
    Byte UIConvertKind = 0;
    Byte DBConvertKind = 0;
    bool SupportCallBack = false;
    AnsiString IniFileName;
    Variant Servers; // [0..1, 0..n]: [0,i] address, [1,i] port
    AnsiString ErrorMsgID;
    AnsiString LangType;
    TStringList WorkDLLPaths;
    AnsiString Version;
    AnsiString CreateGifBeforeSendEF;
    AnsiString AutoCheckNewMsg;
    AnsiString CheckInterval;
    AnsiString PopupMsg;
    AnsiString LoginCheck;
};

class TCorvaneIniS : public TObject {
public:
    TCorvaneIniS();
    TCorvaneIniS(const TCorvaneIniS&) = delete;
    TCorvaneIniS& operator=(const TCorvaneIniS&) = delete;

    bool Load();
    void GetWorkDLLPaths(TStrings& list) const;

    AnsiString ServerPath;
    AnsiString ProfilePath;
    AnsiString ProfileType;
    AnsiString UserName;
    AnsiString UICodePage;
    AnsiString DBCodePage;
    AnsiString SystemCodePage;
    Byte UIConvertKind = 0;
    Byte DBConvertKind = 0;
    bool SupportCallBack = false;
    AnsiString IniFileName;
    // [0..3, 0..7]: main database, temporary database, password-control server and sort order, EDI database.
    Variant DBSettings;
    AnsiString ErrorMsgID;
    TStringList WorkDLLPaths;
    AnsiString Version;
    Byte DBKind = 0; // 1 ORACLE, 2 DB2
    AnsiString SystemControlAddress;
    AnsiString OtherSystemControlAddress;
};

} // namespace qz
