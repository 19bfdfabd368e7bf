#include "platform/core/StringList.h"
#include "platform/core/Strings.h"
#include "platform/rtti/ClassBuilder.h"
#include <gtest/gtest.h>
#include <memory>

namespace qz {
namespace {

QZ_ENUM(TShape, shCircle, shSquare, shTriangle)
QZ_SET(TShapes, TShape)
QZ_EVENT_TYPE(TCountEvent, void(TObject* Sender, int& Count))

class TPen : public TObject {
    QZ_CLASS(TPen)
public:
    const AnsiString& Name() const { return name_; }
    void SetName(const AnsiString& v) { name_ = v; }
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }

private:
    AnsiString name_ = "solid";
    int width_ = 1;
};

QZ_CLASS_INFO(TPen, TObject) {
    b.Property("Name", &TPen::Name, &TPen::SetName);
    b.Property("Width", &TPen::Width, &TPen::SetWidth).Default(1);
}

class TWidget : public TObject {
    QZ_CLASS(TWidget)
public:
    TWidget() : pen_(std::make_unique<TPen>()) { Lines.Add("first"); }
    int Left() const { return left_; }
    void SetLeft(int v) { left_ = v; }
    TShape Shape() const { return shape_; }
    void SetShape(TShape v) { shape_ = v; }
    TShapes Shapes() const { return shapes_; }
    void SetShapes(TShapes v) { shapes_ = v; }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { visible_ = v; }
    TPen* Pen() const { return pen_.get(); }
    TStrings* Items() const { return const_cast<TStringList*>(&Lines); }

    AnsiString Caption;
    double Ratio = 0.5;
    char Accel = 'A';
    int Color = 0;
    TNotifyEvent OnClick;
    TCountEvent OnCount;
    TStringList Lines;
    TWidget* Buddy = nullptr;

    AnsiString log;
    void WidgetClick(TObject* sender) { log += "click;"; }
    void OtherClick(TObject* sender) { log += "other;"; }
    void CountUp(TObject* sender, int& count) { count += 2; }

private:
    int left_ = 0;
    TShape shape_ = shCircle;
    TShapes shapes_;
    bool visible_ = true;
    std::unique_ptr<TPen> pen_;
};

QZ_CLASS_INFO(TWidget, TObject) {
    b.Property("Left", &TWidget::Left, &TWidget::SetLeft).Default(0);
    b.Property("Shape", &TWidget::Shape, &TWidget::SetShape).Default(shCircle);
    b.Property("Shapes", &TWidget::Shapes, &TWidget::SetShapes);
    b.Property("Visible", &TWidget::Visible, &TWidget::SetVisible).Default(true);
    b.Property("Caption", &TWidget::Caption);
    b.Property("Ratio", &TWidget::Ratio);
    b.Property("Accel", &TWidget::Accel);
    b.Property("Color", &TWidget::Color).TypeName("TShadeColor");
    b.Property("Pen", &TWidget::Pen);
    b.Property("Items", &TWidget::Items);
    b.Property("Buddy", &TWidget::Buddy);
    b.Event("OnClick", &TWidget::OnClick);
    b.Event("OnCount", &TWidget::OnCount);
    b.Method("WidgetClick", &TWidget::WidgetClick);
    b.Method("CountUp", &TWidget::CountUp);
}

class TBigWidget : public TWidget {
    QZ_CLASS(TBigWidget)
public:
    int Depth = 3;
};

QZ_CLASS_INFO(TBigWidget, TWidget) {
    b.Property("Depth", &TBigWidget::Depth);
}

TEST(MetaClass, NameParentAndCreationByName) {
    const TMetaClass* big = FindClass("tbigwidget");
    ASSERT_EQ(big, TBigWidget::StaticClass());
    EXPECT_EQ(big->ClassName(), "TBigWidget");
    EXPECT_EQ(big->ClassParent(), TWidget::StaticClass());
    EXPECT_TRUE(big->InheritsFrom(TWidget::StaticClass()));
    EXPECT_TRUE(big->InheritsFrom(StaticClassOf<TObject>()));
    EXPECT_FALSE(TWidget::StaticClass()->InheritsFrom(big));
    EXPECT_EQ(GetClass("TNoSuchThing"), nullptr);
    EXPECT_THROW(FindClass("TNoSuchThing"), EClassNotFound);

    std::unique_ptr<TObject> made(big->Create());
    ASSERT_TRUE(dynamic_cast<TBigWidget*>(made.get()));
    EXPECT_EQ(ClassNameOf(made.get()), "TBigWidget");
    EXPECT_TRUE(ObjectInheritsFrom(made.get(), "TWidget"));
    // Inherited and own properties, the ancestors' first.
    auto props = big->Properties();
    ASSERT_GE(props.size(), 2u);
    EXPECT_EQ(props.front()->Name, "Left");
    EXPECT_EQ(props.back()->Name, "Depth");
    // Classes described from outside are found by their C++ type.
    TStringList list;
    EXPECT_EQ(ClassNameOf(&list), "TStringList");
    EXPECT_TRUE(ObjectInheritsFrom(&list, "TStrings"));
}

TEST(Properties, KindTypeNameAndDefault) {
    TWidget w;
    struct Case {
        const char* name;
        TTypeKind kind;
        const char* type;
    };
    const Case cases[] = {
        {"Left", tkInteger, "Integer"},
        {"Shape", tkEnumeration, "TShape"},
        {"Shapes", tkSet, "TShapes"},
        {"Visible", tkEnumeration, "Boolean"},
        {"Caption", tkString, "String"},
        {"Ratio", tkFloat, "Double"},
        {"Accel", tkChar, "Char"},
        {"Color", tkInteger, "TShadeColor"},
        {"Pen", tkClass, "TPen"},
        {"Items", tkClass, "TStrings"},
        {"OnClick", tkMethod, "TNotifyEvent"},
        {"OnCount", tkMethod, "TCountEvent"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TPropInfo* p = GetPropInfo(&w, c.name);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->Kind(), c.kind);
        EXPECT_EQ(p->PropType()->Name, c.type);
    }
    EXPECT_EQ(GetPropInfo(&w, "visible")->Name, "Visible");
    EXPECT_EQ(GetPropInfo(&w, "Nothing"), nullptr);
    EXPECT_EQ(GetPropInfo(nullptr, "Left"), nullptr);
    EXPECT_EQ(GetPropInfo(&w, "Pen")->PropType()->ClassType(), TPen::StaticClass());
    EXPECT_TRUE(GetPropInfo(&w, "Visible")->HasDefault);
    EXPECT_EQ(GetPropInfo(&w, "Visible")->Default, 1);
    EXPECT_FALSE(GetPropInfo(&w, "Caption")->HasDefault);
}

TEST(Properties, EveryKindReadAndWrittenByName) {
    TWidget w, buddy;
    SetOrdProp(&w, "Left", 42);
    EXPECT_EQ(w.Left(), 42);
    EXPECT_EQ(GetOrdProp(&w, "Left"), 42);

    SetEnumProp(&w, "Shape", "shTriangle");
    EXPECT_EQ(w.Shape(), shTriangle);
    EXPECT_EQ(GetEnumProp(&w, "Shape"), "shTriangle");
    SetEnumProp(&w, "Shape", "SHSQUARE"); // names ignore case
    EXPECT_EQ(w.Shape(), shSquare);

    SetSetProp(&w, "Shapes", "[shCircle, shTriangle]");
    EXPECT_TRUE(w.Shapes().Contains(shCircle));
    EXPECT_FALSE(w.Shapes().Contains(shSquare));
    EXPECT_EQ(GetSetProp(&w, "Shapes", true), "[shCircle,shTriangle]");
    SetSetProp(&w, "Shapes", "[]");
    EXPECT_TRUE(w.Shapes().Empty());

    SetEnumProp(&w, "Visible", "False");
    EXPECT_FALSE(w.Visible());
    SetOrdProp(&w, "Visible", 1);
    EXPECT_TRUE(w.Visible());

    SetStrProp(&w, "Caption", "Hello");
    EXPECT_EQ(GetStrProp(&w, "Caption"), "Hello");
    SetFloatProp(&w, "Ratio", 2.25);
    EXPECT_DOUBLE_EQ(GetFloatProp(&w, "Ratio"), 2.25);
    SetOrdProp(&w, "Accel", 'Z');
    EXPECT_EQ(w.Accel, 'Z');

    SetObjectProp(&w, "Buddy", &buddy);
    EXPECT_EQ(w.Buddy, &buddy);
    EXPECT_EQ(GetObjectProp(&w, "Buddy"), &buddy);
    EXPECT_EQ(GetObjectProp(&w, "Items"), &w.Lines);
    EXPECT_EQ(GetObjectProp(&w, "Caption"), nullptr); // not of class type
    TPen pen;
    EXPECT_THROW(SetObjectProp(&w, "Buddy", &pen), EPropertyConvertError);
    EXPECT_THROW(SetObjectProp(&w, "Pen", nullptr), EPropertyError); // read-only

    SetMethodProp(&w, "OnClick", TMethod{MethodAddress(&w, "WidgetClick"), &w});
    w.OnClick(&w);
    EXPECT_EQ(w.log, "click;");
    EXPECT_EQ(GetMethodProp(&w, "OnClick"), w.OnClick.Method());
}

TEST(Properties, ErrorsAndTextConversion) {
    TWidget w;
    EXPECT_THROW(GetOrdProp(&w, "Missing"), EPropertyError);
    EXPECT_THROW(SetStrProp(&w, "Left", "x"), EPropertyConvertError);
    EXPECT_THROW(SetSetProp(&w, "Shapes", "[shCircle, shOval]"), EPropertyConvertError);
    // The platform takes names as they are: trimming a value is left to the caller.
    EXPECT_THROW(SetEnumProp(&w, "Shape", "  shTriangle "), EPropertyConvertError);
    SetEnumProp(&w, "Shape", Trim("  shTriangle "));
    EXPECT_EQ(w.Shape(), shTriangle);

    RegisterIntegerConsts("TShadeColor", {{0x0000FF, "shRed"}, {0x00FF00, "shGreen"}});
    struct Case {
        const char* prop;
        const char* text;
        const char* back;
    };
    const Case cases[] = {
        {"Left", "-13", "-13"},
        {"Left", "$10", "16"},
        {"Color", "shGreen", "65280"},
        {"Shape", "shSquare", "shSquare"},
        {"Shapes", "[shSquare]", "[shSquare]"},
        {"Visible", "true", "True"},
        {"Ratio", "1.5", "1.5"},
        {"Caption", " a b ", " a b "},
        {"Accel", "Q", "Q"},
        {"OnClick", "WidgetClick", "WidgetClick"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.prop + AnsiString("=") + c.text);
        const TPropInfo* p = GetPropInfo(&w, c.prop);
        SetPropText(&w, p, c.text);
        EXPECT_EQ(GetPropText(&w, p), c.back);
    }
    EXPECT_THROW(SetPropText(&w, GetPropInfo(&w, "Left"), "ten"), EPropertyConvertError);
    EXPECT_THROW(SetPropText(&w, GetPropInfo(&w, "OnClick"), "NoSuchMethod"), EPropertyConvertError);
    EXPECT_THROW(SetPropText(&w, GetPropInfo(&w, "OnCount"), "WidgetClick"), EPropertyConvertError);
    int v = 0;
    EXPECT_TRUE(IdentToInt("tshadecolor", "SHRED", v));
    EXPECT_EQ(v, 0xFF);
    AnsiString ident;
    EXPECT_TRUE(IntToIdent("TShadeColor", 0x00FF00, ident));
    EXPECT_EQ(ident, "shGreen");

    SetPropNumber(&w, GetPropInfo(&w, "Caption"), 12);
    EXPECT_EQ(w.Caption, "12");
    SetPropNumber(&w, GetPropInfo(&w, "Shape"), 0);
    EXPECT_EQ(w.Shape(), shCircle);
    EXPECT_THROW(SetPropNumber(&w, GetPropInfo(&w, "Shape"), 7), EPropertyConvertError);
}

TEST(Properties, PathThroughClassTypedProperty) {
    TWidget w;
    TObject* target = &w;
    const TPropInfo* p = FindPropPath(target, "Pen.Name");
    ASSERT_TRUE(p);
    EXPECT_EQ(target, w.Pen());
    SetPropText(target, p, "dashed");
    EXPECT_EQ(w.Pen()->Name(), "dashed");

    target = &w;
    EXPECT_EQ(FindPropPath(target, "Pen . Missing"), nullptr); // last part missing: no error
    target = &w;
    EXPECT_THROW(FindPropPath(target, "Brush.Name"), EPropertyError);
    target = &w;
    EXPECT_THROW(FindPropPath(target, "Buddy.Left"), EPropertyError); // empty reference
    target = &w;
    EXPECT_THROW(FindPropPath(target, "Caption.Length"), EPropertyError);
}

TEST(Events, IdentityComparisonAndLaterCall) {
    TWidget a, b;
    TNotifyEvent e1(&a, &TWidget::WidgetClick);
    TNotifyEvent e2(&a, &TWidget::WidgetClick);
    TNotifyEvent e3(&b, &TWidget::WidgetClick);
    TNotifyEvent e4(&a, &TWidget::OtherClick);
    EXPECT_EQ(e1, e2);
    EXPECT_FALSE(e1 == e3);
    EXPECT_FALSE(e1 == e4);
    // The code of a bound member function is the published method's code.
    EXPECT_EQ(e1.Method().Code, MethodAddress(&a, "WidgetClick"));
    EXPECT_EQ(MethodName(&a, e1.Method().Code), "WidgetClick");
    EXPECT_EQ(MethodName(&a, e4.Method().Code), "");

    // Stored as a pair, restored later, called with var parameters.
    TMethod stored = TCountEvent(&b, &TWidget::CountUp).Method();
    TCountEvent restored(stored);
    int count = 1;
    restored(&b, count);
    EXPECT_EQ(count, 3);
    EXPECT_THROW(TNotifyEvent{stored}, EPropertyConvertError);

    // Closures have their own identity; unassigned events do nothing.
    int calls = 0;
    TNotifyEvent c1 = [&](TObject*) { ++calls; };
    TNotifyEvent c2 = c1;
    TNotifyEvent c3 = [&](TObject*) { ++calls; };
    EXPECT_EQ(c1, c2);
    EXPECT_FALSE(c1 == c3);
    c2(nullptr);
    EXPECT_EQ(calls, 1);
    TNotifyEvent none;
    EXPECT_FALSE(none);
    none(nullptr);
}

TEST(Events, PublishedMethodCalledByName) {
    TBigWidget w;
    CallMethod<void(TObject*)>(&w, "widgetclick", &w);
    EXPECT_EQ(w.log, "click;");
    int count = 0;
    CallMethod<void(TObject*, int&)>(&w, "CountUp", &w, count);
    EXPECT_EQ(count, 2);
    EXPECT_THROW(CallMethod<void(TObject*)>(&w, "Nothing", &w), EPropertyError);
    EXPECT_THROW(CallMethod<void(TObject*)>(&w, "CountUp", &w), EPropertyConvertError);
    auto found = FindMethod<void(TObject*)>(&w, "OtherClick"); // not published
    EXPECT_FALSE(found);
}

} // namespace
} // namespace qz
