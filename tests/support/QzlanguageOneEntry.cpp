// A language library that has lost its BIG5-to-GB entry.
extern "C" __attribute__((visibility("default"))) const char* GBtoBIG5(const char* text) {
    return text;
}
