#include "VariantPrint.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

const char* const kOutOfBounds = "Variant or safe array index out of bounds";

template <class F> std::string ErrorOf(F f) {
    try {
        f();
    } catch (const EVariantError& e) {
        return e.what();
    }
    return "no error";
}

TEST(ArrayTest, OneDimensionWithItsOwnLowBound) {
    for (int low : {0, 1}) {
        SCOPED_TRACE(low);
        Variant a = VarArrayCreate({low, low + 2}, varVariant);
        EXPECT_TRUE(VarIsArray(a));
        EXPECT_EQ(VarArrayDimCount(a), 1);
        EXPECT_EQ(VarArrayLowBound(a, 1), low);
        EXPECT_EQ(VarArrayHighBound(a, 1), low + 2);
        EXPECT_TRUE(VarIsEmpty(a[low + 1]));
        a[low] = "first";
        a.PutElement({low + 2}, 3);
        EXPECT_EQ(a.GetElement({low}), "first");
        EXPECT_EQ(a[low + 2], 3);
        EXPECT_EQ(ErrorOf([&] { a[low - 1]; }), kOutOfBounds);
        EXPECT_EQ(ErrorOf([&] { a.PutElement({low + 3}, 1); }), kOutOfBounds);
        VarArrayRedim(a, low + 3);
        EXPECT_EQ(a[low], "first");
        EXPECT_TRUE(VarIsEmpty(a[low + 3]));
    }
    Variant of = VarArrayOf({"a", 2, true});
    EXPECT_EQ(VarArrayLowBound(of, 1), 0);
    EXPECT_EQ(VarArrayHighBound(of, 1), 2);
    EXPECT_EQ(of[1], 2);
    Variant none = VarArrayCreate({0, -1}, varVariant);
    EXPECT_EQ(VarArrayHighBound(none, 1), -1);
    EXPECT_EQ(none.ElementCount(), 0);
}

TEST(ArrayTest, TwoDimensionsGrowAlongTheLastKeepingElements) {
    Variant a = VarArrayCreate({0, 1, 0, 2}, varVariant);
    for (int j = 0; j <= 2; ++j) {
        a.PutElement({0, j}, "name" + std::to_string(j));
        a.PutElement({1, j}, j * 10);
    }
    VarArrayRedim(a, 4);
    EXPECT_EQ(VarArrayDimCount(a), 2);
    EXPECT_EQ(VarArrayHighBound(a, 1), 1);
    EXPECT_EQ(VarArrayHighBound(a, 2), 4);
    for (int j = 0; j <= 2; ++j) {
        EXPECT_EQ(a.GetElement({0, j}), "name" + std::to_string(j));
        EXPECT_EQ(a.GetElement({1, j}), j * 10);
    }
    EXPECT_TRUE(VarIsEmpty(a.GetElement({1, 4})));
    a.PutElement({1, 4}, 40);

    VarArrayRedim(a, 0);
    EXPECT_EQ(a.GetElement({0, 0}), "name0");
    EXPECT_EQ(a.GetElement({1, 0}), 0);
    EXPECT_EQ(ErrorOf([&] { a.GetElement({0, 1}); }), kOutOfBounds);
    EXPECT_EQ(ErrorOf([&] { a.GetElement({2, 0}); }), kOutOfBounds);
    EXPECT_EQ(ErrorOf([&] { a[0]; }), kOutOfBounds);
    EXPECT_EQ(ErrorOf([&] { VarArrayHighBound(a, 3); }), kOutOfBounds);
    // Storage order: the first index varies fastest.
    EXPECT_EQ(a.ElementCount(), 2);
    EXPECT_EQ(a.ElementAt(1), 0);
    EXPECT_EQ(a.ElementAt(0), "name0");
}

TEST(ArrayTest, CopiesAreIndependentDownToNestedArrays) {
    Variant original = VarArrayOf({1, VarArrayOf({"x", "y"})});
    Variant copy = original;
    copy[0] = 9;
    copy[1][0] = "changed";
    VarArrayRedim(copy[1], 5);
    EXPECT_EQ(original[0], 1);
    EXPECT_EQ(original[1][0], "x");
    EXPECT_EQ(VarArrayHighBound(original[1], 1), 1);
    EXPECT_EQ(copy[1][0], "changed");

    Variant assigned;
    assigned = copy;
    assigned[1][1] = "z";
    EXPECT_EQ(copy[1][1], "y");

    // A Variant can take the value of its own element.
    original = original[1];
    EXPECT_EQ(VarArrayHighBound(original, 1), 1);
    EXPECT_EQ(original[1], "y");
    Variant moved = std::move(copy);
    EXPECT_TRUE(VarIsEmpty(copy));
    EXPECT_EQ(moved[0], 9);
}

TEST(ArrayTest, TypedArraysHoldTheirType) {
    Variant a = VarArrayCreate({1, 2}, varInteger);
    EXPECT_EQ(VarType(a), varArray | varInteger);
    EXPECT_EQ(VarType(a[1]), varInteger);
    EXPECT_EQ(a[1], 0);
    a.PutElement({2}, " 42");
    EXPECT_EQ(VarType(a[2]), varInteger);
    EXPECT_EQ(a[2], 42);
    EXPECT_THROW(a.PutElement({1}, "x"), EVariantError);
    EXPECT_EQ(VarArrayCreate({0, 0}, varOleStr)[0], u"");
}

TEST(ArrayTest, MisuseRaises) {
    Variant scalar = 5;
    EXPECT_EQ(VarArrayDimCount(scalar), 0);
    EXPECT_FALSE(VarIsArray(scalar));
    EXPECT_EQ(ErrorOf([&] { scalar[0]; }), "Variant is not an array");
    EXPECT_EQ(ErrorOf([&] { VarArrayLowBound(scalar, 1); }), "Variant is not an array");
    EXPECT_EQ(ErrorOf([&] { VarArrayRedim(scalar, 3); }), "Variant is not an array");
    EXPECT_THROW(VarArrayCreate({0}, varVariant), EVariantError);
    EXPECT_THROW(VarArrayCreate({0, -2}, varVariant), EVariantError);
    EXPECT_THROW(VarArrayCreate({0, 1}, varNull), EVariantError);
    Variant a = VarArrayOf({1});
    EXPECT_THROW(VarArrayRedim(a, -2), EVariantError);
}

} // namespace
