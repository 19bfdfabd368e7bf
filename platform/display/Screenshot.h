#pragma once
// Pictures of forms without a display: the window (frame, caption bar and client area) painted as the
// SDL backend paints it, written as a PNG file.
#include "platform/core/Types.h"

namespace qz {

class TBitmap;
class TCustomForm;

// Paints the whole window of the form into the bitmap with the real text engine.
void RenderFormImage(TCustomForm& form, TBitmap& target);
// Writes the window of the form as a PNG file; raises EInvalidGraphic when it cannot be written.
void SaveFormImage(TCustomForm& form, const AnsiString& fileName);

// Asks for a picture of the next form shown modally, written once the form is shown and before it
// takes any input; the form then goes on as usual. A line on standard error tells where the file is.
// An empty name withdraws a request not yet served. Installs the display backend when none is.
void RequestScreenshotOnShow(const AnsiString& fileName);
// The file of a request not yet served; "" when none.
AnsiString PendingScreenshot();

} // namespace qz
