#include "outside/pictures/PxResD5.h"
#include "platform/gfx/Bitmap.h"
#include <gtest/gtest.h>

namespace qz {
namespace {

bool HasColour(const TBitmap& bm, const TRect& r, TColor colour) {
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (bm.Pixel(x, y) == colour) return true;
    return false;
}

int CountOther(const TBitmap& bm, const TRect& r, TColor colour) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (bm.Pixel(x, y) != colour) ++n;
    return n;
}

TEST(Pictures, EveryNamedPictureExistsWithItsSizeAndImages) {
    struct Case {
        int id;
        int width, height;
    };
    const std::vector<Case> cases = {
        {bmpClearList, 32, 16}, {bmpLookup, 16, 16},     {bmpDatePicker, 16, 16}, {bmpNotifyUsers, 16, 16},
        {bmpDeleteRow, 16, 16}, {bmpNoteLookup, 16, 16}, {bmpPlan18, 18, 18},     {bmpSave18, 18, 18},
        {bmpOpen18, 18, 18},    {bmpDelete18, 18, 18},   {bmpView18, 18, 18},     {bmpPlan24, 24, 24},
        {bmpSave24, 24, 24},    {bmpOpen24, 24, 24},     {bmpDelete24, 24, 24},   {bmpView24, 24, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_LE(c.id, GetMaxBmpID());
        TBitmap bm;
        ASSERT_TRUE(LoadBmp(&bm, c.id));
        EXPECT_EQ(bm.Width(), c.width);
        EXPECT_EQ(bm.Height(), c.height);
        // The bottom-left pixel is the transparent colour, and every image draws something on it.
        TColor back = bm.TransparentColor();
        EXPECT_EQ(back, bm.Pixel(0, bm.Height() - 1));
        EXPECT_TRUE(bm.Transparent());
        for (int x = 0; x < bm.Width(); x += bm.Height())
            EXPECT_GT(CountOther(bm, Bounds(x, 0, bm.Height(), bm.Height()), back), bm.Height() * 2);
    }
    // The lookup and date pictures the buttons use by default (8, 9) and the list pictures (4, 47).
    EXPECT_EQ(bmpLookup, 8);
    EXPECT_EQ(bmpDatePicker, 9);
    EXPECT_EQ(bmpClearList, 4);
    EXPECT_EQ(bmpDeleteRow, 47);
}

TEST(Pictures, UnknownNumbersLoadNothing) {
    TBitmap bm(5, 7);
    for (int id : {0, -1, 5, GetMaxBmpID() + 1}) {
        EXPECT_FALSE(LoadBmp(&bm, id)) << id;
        EXPECT_EQ(bm.Width(), 5);
        EXPECT_EQ(bm.Height(), 7);
    }
    EXPECT_FALSE(LoadBmp(nullptr, bmpLookup));
}

TEST(Pictures, TheSecondImageOfClearListIsGrey) {
    TBitmap bm;
    ASSERT_TRUE(LoadBmp(&bm, bmpClearList));
    EXPECT_TRUE(HasColour(bm, Bounds(0, 0, 16, 16), clRed));
    EXPECT_FALSE(HasColour(bm, Bounds(16, 0, 16, 16), clRed));
    EXPECT_TRUE(HasColour(bm, Bounds(16, 0, 16, 16), clGray));
}

} // namespace
} // namespace qz
