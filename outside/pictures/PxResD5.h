#pragma once
// The picture library: numbered pictures drawn for the module's buttons, tool bars and lists. A picture
// holds one or more square images side by side (image 0 enabled, image 1 disabled); its bottom-left
// pixel is the transparent colour.
namespace qz {

class TBitmap;

// Picture numbers.
enum : int {
    bmpClearList = 4,    // clear the list: two images
    bmpLookup = 8,       // lookup (F2) button
    bmpDatePicker = 9,   // date quick-picker
    bmpNotifyUsers = 39, // people to notify
    bmpDeleteRow = 47,   // delete one row
    bmpNoteLookup = 81,  // footer and sign-in lookup
    // Plan list and its tool bar: 18 x 18 (small images) and 24 x 24 (large images).
    bmpPlan18 = 101,
    bmpSave18 = 102,
    bmpOpen18 = 103,
    bmpDelete18 = 104,
    bmpView18 = 105,
    bmpPlan24 = 111,
    bmpSave24 = 112,
    bmpOpen24 = 113,
    bmpDelete24 = 114,
    bmpView24 = 115,
};

// The highest picture number.
int GetMaxBmpID();
// Loads picture id into bitmap; false (bitmap unchanged) for a number without a picture or no bitmap.
bool LoadBmp(TBitmap* bitmap, int id);

} // namespace qz
