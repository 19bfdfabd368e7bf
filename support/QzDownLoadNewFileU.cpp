#include "support/QzDownLoadNewFileU.h"

#include "platform/os/System.h"
#include "support/AlertLog.h"

namespace qz {

bool WriteDownloadLog(const AnsiString& name, const AnsiString& text, const AnsiString& period) {
    try {
        return WriteAlertLogIn(ExtractFilePath(GetHostFileName()), name, text, period);
    } catch (...) {
        return false;
    }
}

} // namespace qz
