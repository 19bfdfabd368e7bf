#include "VariantPrint.h"
#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/variant/Dispatch.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

class TPlain : public TAutoObject {};

TEST(VariantTest, ConstructorsGiveAutomationTypes) {
    struct Case {
        Variant value;
        TVarType type;
    };
    const Case cases[] = {
        {Variant(), varEmpty},
        {Null(), varNull},
        {Variant(1), varInteger},
        {Variant(1LL), varInt64},
        {Variant(1u), varLongWord},
        {Variant(1.5f), varSingle},
        {Variant(1.5), varDouble},
        {Variant(true), varBoolean},
        {Variant("a"), varString},
        {Variant(AnsiString("a")), varString},
        {Variant(u"a"), varOleStr},
        {Variant::FromDate(45000), varDate},
        {VarFromDateTime(1), varDate},
        {Variant::FromCurrency(1.5), varCurrency},
        {Variant(new TPlain), varDispatch},
        {Variant(static_cast<IDispatchObject*>(nullptr)), varEmpty},
        {VarArrayOf({1, 2}), varArray | varVariant},
        {VarArrayCreate({0, 1}, varInteger), varArray | varInteger},
    };
    for (const auto& c : cases) EXPECT_EQ(VarType(c.value), c.type) << VarTypeAsText(c.type);
}

TEST(VariantTest, ConvertsByAutomationRules) {
    const TDateTime day = EncodeDate(2024, 1, 5), time = EncodeTime(10, 20, 30, 0);
    struct Case {
        const char* name;
        Variant value;
        TVarType to;
        Variant expected;
    };
    const Case cases[] = {
        {"digits", "12", varInteger, 12},
        {"blanks around digits", " 12 ", varInteger, 12},
        {"real text rounds half to even", "12.5", varInteger, 12},
        {"real text rounds half to even, odd", "13.5", varInteger, 14},
        {"negative half", -2.5, varInteger, -2},
        {"true reads as -1", true, varInteger, -1},
        {"Empty reads as 0", Variant(), varInteger, 0},
        {"currency rounds half to even", Variant::FromCurrency(2.5), varInteger, 2},
        {"beyond Integer into Int64", "9000000000", varInt64, 9000000000LL},
        {"top of Byte", "255", varByte, 255},
        {"real text", "3.25", varDouble, 3.25},
        {"Boolean text", " true ", varBoolean, true},
        {"Boolean text false", "False", varBoolean, false},
        {"zero text", "0", varBoolean, false},
        {"non-zero real", 2.0, varBoolean, true},
        {"Empty is false", Variant(), varBoolean, false},
        {"true as text", true, varString, "True"},
        {"false as text", false, varString, "False"},
        {"integer as text", -12, varString, "-12"},
        {"double as text", 1.5, varString, "1.5"},
        {"single keeps its 7 digits", 0.1f, varString, "0.1"},
        {"currency as text", Variant::FromCurrency(12.5), varString, "12.5"},
        {"Empty as text", Variant(), varString, ""},
        {"date as text", Variant::FromDate(day), varString, "2024/01/05"},
        {"date and time as text", Variant::FromDate(day + time), varString, "2024/01/05 10:20:30"},
        {"text as date", "2024/01/05", varDate, Variant::FromDate(day)},
        {"text as date and time", "2024/01/05 10:20:30", varDate, Variant::FromDate(day + time)},
        {"integer as currency", 3, varCurrency, Variant::FromCurrency(3)},
        {"wide to 8-bit", u"中文", varString, GB("中文")},
        {"8-bit to wide", GB("中文"), varOleStr, u"中文"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Variant r = VarAsType(c.value, c.to);
        EXPECT_EQ(VarType(r), c.to);
        EXPECT_EQ(r, c.expected);
    }
    EXPECT_EQ(Variant(" 12").AsInteger(), 12);
    EXPECT_EQ(Variant("7").AsDouble(), 7.0);
    EXPECT_EQ(Variant(u"x").AsString(), "x");
    EXPECT_EQ(VarToStr(Null()), "");
}

TEST(VariantTest, StringsConvertThroughTheProcessCodePage) {
    SetSystemCodePage(CP_BIG5);
    const AnsiString big5 = "\xA4\xA4\xA4\xE5"; // 中文
    EXPECT_EQ(Variant(u"中文").AsString(), big5);
    EXPECT_EQ(Variant(big5).AsWideString(), u"中文");
    SetSystemCodePage(0);
    EXPECT_EQ(Variant(u"中文").AsString(), GB("中文"));
}

TEST(VariantTest, UnconvertibleValuesRaise) {
    struct Case {
        Variant value;
        TVarType to;
        const char* message;
    };
    const Case cases[] = {
        {"abc", varInteger, "Could not convert variant of type (String) into type (Integer)"},
        {"", varInteger, "Could not convert variant of type (String) into type (Integer)"},
        {u"x", varDouble, "Could not convert variant of type (OleStr) into type (Double)"},
        {"maybe", varBoolean, "Could not convert variant of type (String) into type (Boolean)"},
        {"2024/13/01", varDate, "Could not convert variant of type (String) into type (Date)"},
        {Null(), varInteger, "Could not convert variant of type (Null) into type (Integer)"},
        {Null(), varString, "Could not convert variant of type (Null) into type (String)"},
        {VarArrayOf({1}), varInteger,
         "Could not convert variant of type (Array Variant) into type (Integer)"},
        {Variant(new TPlain), varString, "Could not convert variant of type (Dispatch) into type (String)"},
        {3e10, varInteger, "Overflow while converting variant of type (Double) into type (Integer)"},
        {300, varByte, "Overflow while converting variant of type (Integer) into type (Byte)"},
        {-1, varLongWord, "Overflow while converting variant of type (Integer) into type (LongWord)"},
    };
    for (const auto& c : cases) {
        try {
            VarAsType(c.value, c.to);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const EVariantError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    EXPECT_THROW(Null().AsDouble(), EVariantError);
    EXPECT_THROW(Variant("x").AsInt64(), EVariantError);
}

TEST(VariantTest, ComparesByAutomationRules) {
    struct Case {
        const char* name;
        Variant a, b;
        bool equal, less;
    };
    const Case cases[] = {
        {"integer and real", 1, 1.0, true, false},
        {"digits and number", "12", 12, true, false},
        {"number against digits compares numbers", 2, "10", false, true},
        {"texts", "abc", "abd", false, true},
        {"texts are case-sensitive", "A", "a", false, true},
        {"wide and 8-bit text", u"abc", "abc", true, false},
        {"Empty and empty text", Variant(), "", true, false},
        {"Empty and zero", Variant(), 0, true, false},
        {"true and -1", true, -1, true, false},
        {"Null and Null", Null(), Null(), true, false},
        {"Null below zero", Null(), 0, false, true},
        {"zero above Null", 0, Null(), false, false},
        {"Null and Empty", Null(), Variant(), false, true},
        {"dates", Variant::FromDate(45000), Variant::FromDate(45001), false, true},
        {"Int64 beyond Integer", 9000000000LL, 9000000001LL, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.a == c.b, c.equal);
        EXPECT_EQ(c.a != c.b, !c.equal);
        EXPECT_EQ(c.a < c.b, c.less);
        EXPECT_EQ(c.a >= c.b, !c.less);
    }
    EXPECT_THROW((void)(Variant("abc") == 1), EVariantError);
    EXPECT_THROW((void)(VarArrayOf({1}) == VarArrayOf({1})), EVariantError);
    Variant object(new TPlain);
    Variant same = object;
    EXPECT_TRUE(object == same);
    EXPECT_FALSE(object == Variant(new TPlain));
    EXPECT_FALSE(object == Variant());
}

TEST(VariantTest, Arithmetic) {
    struct Case {
        const char* name;
        Variant a;
        char op;
        Variant b;
        Variant expected;
        TVarType type;
    };
    const Case cases[] = {
        {"integers", 1, '+', 2, 3, varInteger},
        {"texts join", "ab", '+', "cd", "abcd", varString},
        {"wide text joins as wide", u"a", '+', "b", u"ab", varOleStr},
        {"Empty and text", Variant(), '+', "x", "x", varString},
        {"digits and number add", "1", '+', 2, 3, varInteger},
        {"past the Integer range", 2147483647, '+', 1, 2147483648LL, varInt64},
        {"integer and real", 1, '+', 0.5, 1.5, varDouble},
        {"date and days", Variant::FromDate(45000), '+', 1, Variant::FromDate(45001), varDate},
        {"date less days", Variant::FromDate(45000), '-', 2, Variant::FromDate(44998), varDate},
        {"dates apart", Variant::FromDate(45003), '-', Variant::FromDate(45000), 3.0, varDouble},
        {"currency and integer", Variant::FromCurrency(1.25), '+', 1, Variant::FromCurrency(2.25),
         varCurrency},
        {"Null spreads", Null(), '+', 1, Null(), varNull},
        {"difference", 5, '-', 7, -2, varInteger},
        {"product", 6, '*', 7, 42, varInteger},
        {"quotient is real", 7, '/', 2, 3.5, varDouble},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Variant r = c.op == '+' ? c.a + c.b : c.op == '-' ? c.a - c.b : c.op == '*' ? c.a * c.b : c.a / c.b;
        EXPECT_EQ(VarType(r), c.type);
        EXPECT_EQ(r, c.expected);
    }
    Variant sum = "a";
    sum += "b";
    EXPECT_EQ(sum, "ab");
    EXPECT_THROW(Variant(1) / 0, EVariantError);
    EXPECT_THROW(Variant("x") + 1, EVariantError);
}

} // namespace
