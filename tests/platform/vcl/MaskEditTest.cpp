#include "platform/vcl/MaskEdit.h"
#include "platform/core/DateTime.h"
#include "platform/vcl/Forms.h"
#include <gtest/gtest.h>

namespace qz {
namespace {

const char* const kDocNo = "!aaaa\\-aaaaaaaaaaa;0; ";
const char* const kYmd = "9999/99/99;1; ";
const char* const kMdy = "99/99/9999;1; ";

// A shown form with the mask edit first in tab order and a plain edit after it; exceptions that reach
// the application are collected.
class MaskEditForm : public ::testing::Test {
public:
    void SetUp() override {
        savedSeparator = DateSeparator;
        DateSeparator = '/';
        form = new TForm(nullptr);
        me = new TMaskEdit(form);
        me->SetName("edDate");
        me->SetParent(form);
        me->OnChange = [this](TObject*) { ++changes; };
        me->OnExit = [this](TObject*) { log += "exit;"; };
        next = new TEdit(form);
        next->SetName("next");
        next->SetParent(form);
        Application->OnException = [this](TObject*, const std::exception& e) { errors += e.what(); };
        form->Show();
        next->SetFocus();
    }
    void TearDown() override {
        Application->OnException = nullptr;
        form->Free();
        DateSeparator = savedSeparator;
    }
    // Focuses the edit with everything selected and types keys: "<" is Backspace, "#" Delete, "~" Home.
    void Type(const char* keys) {
        for (const char* k = keys; *k; ++k) {
            switch (*k) {
            case '<': Application->PressKey(VK_BACK); break;
            case '#': Application->PressKey(VK_DELETE); break;
            case '~': Application->PressKey(VK_HOME); break;
            default: Application->TypeText(AnsiString(1, *k));
            }
        }
    }

    char savedSeparator = '/';
    TForm* form;
    TMaskEdit* me;
    TEdit* next;
    int changes = 0;
    AnsiString log, errors;
};

TEST_F(MaskEditForm, TypingAndClearingGoThroughTheMask) {
    struct Case {
        const char* mask;
        const char* keys;
        const char* editText;
        const char* text;
        int caret;
    };
    const Case cases[] = {
        {kYmd, "20240105", "2024/01/05", "2024/01/05", 10},
        {kYmd, "2024", "2024/  /  ", "2024/  /  ", 5},
        {kYmd, "2x0/", "20  /  /  ", "20  /  /  ", 2}, // "x" and "/" do not fit a digit position
        {kYmd, "20240105<", "2024/01/0 ", "2024/01/0 ", 9},
        {kYmd, "20240105~#", " 024/01/05", " 024/01/05", 0},
        {kYmd, "2024<<<<<", "    /  /  ", "    /  /  ", 0},
        {kMdy, "01052024", "01/05/2024", "01/05/2024", 10},
        {kMdy, "0105<<", "01/  /    ", "01/  /    ", 3},
        {kDocNo, "SO01123", "SO01-123        ", "SO01123        ", 8},
        {kDocNo, "so-01", "so01-           ", "so01           ", 5},
        {kDocNo, "SO01123<<<", "SO01-           ", "SO01           ", 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(AnsiString(c.mask) + " " + c.keys);
        me->SetEditMask(c.mask);
        me->Clear();
        EXPECT_FALSE(me->Modified());
        changes = 0;
        me->SetFocus();
        Type(c.keys);
        EXPECT_EQ(me->EditText(), c.editText);
        EXPECT_EQ(me->Text(), c.text);
        EXPECT_EQ(me->SelStart(), c.caret);
        EXPECT_TRUE(me->Modified());
        EXPECT_GT(changes, 0);
        next->SetFocus();
        EXPECT_EQ(errors, "");
    }
}

TEST_F(MaskEditForm, ClearingLeavesTheBlankMaskText) {
    struct Case {
        const char* mask;
        const char* text;
    };
    for (const Case& c : {Case{kYmd, "    /  /  "}, Case{kMdy, "  /  /    "}, Case{kDocNo, ""}}) {
        me->SetEditMask(c.mask);
        me->SetText("12345678");
        me->Clear();
        EXPECT_EQ(me->Text(), c.text) << c.mask;
        EXPECT_EQ(me->EditText(), me->Mask().BlankEditText()) << c.mask;
        EXPECT_EQ(me->MaxLength(), me->Mask().Length());
    }
    // The blank text of a mask, read as a window reads it: clear, give the mask, read the text.
    me->SetEditMask("");
    me->Clear();
    me->SetEditMask(kYmd);
    EXPECT_EQ(me->Text(), "    /  /  ");
}

TEST_F(MaskEditForm, TextWithAndWithoutLiterals) {
    struct Case {
        const char* mask;
        const char* value;
        const char* editText;
        const char* text;
    };
    const Case cases[] = {
        {kYmd, "20240105", "2024/01/05", "2024/01/05"},
        {kYmd, "2024/01/05", "2024/01/05", "2024/01/05"},
        {kMdy, "01/05/2024", "01/05/2024", "01/05/2024"},
        {"9999/99/99;0; ", "20240105", "2024/01/05", "20240105"},
        {kDocNo, "SO01123", "    -    SO01123", "SO01123"},
        // A value laid out with the literals in place is taken as it stands.
        {kDocNo, "2201-20240413001", "2201-20240413001", "220120240413001"},
        {kDocNo, "22  -001        ", "22  -001        ", "22  001        "},
        {"9999/99/99;0; ", "2024/01/05", "2024/01/05", "20240105"},
        {"", "as is", "as is", "as is"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(AnsiString(c.mask) + " " + c.value);
        me->SetEditMask(c.mask);
        me->SetText(c.value);
        EXPECT_EQ(me->EditText(), c.editText);
        EXPECT_EQ(me->Text(), c.text);
        EXPECT_EQ(GetStrProp(me, "Text"), c.text);
        if (*c.mask) EXPECT_FALSE(me->Modified());
    }

    // A new mask takes the characters entered under the old one.
    me->SetEditMask(kYmd);
    me->SetText("20240105");
    me->SetEditMask("9999/99/99;0; ");
    EXPECT_EQ(me->Text(), "20240105");
    me->SetEditMask("");
    EXPECT_EQ(me->Text(), "20240105");
    EXPECT_EQ(me->MaxLength(), 0);

    // Caret positions count the edit text, literals included.
    me->SetEditMask(kDocNo);
    me->SetText("SO01123");
    me->SetSelStart(12);
    me->SetSelLength(4);
    EXPECT_EQ(me->SelStart(), 12);
    EXPECT_EQ(me->SelText(), "1123");
}

TEST_F(MaskEditForm, LeavingValidatesWhatTheUserModified) {
    struct Case {
        const char* mask;
        const char* keys; // nullptr: the text is set by code
        const char* codeText;
        bool valid;
        int caret; // where a rejected entry puts the caret
    };
    const Case cases[] = {
        {kYmd, "2024", nullptr, true, 0},
        {kMdy, "01", nullptr, true, 0},
        {kDocNo, "SO", nullptr, true, 0},
        {"0000/00/00;1;_", "20240105", nullptr, true, 0},
        {"0000/00/00;1;_", "2024", nullptr, false, 5},
        {"0000/00/00;1;_", "2024<", nullptr, false, 3},
        {"0000/00/00;1;_", "", nullptr, true, 0},     // entered and left untouched
        {"0000/00/00;1;_", nullptr, "2024", true, 0}, // set by code: not modified
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(AnsiString(c.mask) + " " + (c.keys ? c.keys : c.codeText));
        me->SetEditMask(c.mask);
        me->Clear();
        if (!c.keys) me->SetText(c.codeText);
        me->SetFocus();
        if (c.keys) Type(c.keys);
        log.clear();
        errors.clear();
        Application->PressKey(VK_TAB);
        if (c.valid) {
            EXPECT_EQ(form->ActiveControl(), next);
            EXPECT_EQ(errors, "");
            EXPECT_EQ(log, "exit;");
        } else {
            EXPECT_EQ(form->ActiveControl(), me);
            EXPECT_TRUE(me->Focused());
            EXPECT_EQ(errors, SMaskEditErr);
            EXPECT_EQ(log, ""); // OnExit does not run
            EXPECT_EQ(me->SelStart(), c.caret);
            Application->PressKey(VK_TAB); // tried again: still refused
            EXPECT_EQ(form->ActiveControl(), me);
            EXPECT_EQ(errors, AnsiString(SMaskEditErr) + SMaskEditErr);
            me->SetText("20240105");
            Application->PressKey(VK_TAB);
            EXPECT_EQ(form->ActiveControl(), next);
        }
    }
    me->SetEditMask("0000;1;_");
    me->SetEditText("12");
    me->SetModified(true);
    EXPECT_THROW(me->ValidateEdit(), EDBEditError);
}

TEST_F(MaskEditForm, EscapeGivesUpTheChanges) {
    me->SetEditMask(kYmd);
    me->SetText("20240105");
    bool closed = false;
    form->OnClose = [&](TObject*, TCloseAction&) { closed = true; };
    me->SetFocus();
    Type("~1999");
    EXPECT_EQ(me->Text(), "1999/01/05");
    Application->PressKey(VK_ESCAPE);
    EXPECT_EQ(me->Text(), "2024/01/05");
    EXPECT_FALSE(me->Modified());
    EXPECT_FALSE(closed);
    EXPECT_FALSE(me->WantsKey(VK_ESCAPE, {})); // a second Esc is the dialog's
}

} // namespace
} // namespace qz
