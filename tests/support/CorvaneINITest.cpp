#include "support/CorvaneINI.h"
#include "SupportFixture.h"
#include "platform/core/CodePages.h"
#include "platform/core/StringList.h"
#include "platform/os/System.h"
#include "platform/variant/Variant.h"
#include "support/TesselGeneratorU.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace qz;

namespace {

std::vector<AnsiString> Lines(const TStrings& list) {
    std::vector<AnsiString> lines;
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list[i]);
    return lines;
}

std::vector<AnsiString> ServerAddresses(const Variant& servers) {
    std::vector<AnsiString> addresses;
    for (int i = 0; i <= VarArrayHighBound(servers, 2); ++i)
        addresses.push_back(servers.GetElement({0, i}).AsString());
    return addresses;
}

class Settings : public SupportFixture {
protected:
    Settings() { SetRegistry("ClientPath=" + Install() + "\nServerPath=" + Install() + "\n"); }
    std::string Install() const { return dir() + "prod"; } // as the registry holds it, without "/"
};

TEST_F(Settings, RegistryFailuresLeaveTheSystemCodePages) {
    struct Case {
        int systemCodePage;
        const char* registry;
        const char* errorId;
        const char* codePage;
        int uiKind, dbKind;
    };
    const Case cases[] = {
        {936, "", "E;000015", "936", 0, 0},
        {1252, "", "E;000015", "437", 0, 0},
        {950, "", "E;000015", "950", 2, 2},
        {936, "ClientPath=\nServerPath=\nProfileType=1\n", "", "936", 0, 0},
    };
    for (const auto& c : cases) {
        SetSystemCodePage(c.systemCodePage);
        SetRegistry(c.registry);
        TCorvaneIniC client;
        EXPECT_FALSE(client.Load());
        EXPECT_EQ(client.ErrorMsgID, c.errorId);
        EXPECT_EQ(client.SystemCodePage, c.codePage);
        EXPECT_EQ(client.UICodePage, c.codePage);
        EXPECT_EQ(client.DBCodePage, "936");
        EXPECT_EQ(client.UIConvertKind, c.uiKind);
        EXPECT_EQ(client.DBConvertKind, c.dbKind);
        EXPECT_EQ(client.ClientPath, "");
        EXPECT_EQ(client.IniFileName, "");
        EXPECT_TRUE(VarIsEmpty(client.Servers));
        TCorvaneIniS server;
        EXPECT_FALSE(server.Load());
        EXPECT_EQ(server.ErrorMsgID, c.errorId);
        EXPECT_EQ(server.UIConvertKind, c.uiKind);
        EXPECT_TRUE(VarIsEmpty(server.DBSettings));
    }
}

TEST_F(Settings, ClientDefaultsWithoutASettingsFile) {
    TCorvaneIniC ini;
    EXPECT_TRUE(ini.Load());
    const AnsiString base = Install() + "/";
    EXPECT_EQ(ini.ErrorMsgID, "");
    EXPECT_EQ(ini.ClientPath, base);
    EXPECT_EQ(ini.ProfilePath, base);
    EXPECT_EQ(ini.IniFileName, base + "CorvaneC.ini");
    EXPECT_EQ(ini.ProfileType, "");
    EXPECT_EQ(ini.UserName, "Default");
    EXPECT_EQ(ini.LangType, "ENG");
    EXPECT_EQ(ini.Version, "");
    EXPECT_EQ(ini.CreateGifBeforeSendEF, "Y");
    EXPECT_EQ(ini.UICodePage, "936");
    EXPECT_EQ(ini.DBCodePage, "936");
    EXPECT_FALSE(ini.SupportCallBack);
    EXPECT_EQ(ServerAddresses(ini.Servers), std::vector<AnsiString>{"127.0.0.1"});
    EXPECT_EQ(ini.Servers.GetElement({1, 0}).AsInteger(), 211);
    EXPECT_EQ(Lines(ini.WorkDLLPaths), std::vector<AnsiString>{base + "C_PKG/"});
    EXPECT_EQ(ini.AutoCheckNewMsg + ini.CheckInterval + ini.PopupMsg + ini.LoginCheck, "1110");
}

TEST_F(Settings, ServerListsSplitAtEverySemicolon) {
    struct Case {
        const char* computerName;
        std::vector<AnsiString> servers; // empty: the list is refused
    };
    const Case cases[] = {
        {";host1;host2;", {"", "host1", "host2"}},
        {"127.0.0.1;", {"127.0.0.1"}},
        {"a;;b", {"a", "", "b"}},
        {"a; b", {"a", " b"}},
        {";;", {"", ""}},
        {";", {}},
        {" ; ", {}},
    };
    for (const auto& c : cases) {
        Write("prod/CorvaneC.ini", std::string("[Server Information]\nComputerName=") + c.computerName +
                                       "\nServerPort=3000\n[WorkDLLPath]\nA=\\Bin\n");
        TCorvaneIniC ini;
        if (c.servers.empty()) {
            EXPECT_FALSE(ini.Load()) << c.computerName;
            EXPECT_EQ(ini.ErrorMsgID, "E;000016");
            EXPECT_TRUE(VarIsEmpty(ini.Servers));
            EXPECT_EQ(Lines(ini.WorkDLLPaths), std::vector<AnsiString>{"A=\\Bin"});
            continue;
        }
        EXPECT_TRUE(ini.Load()) << c.computerName;
        ASSERT_EQ(VarArrayDimCount(ini.Servers), 2);
        EXPECT_EQ(VarArrayHighBound(ini.Servers, 1), 1);
        EXPECT_EQ(ServerAddresses(ini.Servers), c.servers) << c.computerName;
        for (int i = 0; i < static_cast<int>(c.servers.size()); ++i)
            EXPECT_EQ(ini.Servers.GetElement({1, i}).AsInteger(), 3000);
    }
}

TEST_F(Settings, WorkLibraryFoldersAreMadeAbsolute) {
    Write("prod/CorvaneC.ini", "[WorkDLLPath]\n"
                               "A=\\Bin\n"
                               "B=/mnt/mods\n"
                               "C=\\\\srv\\share\\m\\\n"
                               "D=sub\\dir\n"
                               "E=//srv/share\n"
                               "F=\n");
    TCorvaneIniC ini;
    ASSERT_TRUE(ini.Load());
    const AnsiString base = Install() + "/";
    EXPECT_EQ(Lines(ini.WorkDLLPaths),
              (std::vector<AnsiString>{base + "Bin/", "/mnt/mods/", "\\\\srv\\share\\m\\", base + "sub/dir/",
                                       "//srv/share/", base}));

    struct Case {
        const char* path;
        const char* expected;
    };
    const Case cases[] = {
        {"\\Bin\\", "/opt/prod/Bin/"},
        {"Bin/", "/opt/prod/Bin/"},
        {"/mnt/mods/", "/mnt/mods/"},
        {"\\\\srv\\m", "\\\\srv\\m"},
        {"//srv/m", "//srv/m"},
        {"C:\\Mods\\", "C:\\Mods\\"},
        {"", "/opt/prod/"},
        {"\\\\", "\\\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(MakeAbsolutePath(c.path, "/opt/prod/"), c.expected) << c.path;
}

TEST_F(Settings, CodePagesAndCallBackFromTheFile) {
    struct Case {
        int systemCodePage;
        const char* ui;
        const char* db;
        const char* callBack;
        int uiKind, dbKind;
        bool support;
    };
    const Case cases[] = {
        {950, "936", "950", "yes", 4, 1, true}, {936, "950", "936", "True", 2, 2, true},
        {936, "936", "950", "1", 0, 1, true},   {1252, "437", "936", "Y", 0, 0, true},
        {950, "950", "950", "0", 2, 0, false},  {936, "936", "936", "no", 0, 0, false},
    };
    for (const auto& c : cases) {
        SetSystemCodePage(c.systemCodePage);
        Write("prod/CorvaneC.ini", std::string("[CodePage]\nUICodePage=") + c.ui + "\nDBCodePage=" + c.db +
                                       "\n[Server Information]\nSupportCallBack=" + c.callBack + "\n");
        Write("prod/CorvaneS.ini", std::string("[CodePage]\nUICodePage=") + c.ui + "\nDBCodePage=" + c.db +
                                       "\n[DBPasswordCtrl]\nSupportCallBack=" + c.callBack + "\n");
        TCorvaneIniC client;
        TCorvaneIniS server;
        for (auto [ui, db, kindUi, kindDb, support] :
             {std::tuple(client.UICodePage, client.DBCodePage, client.UIConvertKind, client.DBConvertKind,
                         client.SupportCallBack),
              std::tuple(server.UICodePage, server.DBCodePage, server.UIConvertKind, server.DBConvertKind,
                         server.SupportCallBack)}) {
            EXPECT_EQ(ui, c.ui);
            EXPECT_EQ(db, c.db);
            EXPECT_EQ(kindUi, c.uiKind) << c.systemCodePage << " " << c.ui << " " << c.db;
            EXPECT_EQ(kindDb, c.dbKind) << c.systemCodePage << " " << c.ui << " " << c.db;
            EXPECT_EQ(support, c.support) << c.callBack;
        }
    }
}

TEST_F(Settings, PerUserProfilesFallBackToTheInstallationFolder) {
    SetRegistry("ClientPath=" + Install() + "\nServerPath=" + Install() + "\nProfileType=1\n");
    Write("prod/CorvaneC.ini", "[Client Components]\nLangType=CHS\n");
    Write("prod/CorvaneS.ini", "[ProductVersion]\nVersion=7.0\n");
    const AnsiString base = Install() + "/";
    {
        TCorvaneIniC client;
        EXPECT_EQ(client.ProfileType, "1");
        EXPECT_EQ(client.UserName, GetUserName());
        EXPECT_EQ(client.ProfilePath, base);
        EXPECT_EQ(client.IniFileName, base + "CorvaneC.ini");
        EXPECT_EQ(client.LangType, "CHS");
        TCorvaneIniS server;
        EXPECT_EQ(server.ProfilePath, base);
        EXPECT_EQ(server.Version, "7.0");
    }
    const AnsiString profile = base + "Profile/" + GetUserName() + "/";
    Write("prod/Profile/" + GetUserName() + "/CorvaneC.ini", "[Client Components]\nLangType=CHT\n");
    TCorvaneIniC client;
    EXPECT_EQ(client.ProfilePath, profile);
    EXPECT_EQ(client.IniFileName, profile + "CorvaneC.ini");
    EXPECT_EQ(client.LangType, "CHT");
    EXPECT_EQ(Lines(client.WorkDLLPaths), std::vector<AnsiString>{base + "C_PKG/"});

    SetRegistry("ClientPath=" + Install() + "\nProfileType=0\n");
    EXPECT_EQ(TCorvaneIniC().UserName, "Default");
}

TEST_F(Settings, ServerDefaultsWithoutASettingsFile) {
    TCorvaneIniS ini;
    EXPECT_TRUE(ini.Load());
    const AnsiString base = Install() + "/";
    EXPECT_EQ(ini.ServerPath, base);
    EXPECT_EQ(ini.IniFileName, base + "CorvaneS.ini");
    EXPECT_EQ(ini.UICodePage, "936");
    EXPECT_EQ(ini.DBKind, 0);
    EXPECT_EQ(ini.SystemControlAddress, "");
    EXPECT_EQ(ini.OtherSystemControlAddress, "");
    EXPECT_FALSE(ini.SupportCallBack);
    struct Cell {
        int row, col;
        Variant value;
    };
    const Cell cells[] = {
        {0, 0, "Praxa"},     {0, 1, "sa"},         {0, 2, ""},        {0, 3, "MSSQL"},
        {0, 4, ""},          {0, 5, ""},           {0, 6, 300},       {0, 7, 3000},
        {1, 0, "PraxaTemp"}, {1, 1, "sa"},         {1, 2, ""},        {1, 3, "PARADOX"},
        {1, 4, ""},          {1, 5, "PostgreSQL"}, {1, 6, 300},       {1, 7, 3000},
        {2, 0, ""},          {2, 1, 211},          {2, 2, 1024},      {2, 3, "Chinese_Taiwan_Stroke_BIN"},
        {2, 4, Variant()},   {2, 7, Variant()},    {3, 0, "EDIDATA"}, {3, 1, "sa"},
        {3, 2, ""},          {3, 3, Variant()},    {3, 7, Variant()},
    };
    for (const auto& c : cells) {
        Variant v = ini.DBSettings.GetElement({c.row, c.col});
        EXPECT_EQ(VarType(v), VarType(c.value)) << c.row << "," << c.col;
        if (!VarIsEmpty(c.value)) {
            EXPECT_EQ(v, c.value) << c.row << "," << c.col;
        }
    }
    EXPECT_EQ(Lines(ini.WorkDLLPaths), std::vector<AnsiString>{base + "S_PKG/"});
}

TEST_F(Settings, ServerValuesPasswordsAndDatabaseKind) {
    struct Case {
        const char* dbType;
        int kind;
    };
    const Case cases[] = {{"oracle", 1}, {"ORACLE", 1}, {"Db2", 2}, {"MSSQL", 0}, {"DB2X", 0}};
    for (const auto& c : cases) {
        Write("prod/CorvaneS.ini", "[DBE Setting]\n"
                                   "XXXXXX=" +
                                       ScramblePassword("s3cret") +
                                       "\n"
                                       "TempPassword=" +
                                       ScramblePassword("") +
                                       "\n"
                                       "EctPassword=" +
                                       ScramblePassword("edi") +
                                       "\n"
                                       "MainDBType=" +
                                       c.dbType +
                                       "\n"
                                       "MainServerName=db1\n"
                                       "SystemControlAddress=  \n"
                                       "OtherSystemControlAddress=ctl2\n"
                                       "MainConnectionTimeOut=45\n"
                                       "[DBPasswordCtrl]\n"
                                       "ComputerName=  pw  \n"
                                       "ServerPort=999\n"
                                       "[WorkDLLPath]\n"
                                       "S=\\Mods\n");
        TCorvaneIniS ini;
        EXPECT_EQ(ini.DBKind, c.kind) << c.dbType;
        EXPECT_EQ(ini.DBSettings.GetElement({0, 2}).AsString(), "s3cret");
        EXPECT_EQ(ini.DBSettings.GetElement({1, 2}).AsString(), "");
        EXPECT_EQ(ini.DBSettings.GetElement({3, 2}).AsString(), ScramblePassword("edi")); // as stored
        EXPECT_EQ(ini.DBSettings.GetElement({0, 5}).AsString(), "db1");
        EXPECT_EQ(ini.SystemControlAddress, "db1");
        EXPECT_EQ(ini.OtherSystemControlAddress, "ctl2");
        EXPECT_EQ(VarType(ini.DBSettings.GetElement({0, 6})), varInteger);
        EXPECT_EQ(ini.DBSettings.GetElement({0, 6}).AsInteger(), 45);
        EXPECT_EQ(ini.DBSettings.GetElement({2, 0}).AsString(), "pw");
        EXPECT_EQ(ini.DBSettings.GetElement({2, 1}).AsInteger(), 999);
        TStringList paths{"old"};
        ini.GetWorkDLLPaths(paths);
        EXPECT_EQ(Lines(paths), std::vector<AnsiString>{Install() + "/Mods/"});
    }
}

} // namespace
