#include "platform/data/Wire.h"
#include "platform/variant/Dispatch.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

Variant RoundTrip(const Variant& v) {
    WireWriter w;
    w.Var(v);
    WireReader r(w.Data());
    Variant back = r.Var();
    EXPECT_TRUE(r.AtEnd());
    return back;
}

TEST(Wire, ScalarsKeepTypeAndValue) {
    const Variant cases[] = {
        Variant(),
        Null(),
        Variant(42),
        Variant(-7LL << 40),
        VarAsType(Variant(300), varSmallint),
        VarAsType(Variant(200), varByte),
        Variant(true),
        Variant(2.5),
        Variant(1.5f),
        Variant::FromCurrency(12.3456),
        Variant::FromDate(45292.75),
        Variant(AnsiString("\xB6\xA9\xB5\xA5 GB bytes")),
        Variant(WideString(u"訂單")),
        Variant(AnsiString()),
    };
    for (const Variant& v : cases) {
        Variant back = RoundTrip(v);
        EXPECT_EQ(back.Type(), v.Type()) << VarTypeAsText(v.Type());
        if (!VarIsNull(v)) EXPECT_TRUE(back == v) << VarToStr(v);
    }
}

TEST(Wire, ArraysKeepBoundsAndNesting) {
    Variant grid = VarArrayCreate({0, 1, 1, 3}, varVariant);
    for (int i = 0; i <= 1; ++i)
        for (int j = 1; j <= 3; ++j) grid.PutElement({i, j}, Variant(i * 10 + j));
    Variant nested = VarArrayOf({Variant(AnsiString("\x04")), Variant(AnsiString("A")), VarArrayOf({1, 2})});
    Variant typed = VarArrayCreate({5, 6}, varInteger);
    typed[5] = 9;
    Variant empty = VarArrayCreate({0, -1}, varVariant);

    Variant g = RoundTrip(grid);
    EXPECT_EQ(VarArrayDimCount(g), 2);
    EXPECT_EQ(VarArrayLowBound(g, 2), 1);
    EXPECT_EQ(VarArrayHighBound(g, 2), 3);
    EXPECT_EQ(g.GetElement({1, 3}).AsInteger(), 13);

    Variant n = RoundTrip(nested);
    EXPECT_EQ(n[2][1].AsInteger(), 2);
    EXPECT_EQ(n[0].AsString(), "\x04");

    Variant t = RoundTrip(typed);
    EXPECT_EQ(t.Type(), varArray | varInteger);
    EXPECT_EQ(VarArrayLowBound(t, 1), 5);
    EXPECT_EQ(t[5].AsInteger(), 9);

    EXPECT_EQ(VarArrayHighBound(RoundTrip(empty), 1), -1);
}

TEST(Wire, ObjectsDoNotTravel) {
    auto* object = new TAutoObject;
    Variant v(static_cast<IDispatchObject*>(object));
    WireWriter w;
    EXPECT_THROW(w.Var(v), EWireError);
    EXPECT_THROW(w.Var(VarArrayOf({1, v})), EWireError);
}

TEST(Wire, MalformedInputIsRefused) {
    WireWriter good;
    good.Var(VarArrayOf({AnsiString("abc"), 5}));
    std::string truncated = good.Data().substr(0, good.Data().size() - 3);

    WireWriter huge; // an array claiming a billion elements in a few bytes
    huge.U16(varArray | varVariant);
    huge.U8(1);
    huge.U32(0);
    huge.U32(1000000000);

    WireWriter unknown;
    unknown.U16(0x0FFF);

    WireWriter deep;
    for (int i = 0; i < 40; ++i) {
        deep.U16(varArray | varVariant);
        deep.U8(1);
        deep.U32(0);
        deep.U32(0);
    }
    deep.U16(varEmpty);

    WireWriter longString;
    longString.U16(varString);
    longString.U32(0xFFFFFFF0u);

    for (const std::string& bad : {truncated, huge.Data(), unknown.Data(), deep.Data(), longString.Data()}) {
        WireReader r(bad);
        EXPECT_THROW(r.Var(), EWireError);
    }
}

} // namespace
