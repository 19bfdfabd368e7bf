#include "platform/vcl/Mask.h"
#include "platform/core/DateTime.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

const char* const kDocNo = "!aaaa\\-aaaaaaaaaaa;0; ";
const char* const kYmd = "9999/99/99;1; ";
const char* const kMdy = "99/99/9999;1; ";

class EditMaskTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedSeparator = DateSeparator;
        DateSeparator = '/';
    }
    void TearDown() override { DateSeparator = savedSeparator; }
    char savedSeparator = '/';
};

TEST_F(EditMaskTest, ParsesTheFieldsAndBuildsTheBlankText) {
    struct Case {
        const char* mask;
        int length;
        bool saveLiterals, reverse;
        char blank;
        const char* blankText;
    };
    for (Case c : {
             Case{kDocNo, 16, false, true, ' ', "    -           "},
             Case{kYmd, 10, true, false, ' ', "    /  /  "},
             Case{kMdy, 10, true, false, ' ', "  /  /    "},
             Case{">LL<ll;1;*", 4, true, false, '*', "****"},
             Case{"00:00", 5, true, false, '_', "__:__"},
             Case{"\\(999\\)_000;;", 9, true, false, '_', "(___) ___"},
             Case{"", 0, true, false, '_', ""},
         }) {
        TEditMask m(c.mask);
        EXPECT_EQ(m.Length(), c.length) << c.mask;
        EXPECT_EQ(m.SaveLiterals(), c.saveLiterals) << c.mask;
        EXPECT_EQ(m.Reverse(), c.reverse) << c.mask;
        EXPECT_EQ(m.Blank(), c.blank) << c.mask;
        EXPECT_EQ(m.BlankEditText(), c.blankText) << c.mask;
    }
    DateSeparator = '-';
    EXPECT_EQ(TEditMask(kYmd).BlankEditText(), "    -  -  "); // "/" is the date separator
}

TEST_F(EditMaskTest, TypingSkipsLiteralsAndRejectsCharactersThatDoNotFit) {
    struct Case {
        const char* mask;
        const char* keys;
        const char* editText;
        const char* text;
        int caret;
        int rejected;
    };
    for (Case c : {
             Case{kYmd, "20240105", "2024/01/05", "2024/01/05", 10, 0},
             Case{kYmd, "2a0x24", "2024/  /  ", "2024/  /  ", 5, 2},
             Case{kMdy, "0105", "01/05/    ", "01/05/    ", 6, 0},
             Case{kDocNo, "SO01123", "SO01-123        ", "SO01123        ", 8, 0},
             Case{kDocNo, "SO-01", "SO01-           ", "SO01           ", 5, 1},
             Case{">LL<ll;1;_", "abCD", "ABcd", "ABcd", 4, 0},
             Case{">LL<ll;1;_", "a1b", "AB__", "AB  ", 2, 1},
             Case{"#99;0;_", "+1x2", "+12", "+12", 3, 1},
             Case{"00;0;_", "123", "12", "12", 2, 1}, // no room for the third
             Case{"99/99;1;_", "1/", "1_/__", "1 /  ", 1, 1},
         }) {
        TEditMask m(c.mask);
        AnsiString edit = m.BlankEditText();
        int start = 0, length = 0, rejected = 0;
        for (const char* k = c.keys; *k; ++k) {
            if (!m.InputChar(edit, start, length, *k)) ++rejected;
        }
        EXPECT_EQ(edit, c.editText) << c.mask << " " << c.keys;
        EXPECT_EQ(m.TextFromEditText(edit), c.text) << c.mask << " " << c.keys;
        EXPECT_EQ(start, c.caret) << c.mask << " " << c.keys;
        EXPECT_EQ(rejected, c.rejected) << c.mask << " " << c.keys;
    }
}

TEST_F(EditMaskTest, ClearingWithBackspaceDeleteAndSelection) {
    TEditMask m(kYmd);
    AnsiString edit = "2024/01/05";
    int start = 5, length = 0;
    m.Backspace(edit, start, length); // over the literal to the "4"
    EXPECT_EQ(edit, "202 /01/05");
    EXPECT_EQ(start, 3);
    m.DeleteForward(edit, start, length); // at a blank: stays blank
    start = 4;
    ASSERT_TRUE(m.InputChar(edit, start, length, '/')); // typed on the literal: steps over it
    EXPECT_EQ(start, 5);
    start = 4;
    m.DeleteForward(edit, start, length); // the "/" is skipped, "0" cleared
    EXPECT_EQ(edit, "202 / 1/05");
    start = 6;
    length = 4;
    ASSERT_TRUE(m.InputChar(edit, start, length, '9')); // the selection is cleared, then the digit typed
    EXPECT_EQ(edit, "202 / 9/  ");
    EXPECT_EQ(start, 8);
    EXPECT_EQ(length, 0);
    start = 0;
    length = 2;
    EXPECT_FALSE(m.InputChar(edit, start, length, 'x')); // rejected: the selection stays
    EXPECT_EQ(edit, "202 / 9/  ");
    EXPECT_EQ(length, 2);
    m.Backspace(edit, start, length);
    EXPECT_EQ(edit, "  2 / 9/  ");
}

TEST_F(EditMaskTest, TextWithAndWithoutLiteralsAndBackFromAValue) {
    struct Case {
        const char* mask;
        const char* value;
        const char* editText;
        const char* text;
    };
    for (Case c : {
             Case{kYmd, "20240105", "2024/01/05", "2024/01/05"}, // literals kept: a value without them
             Case{kYmd, "2024/01/05", "2024/01/05", "2024/01/05"},
             Case{kYmd, "2024/1", "2024/1 /  ", "2024/1 /  "},
             Case{kYmd, "", "    /  /  ", "    /  /  "},
             Case{kMdy, "01/05/2024", "01/05/2024", "01/05/2024"},
             Case{"9999/99/99;0;_", "20240105", "2024/01/05", "20240105"},
             Case{"9999/99/99;0;_", "2024", "2024/__/__", "2024"},
             Case{kDocNo, "SO01123", "    -    SO01123", "SO01123"}, // "!": aligned right
             Case{kDocNo, "", "    -           ", ""},
             Case{"!99/99;1;_", "5/12", "_5/12", " 5/12"},
         }) {
        TEditMask m(c.mask);
        AnsiString edit = m.EditTextFromText(c.value);
        EXPECT_EQ(edit, c.editText) << c.mask << " " << c.value;
        EXPECT_EQ(m.TextFromEditText(edit), c.text) << c.mask << " " << c.value;
    }
    EXPECT_EQ(FormatMaskText("9999/99/99;1;_", "20240105"), "2024/01/05");
    EXPECT_EQ(FormatMaskText("9999/99/99;0;_", "2024/01/05"), "2024/01/"); // no literal matching
    EXPECT_EQ(FormatMaskText("", "as is"), "as is");
}

TEST_F(EditMaskTest, ValidationFindsTheFirstBlankRequiredPosition) {
    struct Case {
        const char* mask;
        const char* editText;
        bool valid;
        int pos;
    };
    for (Case c : {
             Case{"00/00;1;_", "12/34", true, -1}, Case{"00/00;1;_", "1_/34", false, 1},
             Case{"00/00;1;_", "12/ 4", false, 3},                                     // a blank is no digit
             Case{"99/00;1;_", "__/_4", false, 3}, Case{kYmd, "    /  /  ", true, -1}, // all optional
             Case{kDocNo, "    -           ", true, -1},
             Case{"CC;1;_", "a ", true, -1}, // a required any-character position takes a blank
             Case{"CC;1;_", "a_", false, 1},
             Case{"LL;1;_", "A", false, 1}, // short texts are padded with blanks
         }) {
        TEditMask m(c.mask);
        int pos = -1;
        EXPECT_EQ(m.Validate(c.editText, pos), c.valid) << c.mask << " '" << c.editText << "'";
        EXPECT_EQ(pos, c.pos) << c.mask << " '" << c.editText << "'";
    }
}

} // namespace
