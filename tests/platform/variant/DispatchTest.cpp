#include "platform/variant/Dispatch.h"
#include "VariantPrint.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

// A validator-like service that records its calls.
class TRecorder : public TAutoObject {
public:
    explicit TRecorder(bool* destroyed = nullptr) : destroyed_(destroyed) {
        RegisterMethod("QueryData", [this](DispArgs& args) {
            calls.push_back("QueryData " + args[0].AsString() + " " + args[1].AsString());
            args[0] = "changed by callee";
            args[4] = VarArrayOf({"row", 7});
            return Variant(true);
        });
        RegisterMethod("Com_Counter", [](DispArgs&) { return Variant(new TAutoObject); });
        RegisterProperty(
            "BaseLimited", [this] { return limited; }, [this](const Variant& v) { limited = v; });
        RegisterProperty("Version", [] { return Variant(3); });
    }
    ~TRecorder() override {
        if (destroyed_) *destroyed_ = true;
    }

    std::vector<AnsiString> calls;
    Variant limited;

private:
    bool* destroyed_;
};

template <class F> std::string OleErrorOf(F f) {
    try {
        f();
    } catch (const EOleError& e) {
        return e.what();
    }
    return "no error";
}

TEST(DispatchTest, ByReferenceArgumentCarriesTheCalleesValueBack) {
    auto* recorder = new TRecorder;
    Variant validator(recorder);
    Variant table = "QzMA", result;
    Variant ok = validator.Call("QueryData", {table, "01", "db", VarArrayOf({1}), VarRef(result)});
    EXPECT_EQ(ok, true);
    ASSERT_TRUE(VarIsArray(result));
    EXPECT_EQ(result[0], "row");
    EXPECT_EQ(result[1], 7);
    EXPECT_EQ(table, "QzMA"); // passed by value
    EXPECT_EQ(recorder->calls, std::vector<AnsiString>{"QueryData QzMA 01"});
}

TEST(DispatchTest, MembersByNameWithoutRegardToCase) {
    auto* recorder = new TRecorder;
    Variant validator(recorder);
    validator.Set("baselimited", "limits");
    EXPECT_EQ(recorder->limited, "limits");
    EXPECT_EQ(validator.Get("BASELIMITED"), "limits");
    EXPECT_EQ(validator.Call("version"), 3);                // a property read as a method
    EXPECT_TRUE(VarIsObject(validator.Get("com_counter"))); // a method read as a property
    Variant result;
    validator.Call("QUERYDATA", {"T", "K", "db", 0, VarRef(result)});
    EXPECT_EQ(recorder->calls.size(), 1u);
}

TEST(DispatchTest, MisusedMembersRaise) {
    Variant validator(new TRecorder);
    EXPECT_EQ(OleErrorOf([&] { validator.Call("NoSuchMethod"); }), "Unknown name: NoSuchMethod");
    EXPECT_EQ(OleErrorOf([&] { validator.Set("Missing", 1); }), "Unknown name: Missing");
    EXPECT_EQ(OleErrorOf([&] { validator.Set("Version", 4); }), "Member not found: Version");
    EXPECT_EQ(OleErrorOf([&] { validator.Set("QueryData", 4); }), "Member not found: QueryData");
    EXPECT_EQ(OleErrorOf([&] { validator.Call("QueryData", {"T", "K"}); }), "Invalid number of parameters");
    EXPECT_EQ(OleErrorOf([&] { validator.Call("Version", {1}); }), "Invalid number of parameters");
    for (const Variant& none : {Variant(), Null(), Variant(5)})
        EXPECT_EQ(OleErrorOf([&] { none.Call("QueryData"); }),
                  "Variant does not reference an automation object");
}

TEST(DispatchTest, ObjectIsReleasedWithItsLastVariant) {
    bool destroyed = false;
    auto* recorder = new TRecorder(&destroyed);
    Variant a(recorder);
    Variant b = a;
    Variant list = VarArrayOf({a, b});
    EXPECT_EQ(recorder->RefCount(), 4);
    a.Clear();
    b = 5;
    Variant copy = list;
    list.Clear();
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(recorder->RefCount(), 2);
    copy = Unassigned();
    EXPECT_TRUE(destroyed);
}

TEST(DispatchTest, CalleeMayClearTheVariantItWasCalledThrough) {
    bool destroyed = false;
    auto* object = new TRecorder(&destroyed);
    Variant holder(object);
    object->RegisterMethod("Drop", [&holder, object](DispArgs&) {
        holder.Clear();
        object->calls.push_back("after drop");
        return Variant();
    });
    holder.Call("Drop");
    EXPECT_TRUE(destroyed);
    EXPECT_TRUE(VarIsEmpty(holder));
}

} // namespace
