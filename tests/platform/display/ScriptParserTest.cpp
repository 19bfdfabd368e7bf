// Reading session scripts: arguments, quoted texts with their escapes in the process code page,
// comments, dialog blocks, and the line numbers of what cannot be read.
#include "platform/display/ScriptParser.h"
#include "platform/core/CodePages.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(ScriptParser, ReadsVerbsArgumentsAndQuotedTexts) {
    auto lines = ParseScript("# a session\n"
                             "\n"
                             "FOCUS sp02.BeginEdit   # the range\n"
                             "type \"月报 \\\"A\\\"\\t\\\\\\x04\"\r\n"
                             "set chk01F.Checked true\n"
                             "answer pick 2 btnOK Cancel\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].Number, 3);
    EXPECT_EQ(lines[0].Verb, "focus");
    ASSERT_EQ(lines[0].Args.size(), 1u);
    EXPECT_EQ(lines[0].Args[0].Text, "sp02.BeginEdit");
    EXPECT_FALSE(lines[0].Args[0].Quoted);
    EXPECT_EQ(lines[1].Args[0].Text, GB("月报 \"A\"\t\\") + "\x04");
    EXPECT_TRUE(lines[1].Args[0].Quoted);
    EXPECT_EQ(lines[2].Args[1].Text, "true");
    EXPECT_EQ(lines[3].Args.size(), 4u);
}

TEST(ScriptParser, KeepsDialogBlocksWithTheirLinesNested) {
    auto lines = ParseScript("dialog\n"
                             "  type \"x # not a comment\"\n"
                             "  dialog\n"
                             "    click btnOK\n"
                             "  end\n"
                             "  click btnOK\n"
                             "end\n"
                             "click btnOk\n");
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(lines[0].Block.size(), 3u);
    EXPECT_EQ(lines[0].Block[0].Args[0].Text, "x # not a comment");
    ASSERT_EQ(lines[0].Block[1].Block.size(), 1u);
    EXPECT_EQ(lines[0].Block[1].Block[0].Number, 4);
    EXPECT_EQ(lines[1].Number, 8);
}

TEST(ScriptParser, FormattedLinesReadBackWithTheirNumbersAndBytes) {
    auto lines = ParseScript("click a\n"
                             "\n"
                             "answer pick 2 \"btn OK\"\n"
                             "dialog\n"
                             "  type \"月\\\"\\\\\\x01\\xff\"\n"
                             "end\n");
    std::string text = FormatScript(lines);
    auto again = ParseScript(text);
    ASSERT_EQ(again.size(), 3u) << text;
    EXPECT_EQ(again[1].Number, 3);
    EXPECT_EQ(again[1].Args.size(), 3u);
    EXPECT_FALSE(again[1].Args[0].Quoted);
    EXPECT_EQ(again[1].Args[2].Text, "btn OK");
    ASSERT_EQ(again[2].Block.size(), 1u);
    EXPECT_EQ(again[2].Block[0].Number, 5);
    EXPECT_EQ(again[2].Block[0].Args[0].Text, GB("月") + "\"\\\x01\xff");
    EXPECT_EQ(FormatScript(again), text);
}

TEST(ScriptParser, WhatCannotBeReadNamesItsLine) {
    struct Case {
        const char* script;
        int line;
        const char* why;
    } cases[] = {
        {"click a\ntype \"open\n", 2, "the quoted text is not closed"},
        {"type \"\\q\"\n", 1, "unknown escape \\q"},
        {"type \"\\x4\"\n", 1, "\\x needs two hexadecimal digits"},
        {"type \"a\"b\n", 1, "a blank must follow the quoted text"},
        {"type a\"b\"\n", 1, "a quote inside a; put a blank before it"},
        {"\"click\" x\n", 1, "a line starts with a verb, not a quoted text"},
        {"press OK\n", 1, "unknown verb press"},
        {"focus\n", 1, "focus takes 1 argument, not 0"},
        {"set a\n", 1, "set takes 2 arguments, not 1"},
        {"dialog x\n", 1, "dialog takes no arguments, not 1"},
        {"answer\n", 1, "answer takes at least 1 argument, not 0"},
        {"end\n", 1, "end without dialog"},
        {"click a\ndialog\nclick b\n", 2, "dialog without end"},
    };
    for (const Case& c : cases) {
        try {
            ParseScript(c.script);
            ADD_FAILURE() << c.script;
        } catch (const EScriptError& e) {
            EXPECT_EQ(e.Line, c.line) << c.script;
            EXPECT_STREQ(e.what(), c.why) << c.script;
        }
    }
    try {
        ParseScript(std::string("click a\nclick \0b\n", 17));
        ADD_FAILURE();
    } catch (const EScriptError& e) {
        EXPECT_EQ(e.Line, 2);
    }
}

} // namespace
} // namespace qz
