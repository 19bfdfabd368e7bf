// A tiny shared object for the library-loading tests.
extern "C" __attribute__((visibility("default"))) int QzSampleAnswer() {
    return 42;
}
