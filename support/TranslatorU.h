#pragma once
// GB <-> BIG5 text conversion through the language library ("Qzlanguage.dll", entries "GBtoBIG5"
// and "BIG5toGB"), loaded for the life of the translator.
#include "platform/core/Types.h"

namespace qz {

// The library the translator loads: "Qzlanguage.dll" unless a test named another (empty restores it).
const AnsiString& TranslatorLibraryName();
void SetTranslatorLibraryName(const AnsiString& name);

class TTranslator : public TObject {
public:
    // Raises "Load Library <name> Error!" when the library cannot be loaded and "Get Library
    // Procedure Address Error!" when either entry is missing.
    TTranslator();
    ~TTranslator() override;
    TTranslator(const TTranslator&) = delete;
    TTranslator& operator=(const TTranslator&) = delete;

    AnsiString GBToBig5(const AnsiString& s) const;
    AnsiString Big5ToGB(const AnsiString& s) const;

private:
    using TConvertProc = const char* (*)(const char*);
    void* FHandle = nullptr;
    TConvertProc FGBtoBIG5 = nullptr;
    TConvertProc FBIG5toGB = nullptr;
};

} // namespace qz
