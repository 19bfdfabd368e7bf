#include "platform/core/CodePages.h"
#include "platform/core/Exceptions.h"
#include "support/TranslatorU.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

AnsiString Big5(const char* utf8) {
    return ConvertCodePage(utf8, CP_UTF8, CP_BIG5);
}

// The library as built; the sanitizer's dlopen does not search the program's run path, so the tests
// name it by its full path.
class Translator : public ::testing::Test {
protected:
    Translator() { SetTranslatorLibraryName(QZ_LIB_DIR "/Qzlanguage.dll"); }
    ~Translator() override { SetTranslatorLibraryName(""); }
};

TEST_F(Translator, ConvertsBothWaysThroughTheLanguageLibrary) {
    SetTranslatorLibraryName("");
    EXPECT_EQ(TranslatorLibraryName(), "Qzlanguage.dll");
#ifndef __SANITIZE_ADDRESS__
    EXPECT_NO_THROW(TTranslator()); // found by its bare name beside the program's libraries
#endif
    SetTranslatorLibraryName(QZ_LIB_DIR "/Qzlanguage.dll");
    TTranslator t;
    EXPECT_EQ(t.GBToBig5(GB("订单变更 选择单据日期")), Big5("訂單變更 選擇單據日期"));
    EXPECT_EQ(t.Big5ToGB(Big5("訂單變更 選擇單據日期")), GB("订单变更 选择单据日期"));
    EXPECT_EQ(t.GBToBig5(""), "");
    // Each result is the translator's own copy, not the library's buffer.
    AnsiString first = t.GBToBig5(GB("单据"));
    t.GBToBig5(GB("日期"));
    EXPECT_EQ(first, Big5("單據"));
}

TEST_F(Translator, LoadErrorsNameTheLibraryOrTheMissingEntry) {
    struct Case {
        AnsiString library;
        AnsiString message;
    };
    const AnsiString missing = AnsiString(QZ_ONE_ENTRY_DIR) + "/absent/Qzlanguage.dll";
    const Case cases[] = {
        {missing, "Load Library " + missing + " Error!"},
        {AnsiString(QZ_ONE_ENTRY_DIR) + "/Qzlanguage.dll", "Get Library Procedure Address Error!"},
    };
    for (const Case& c : cases) {
        SetTranslatorLibraryName(c.library);
        try {
            TTranslator t;
            ADD_FAILURE() << "loaded " << c.library;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
}

} // namespace
