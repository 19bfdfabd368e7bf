#pragma once
// Updating module files from the server. For now only its alert log, which lives beside the host
// program.
#include "platform/core/Types.h"

namespace qz {

// A line in <host program folder>/Log/Alert_<name>_<date part>.log. Never raises.
bool WriteDownloadLog(const AnsiString& name, const AnsiString& text, const AnsiString& period);

} // namespace qz
