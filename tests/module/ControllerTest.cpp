// The module as the host sees it: RovanC.so loaded by name, its controller driven through the
// positions of its operations, its notifications and outcome.
#include "doubles/RecordingObject.h"
#include "doubles/TestInstallation.h"
#include "framework/BaseGene.h"
#include "module/DLLFunc.h"
#include "outside/host/ControllerSlots.h"
#include "platform/core/CodePages.h"
#include "platform/os/Library.h"
#include "platform/os/System.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace qz::test {
namespace {

std::vector<int> g_notified;

void Record(void*, int code, TDLLBaseController*) {
    g_notified.push_back(code);
}

class ModuleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        installation_ = new TestInstallation;
        setenv("QZ_REGISTRY", installation_->Registry().c_str(), 1);
        setenv("QZ_DISPLAY", "headless", 1);
        setenv("QZ_HEADLESS_PRESS", "btnCancel", 1);
        lib_ = LoadLibrary(QZ_LIB_DIR "/RovanC.so");
        ASSERT_NE(lib_, nullptr) << LastLibraryError();
        getController_ = reinterpret_cast<TDLLBaseController* (*)()>(GetProcAddress(lib_, "GetController"));
        ASSERT_NE(getController_, nullptr);
    }
    static void TearDownTestSuite() { delete installation_; }

    void SetUp() override {
        g_notified.clear();
        controller_ = getController_();
        hostVariant_ = MakeRecording(host_);
        host_->On("GetMessage", Variant(AnsiString("text")));
        controller_->HostObject = hostVariant_;
        controller_->OnNotify = TNotifyHostEvent{&Record, nullptr};
    }
    void TearDown() override { delete controller_; }

    static Variant Params(int count) {
        Variant p = VarArrayCreate({0, count - 1}, varVariant);
        const char* v[] = {"U01", "C01", "DB01", "0", ""};
        for (int i = 0; i < count; ++i) p[i] = i == 3 ? Variant(0) : Variant(AnsiString(v[i]));
        return p;
    }

    static inline TestInstallation* installation_ = nullptr;
    static inline HMODULE lib_ = nullptr;
    static inline TDLLBaseController* (*getController_)() = nullptr;
    TDLLBaseController* controller_ = nullptr;
    TRecordingObject* host_ = nullptr;
    Variant hostVariant_;
};

TEST_F(ModuleTest, OperationsWithoutAWindowReturnTheirDefaults) {
    TDLLBaseController* c = controller_;
    EXPECT_EQ(CallSlot<LongBool>(c, slotGetVisible), 0);
    EXPECT_EQ(CallSlot<HWND>(c, slotGetHandle), 0u);
    Variant modal;
    CallSlot<void, Variant&>(c, slotShowModal, modal);
    EXPECT_EQ(modal.AsInteger(), 2);
    Variant info = AnsiString("untouched");
    EXPECT_EQ((CallSlot<int, Variant&>(c, slotGetModuleInfo, info)), -1);
    EXPECT_EQ(info.AsString(), "untouched");
    EXPECT_TRUE(CallSlot<bool>(c, slotIsFormFreed));
    EXPECT_EQ((CallSlot<int, const Variant&>(c, slotExecuteCommand, VarArrayOf({0, VarArrayOf({0})}))), -1);
    EXPECT_EQ((CallSlot<int, int, const Variant&>(c, slotHandleEvent, 5, Variant())), -1);
    WideString version = u"none";
    CallSlot<void, WideString&>(c, slotGetVersion, version);
    EXPECT_EQ(version, u"none");
    CallSlot<void, WordBool>(c, slotSetVisible, WordBool(-1));
    CallSlot<void>(c, slotFreeForm);
    EXPECT_TRUE(g_notified.empty());
}

TEST_F(ModuleTest, EachCallGivesANewController) {
    TDLLBaseController* second = getController_();
    EXPECT_NE(second, controller_);
    delete second;
}

TEST_F(ModuleTest, WindowLifeIsReportedAndItsOutcomeKept) {
    ASSERT_EQ((CallSlot<int, const Variant&>(controller_, slotCreateForm, Params(5))), 0);
    EXPECT_EQ(g_notified, std::vector<int>({0x100}));
    WideString version;
    CallSlot<void, WideString&>(controller_, slotGetVersion, version);
    EXPECT_EQ(version, u"870401-0.00.00");
    Variant info;
    ASSERT_EQ((CallSlot<int, Variant&>(controller_, slotGetModuleInfo, info)), 0);
    EXPECT_EQ(VarArrayHighBound(info, 1), 3);
    EXPECT_EQ(info[0].AsString(), "U01");
    EXPECT_EQ(info[1].AsString(), "C01");
    EXPECT_EQ(info[2].AsString(), "ROVANC");
    EXPECT_FALSE(CallSlot<bool>(controller_, slotIsFormFreed));

    // Commands: a Null or scalar command, and events of other types, do not reach the window.
    EXPECT_EQ((CallSlot<int, const Variant&>(controller_, slotExecuteCommand, Null())), -1);
    EXPECT_EQ((CallSlot<int, const Variant&>(controller_, slotExecuteCommand, Variant(7))), -1);
    EXPECT_EQ((CallSlot<int, int, const Variant&>(controller_, slotHandleEvent, 3, VarArrayOf({0}))), -1);
    Variant checkOnly = VarArrayOf({0, VarArrayOf({Variant(false), Variant()})});
    EXPECT_EQ((CallSlot<int, int, const Variant&>(controller_, slotHandleEvent, 9, checkOnly)), 0);
    EXPECT_EQ((CallSlot<int, int, const Variant&>(controller_, slotHandleEvent, 9, VarArrayOf({0}))),
              -1); // raised

    Variant modal; // headless: the window is answered with its Cancel button
    CallSlot<void, Variant&>(controller_, slotShowModal, modal);
    EXPECT_EQ(modal.AsInteger(), 2);
    EXPECT_TRUE(CallSlot<bool>(controller_, slotIsFormFreed));
    EXPECT_EQ(g_notified, std::vector<int>({0x100, 0x110, 0x120, 0x130}));
    EXPECT_EQ(controller_->ResultCode, 2);
}

TEST_F(ModuleTest, FreeFormKeepsTheOutcomeAndNotifiesNobodyWithoutAHandler) {
    ASSERT_EQ((CallSlot<int, const Variant&>(controller_, slotCreateForm, Params(5))), 0);
    EXPECT_EQ(g_notified, std::vector<int>({0x100}));
    TfrmBaseGene* form = static_cast<TDLLRPCtrller*>(controller_)->Form;
    ASSERT_NE(form, nullptr);
    form->FOutcomeCode = 1;
    controller_->OnNotify = TNotifyHostEvent{}; // the host stops listening
    CallSlot<void>(controller_, slotFreeForm);
    EXPECT_TRUE(CallSlot<bool>(controller_, slotIsFormFreed));
    EXPECT_EQ(controller_->ResultCode, 1);
    EXPECT_EQ(g_notified, std::vector<int>({0x100})); // 0x130 went nowhere
}

TEST(ControllerClass, UnassignedClassRaisesTheInternalError) {
    // The controller unit names its class when it is initialised.
    TDLLControllerClass saved = DLLControllerClass;
    ASSERT_NE(saved, nullptr);
    DLLControllerClass = nullptr;
    try {
        GetController();
        ADD_FAILURE() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Qz DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible");
    }
    DLLControllerClass = saved;
    TDLLRPCtrller* a = GetController();
    TDLLRPCtrller* b = GetController();
    EXPECT_NE(a, b);
    delete a;
    delete b;
}

} // namespace
} // namespace qz::test
