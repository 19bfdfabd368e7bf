#include "support/TranslatorU.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Format.h"
#include "platform/os/Library.h"

namespace qz {

namespace {

const char* const kLanguageLibrary = "Qzlanguage.dll";

AnsiString& LibraryName() {
    static AnsiString name = kLanguageLibrary;
    return name;
}

} // namespace

const AnsiString& TranslatorLibraryName() {
    return LibraryName();
}

void SetTranslatorLibraryName(const AnsiString& name) {
    LibraryName() = name.empty() ? AnsiString(kLanguageLibrary) : name;
}

TTranslator::TTranslator() {
    FHandle = LoadLibrary(LibraryName());
    if (!FHandle) throw Exception(Format("Load Library %s Error!", {LibraryName()}));
    FGBtoBIG5 = reinterpret_cast<TConvertProc>(GetProcAddress(FHandle, "GBtoBIG5"));
    FBIG5toGB = reinterpret_cast<TConvertProc>(GetProcAddress(FHandle, "BIG5toGB"));
    if (!FGBtoBIG5 || !FBIG5toGB) {
        FreeLibrary(FHandle);
        FHandle = nullptr;
        throw Exception("Get Library Procedure Address Error!");
    }
}

TTranslator::~TTranslator() {
    if (FHandle) FreeLibrary(FHandle);
}

// The library's result lives in its buffer until this thread's next call: copy it at once.
AnsiString TTranslator::GBToBig5(const AnsiString& s) const {
    if (!FGBtoBIG5) return s;
    const char* r = FGBtoBIG5(s.c_str());
    return r ? AnsiString(r) : AnsiString();
}

AnsiString TTranslator::Big5ToGB(const AnsiString& s) const {
    if (!FBIG5toGB) return s;
    const char* r = FBIG5toGB(s.c_str());
    return r ? AnsiString(r) : AnsiString();
}

} // namespace qz
