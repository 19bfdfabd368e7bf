#include "platform/os/IniFiles.h"
#include "TempDir.h"
#include "platform/core/StringList.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

const char* const kSettings = "; client settings\r\n"
                              "[Server Information]\r\n"
                              "ComputerName = 10.0.0.5;;host2;\r\n"
                              "ServerPort=abc\r\n"
                              "SupportCallBack=Yes\r\n"
                              "[codepage]\n"
                              "UICodePage=950\n"
                              "Quoted=\"a b\"\n"
                              "[WorkDLLPath]\n"
                              "A=\\Bin\n"
                              "B=/mnt/mods\n"
                              "[Server Information]\n"
                              "ComputerName=second section is not read\n";

TEST(IniFile, SectionsAndKeysIgnoreCaseAndMissingKeysTakeDefaults) {
    TempDir dir;
    TIniFile ini(dir.Write("CorvaneC.ini", kSettings));
    EXPECT_TRUE(ini.Exists());
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"Server Information", "ComputerName", "10.0.0.5;;host2;"},
        {"SERVER INFORMATION", "computername", "10.0.0.5;;host2;"},
        {"CodePage", "UICodePage", "950"},
        {"CodePage", "DBCodePage", "936"},
        {"CodePage", "Quoted", "a b"},
        {"Missing", "Key", "936"},
    };
    for (const auto& c : cases) EXPECT_EQ(ini.ReadString(c.section, c.key, "936"), c.expected) << c.key;
    EXPECT_EQ(ini.ReadInteger("Server Information", "ServerPort", 211), 211); // unreadable
    EXPECT_EQ(ini.ReadInteger("CodePage", "UICodePage", 0), 950);
    EXPECT_EQ(ini.ReadInteger("CodePage", "Nothing", 7), 7);
    EXPECT_TRUE(ini.SectionExists("workdllpath"));
    EXPECT_FALSE(ini.ValueExists("CodePage", "Missing"));
}

TEST(IniFile, WholeSectionsAsNameValueLines) {
    TempDir dir;
    TIniFile ini(dir.Write("s.ini", kSettings));
    TStringList values;
    ini.ReadSectionValues("workdllpath", values);
    EXPECT_EQ(values.Text(), "A=\\Bin\r\nB=/mnt/mods\r\n");
    TStringList names;
    ini.ReadSection("Server Information", names);
    EXPECT_EQ(names.CommaText(), "ComputerName,ServerPort,SupportCallBack");
    ini.ReadSectionValues("none", values);
    EXPECT_EQ(values.Count(), 0);
}

TEST(IniFile, MissingFileGivesDefaults) {
    TIniFile ini("/nonexistent/CorvaneS.ini");
    EXPECT_FALSE(ini.Exists());
    EXPECT_EQ(ini.ReadString("DBE Setting", "MainAlias", "Praxa"), "Praxa");
    EXPECT_EQ(ini.ReadInteger("DBE Setting", "MainConnectionTimeOut", 300), 300);
}

} // namespace
