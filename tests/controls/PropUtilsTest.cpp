#include "controls/PropUtils.h"
#include "platform/core/Strings.h"
#include "platform/gfx/Font.h"
#include "platform/variant/Variant.h"
#include "platform/vcl/StdCtrls.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace qz;

namespace {

struct Owned {
    std::unique_ptr<TComponent, void (*)(TComponent*)> owner{new TComponent(nullptr),
                                                             [](TComponent* c) { c->Free(); }};
};

class PropUtils : public ::testing::Test {
protected:
    PropUtils() {
        label = new TLabel(owner.owner.get());
        label->SetName("lblTitle");
        label->SetCaption("Title");
        button = new TButton(owner.owner.get());
        button->SetName("btnOk");
        button->SetBounds(0, 0, 75, 25);
    }
    Owned owner;
    TLabel* label;
    TButton* button;
};

// The text of a property a dotted path names.
AnsiString ReadPath(TObject* object, const AnsiString& path) {
    size_t dot = path.find('.');
    if (dot == AnsiString::npos) return GetStrPropByName(object, path);
    return ReadPath(GetObjectProperty(object, path.substr(0, dot)), path.substr(dot + 1));
}

TEST_F(PropUtils, SetPropertyByPathReadsTextsNumbersAndPaths) {
    struct Case {
        const char* path;
        Variant value;
        bool ok;
        const char* readBack;
        AnsiString expected;
    };
    const std::vector<Case> cases = {
        {"Font.Name", "Tahoma", true, "Font.Name", "Tahoma"},
        {"font.name", "SimSun", true, "Font.Name", "SimSun"},
        {"Align", "  alClient ", true, "Align", "alClient"},
        {"Align", 2, true, "Align", "alBottom"},
        {"Font.Style", " [fsBold, fsItalic] ", true, "Font.Style", "[fsBold,fsItalic]"},
        {"Color", "clRed", true, "Color", IntToStr(clRed)},
        {"Color", 255, true, "Color", "255"},
        {"Left", "120", true, "Left", "120"},
        {"Visible", false, true, "Visible", "False"},
        {"Caption", 12, true, "Caption", "12"},
        {"Hidden", "x", true, "Caption", "Title"}, // a missing last property is ignored
        {"Fnt.Name", "Tahoma", false, "Font.Name", "MS Sans Serif"},
        {"Caption.Text", "x", false, "Caption", "Title"},
        {"Align", "alNowhere", false, "Align", "alNone"},
        {"Left", "wide", false, "Left", "0"},
    };
    for (const Case& c : cases) {
        Owned fresh;
        auto* l = new TLabel(fresh.owner.get());
        l->SetCaption("Title");
        EXPECT_EQ(TrySetPropertyByPath(l, c.path, c.value), c.ok) << c.path;
        EXPECT_EQ(ReadPath(l, c.readBack), c.expected) << c.path;
    }
    EXPECT_THROW(SetPropertyByPath(label, "Fnt.Name", "Tahoma"), EPropertyError);
    EXPECT_THROW(SetPropertyByPath(label, "Align", "alNowhere"), EPropertyConvertError);
    EXPECT_FALSE(TrySetPropertyByPath(nullptr, "Caption", "x"));
}

TEST_F(PropUtils, MissingObjectNameOrPropertyIsSilent) {
    struct Case {
        const TObject* object;
        const char* name;
    };
    const Case cases[] = {{nullptr, "Caption"}, {label, ""}, {label, "NoSuchProperty"}};
    for (const Case& c : cases) {
        auto* o = const_cast<TObject*>(c.object);
        EXPECT_FALSE(HasPublishedProperty(o, c.name));
        EXPECT_EQ(GetStrPropByName(o, c.name), "");
        EXPECT_EQ(GetOrdPropByName(o, c.name), 0);
        EXPECT_FALSE(GetMethodPropByName(o, c.name));
        EXPECT_EQ(GetObjectProperty(o, c.name), nullptr);
        EXPECT_NO_THROW(SetStrPropByName(o, c.name, "x"));
        EXPECT_NO_THROW(SetOrdPropByName(o, c.name, 1));
        EXPECT_NO_THROW(SetMethodPropByName(o, c.name, TMethod{}));
    }
    EXPECT_EQ(label->Caption(), "Title");
    EXPECT_TRUE(HasPublishedProperty(label, "caption"));
}

TEST_F(PropUtils, OrdinalStringObjectAndMethodAccess) {
    label->SetFocusControl(button);
    label->SetAlign(alRight);
    EXPECT_EQ(GetOrdPropByName(label, "Align"), alRight);
    EXPECT_EQ(GetOrdPropByName(label, "Visible"), 1);
    EXPECT_EQ(GetOrdPropByName(label, "FocusControl"), reinterpret_cast<long long>(button));
    SetOrdPropByName(label, "Width", 64);
    EXPECT_EQ(label->Width(), 64);

    SetStrPropByName(label, "Caption", "Total");
    SetStrPropByName(label, "Alignment", "taCenter");
    EXPECT_EQ(GetStrPropByName(label, "Caption"), "Total");
    EXPECT_EQ(label->Alignment(), taCenter);

    EXPECT_EQ(GetObjectProperty(label, "Font"), label->Font());
    EXPECT_EQ(GetObjectProperty(label, "FocusControl"), button);
    EXPECT_EQ(GetObjectProperty(label, "Caption"), nullptr); // not of class type

    int clicks = 0;
    TNotifyEvent handler = [&](TObject*) { ++clicks; };
    SetMethodPropByName(button, "OnClick", handler.Method());
    EXPECT_EQ(GetMethodPropByName(button, "OnClick"), handler.Method());
    button->Click();
    EXPECT_EQ(clicks, 1);
}

TEST_F(PropUtils, ClickControlSendsButtonDownAndUpWithTheParameters) {
    std::vector<std::pair<int, int>> downs, ups;
    int clicks = 0;
    button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { downs.push_back({x, y}); };
    button->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) { ups.push_back({x, y}); };
    button->OnClick = [&](TObject*) { ++clicks; };
    ClickControl(button, 0, MakeLParam(10, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(downs, (std::vector<std::pair<int, int>>{{10, 5}}));
    EXPECT_EQ(ups, downs);
    ClickControl(button, 0, MakeLParam(200, 5)); // released off the button: no click
    EXPECT_EQ(clicks, 1);
    EXPECT_NO_THROW(ClickControl(nullptr, 0, 0));
}

} // namespace
