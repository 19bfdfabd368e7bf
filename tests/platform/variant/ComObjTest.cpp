#include "platform/variant/ComObj.h"
#include "VariantPrint.h"
#include "platform/core/Exceptions.h"
#include "platform/os/System.h"
#include "platform/variant/Dispatch.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

using namespace qz;

namespace {

class TLocal : public TAutoObject {
public:
    explicit TLocal(int* live) : live_(live) {
        ++*live_;
        RegisterProperty("Kind", [] { return Variant("local"); });
    }
    ~TLocal() override { --*live_; }

private:
    int* live_;
};

// A class registry naming the test server by its full file name and by its ".dll" name.
class ComObjTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("QZ_REGISTRY");
        if (old) oldRegistry_ = old;
        file_ = CreateTempFile("qzreg");
        const std::string server = QZ_TEST_SERVER;
        std::ofstream(file_) << "[HKEY_CLASSES_ROOT\\QzTest.Counter]\nLibrary=" << server
                             << "\n[HKEY_CLASSES_ROOT\\QzTest.Fresh]\nLibrary=" << server
                             << "\n[HKEY_CLASSES_ROOT\\QzTest.Relative]\nLibrary=QzVarTestServer.dll"
                             << "\n[HKEY_CLASSES_ROOT\\QzTest.Unserved]\nLibrary=" << server
                             << "\n[HKEY_CLASSES_ROOT\\QzTest.NoLibrary]\nLibrary=/nonexistent/NoSuch.so"
                             << "\n[HKEY_CLASSES_ROOT\\QzTest.NoValue]\nVersion=1\n";
        setenv("QZ_REGISTRY", file_.c_str(), 1);
    }
    void TearDown() override {
        UnregisterOleFactory("QzTest.Local");
        UnregisterOleFactory("QzTest.Counter");
        if (oldRegistry_.empty())
            unsetenv("QZ_REGISTRY");
        else
            setenv("QZ_REGISTRY", oldRegistry_.c_str(), 1);
        std::remove(file_.c_str());
    }

    std::string file_, oldRegistry_;
};

TEST_F(ComObjTest, InProcessFactoryComesFirstAndIgnoresCase) {
    int live = 0;
    RegisterOleFactory("QzTest.Local", [&live] { return new TLocal(&live); });
    Variant object = CreateOleObject("qztest.LOCAL");
    EXPECT_EQ(object.Get("Kind"), "local");
    EXPECT_EQ(object.Object()->RefCount(), 1);
    object.Clear();
    EXPECT_EQ(live, 0);

    // A factory in the process hides the class registry's entry.
    RegisterOleFactory("QzTest.Counter", [&live] { return new TLocal(&live); });
    EXPECT_EQ(CreateOleObject("QzTest.Counter").Get("Kind"), "local");
    UnregisterOleFactory("QzTest.Counter");
    EXPECT_EQ(CreateOleObject("QzTest.Counter").Get("ProgId"), "QzTest.Counter");

    UnregisterOleFactory("QzTest.Local");
    EXPECT_THROW(CreateOleObject("QzTest.Local"), EOleError);
    EXPECT_EQ(live, 0);
}

TEST_F(ComObjTest, SharedObjectServesClassesOfTheRegistry) {
    for (const char* progId : {"QzTest.Counter", "qztest.relative", "QzTest.Fresh"}) {
        SCOPED_TRACE(progId);
        Variant counter = CreateOleObject(progId);
        EXPECT_EQ(counter.Object()->RefCount(), 1);
        EXPECT_EQ(counter.Get("ProgId"), progId);
        EXPECT_EQ(counter.Call("Next", {5}), 5);
        EXPECT_EQ(counter.Call("next", {2}), 7);
        EXPECT_EQ(counter.Get("Live"), 1);
    }
}

TEST_F(ComObjTest, ObjectsOfTheSharedObjectAreReleasedWithTheirVariants) {
    Variant first = CreateOleObject("QzTest.Counter");
    Variant second = CreateOleObject("QzTest.Fresh");
    EXPECT_EQ(first.Get("Live"), 2);
    Variant alias = second;
    second.Clear();
    EXPECT_EQ(first.Get("Live"), 2);
    alias.Clear();
    EXPECT_EQ(first.Get("Live"), 1);
}

TEST_F(ComObjTest, ClassesThatCannotBeCreatedRaise) {
    struct Case {
        const char* progId;
        std::string message;
    };
    const Case cases[] = {
        {"No.Such.Class", "Invalid class string"},
        {"", "Invalid class string"},
        {"QzTest.NoValue", "Invalid class string"},
        {"QzTest.Unserved", "Class not registered: QzTest.Unserved"},
        {"QzTest.NoLibrary", "Cannot load /nonexistent/NoSuch.so"},
    };
    for (const auto& c : cases) {
        try {
            CreateOleObject(c.progId);
            ADD_FAILURE() << "no error for " << c.progId;
        } catch (const EOleError& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, c.message.size()), c.message) << c.progId;
        }
    }
    // The registry is read at each creation: without the file the class is gone.
    setenv("QZ_REGISTRY", (file_ + ".missing").c_str(), 1);
    EXPECT_THROW(CreateOleObject("QzTest.Counter"), EOleError);
}

} // namespace
