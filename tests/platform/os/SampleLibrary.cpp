// A tiny shared object for the library-loading tests, with a recorded version.
#include "platform/os/FileVersion.h"

QZ_FILE_VERSION("1.2.3-sample");

extern "C" __attribute__((visibility("default"))) int QzSampleAnswer() {
    return 42;
}
