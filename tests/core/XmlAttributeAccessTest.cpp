#include <gtest/gtest.h>

#include <cstring>

#include "core/MousePosRememberer.h"
#include "core/XmlDocument.h"
#include "tests/core/XmlTestSupport.h"

using testing_support::LogCapture;
using namespace xml_test;

namespace {

std::string AttributeNames(const ObjectWeakPointer<XmlElement>& e) {
    std::string names;
    for (XmlAttribute* a = e->FirstAttributeRaw(); !a->IsBarrier(); a = a->NextRaw()) names += a->NameRef() + ",";
    return names;
}

std::uint32_t Bits(float f) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof(bits));
    return bits;
}

}  // namespace

TEST(XmlAttributeAccess, SettersReplaceInPlaceOrAppend) {
    LogCapture log;
    ObjectSmartPointer<XmlElement> e = Element("e");
    e->SetStringAttribute("a", "1");
    e->SetIntAttribute("b", -2147483647 - 1);
    e->SetBoolAttribute("c", true);
    e->SetStringAttribute("a", "x");
    EXPECT_EQ(AttributeNames(e), "a,b,c,");
    EXPECT_EQ(e->GetStringAttribute("a"), "x");
    EXPECT_EQ(e->GetIntAttribute("b"), -2147483647 - 1);
    EXPECT_TRUE(e->GetBoolAttribute("c"));
    EXPECT_EQ(e->GetTypedAttribute<std::string>("b"), "-2147483648");
    EXPECT_EQ(e->GetTypedAttribute<int>("b"), -2147483647 - 1);
    EXPECT_TRUE(e->GetTypedAttribute<bool>("c"));

    ObjectWeakPointer<XmlAttribute> replaced = e->ReplaceAttribute("b", "7");
    EXPECT_EQ(replaced->GetValue(), "7");
    EXPECT_EQ(AttributeNames(e), "a,b,c,");
    ObjectSmartPointer<XmlAttribute> removed = e->RemoveAttribute("a");
    EXPECT_EQ(removed->GetValue(), "x");
    EXPECT_EQ(AttributeNames(e), "b,c,");
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST(XmlAttributeAccess, FloatsComeBackBitForBit) {
    LogCapture log;
    ObjectSmartPointer<XmlElement> e = Element("e");
    for (float f : {1.0f, 0.1f, -3.5e-30f, 3.4028235e38f, 1e-45f, -0.0f}) {
        e->SetFloatAttribute("f", f);
        EXPECT_EQ(Bits(e->GetFloatAttribute("f")), Bits(f)) << e->GetStringAttribute("f");
    }
    e->SetFloatAttribute("g", 1.0f);
    EXPECT_EQ(e->GetStringAttribute("g"), "1.000000e+000/0x3F800000");
    e->SetStringAttribute("d", "0.25");
    EXPECT_EQ(e->GetFloatAttributeOrDef("d", 9.0f), 0.25f);
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST(XmlAttributeAccess, DefaultsMarkNothingAndPresentValuesAreMarkedEvenWhenMalformed) {
    ObjectSmartPointer<XmlDocument> d = ReadText("<e n='007' b='True' s='v' f='1'/>");
    ObjectWeakPointer<XmlElement> e = d->GetRoot();
    LogCapture log;
    EXPECT_EQ(e->GetIntAttributeOrDef("missing", 5), 5);
    EXPECT_EQ(e->GetStringAttributeOrDef("missing", "d"), "d");
    EXPECT_FALSE(e->GetBoolAttributeOrDef("missing", false));
    EXPECT_EQ(e->GetFloatAttributeOrDef("missing", 2.5f), 2.5f);
    EXPECT_EQ(log.ErrorCount(), 0);
    EXPECT_FALSE(e->IsVisitedTree());

    e->GetIntAttributeOrDef("n", 5);
    EXPECT_TRUE(log.Contains("image == ToString(value)"));
    EXPECT_FALSE(e->GetBoolAttributeOrDef("b", true));
    EXPECT_EQ(e->GetStringAttributeOrDef("s", "d"), "v");
    e->GetFloatAttributeOrDef("f", 0.0f);
    EXPECT_EQ(log.ErrorCount(), 3);
    EXPECT_TRUE(e->IsVisitedTree());
}

TEST(XmlAttributeAccess, MissingNeededAttributeFailsThePointerCheck) {
    ObjectSmartPointer<XmlElement> e = Element("e");
    {
        LogCapture log;
        EXPECT_EQ(e->GetIntAttribute("x"), 0);
        EXPECT_EQ(e->GetStringAttribute("x"), "");
        EXPECT_FALSE(e->GetBoolAttribute("x"));
        EXPECT_EQ(e->GetFloatAttribute("x"), 0.0f);
        EXPECT_TRUE(e->ReplaceAttribute("x", "1") == NULL);
        EXPECT_TRUE(e->RemoveAttribute("x") == NULL);
        EXPECT_EQ(log.ErrorCount(), 1);  // the one check fails six times: written once
        EXPECT_TRUE(log.Contains("_object != NULL"));
    }
    AssertThrowGuard guard;
    EXPECT_THROW(e->GetColorAttribute("x"), AssertionFailedException);
}

TEST(XmlAttributeAccess, RectColourMouseAndRootConstants) {
    LogCapture log;
    ObjectSmartPointer<XmlDocument> d =
        ReadText("<e x='1' y='-2' width='30' height='40' c='#FF000080' k='0.5' i='3' extra='1'/>");
    ObjectWeakPointer<XmlElement> e = d->GetRoot();
    const Rect r = e->GetRect();
    EXPECT_EQ(r.x, 1);
    EXPECT_EQ(r.y, -2);
    EXPECT_EQ(r.width, 30);
    EXPECT_EQ(r.height, 40);
    const Color c = e->GetColorAttribute("c");
    EXPECT_EQ(c.GetWord(), 0x80FF0000u);
    ObjectSmartPointer<MousePosRememberer> mouse(new MousePosRememberer);
    LoadMousePos(*mouse, e);
    EXPECT_EQ(mouse->GetMousePos(), Point(1, -2));
    EXPECT_EQ(GetRootFloatAttributeOrDef(d, "k", 0.0f), 0.5f);
    EXPECT_EQ(GetRootIntAttributeOrDef(d, "i", 0), 3);
    EXPECT_EQ(GetRootIntAttributeOrDef(d, "none", 8), 8);
    EXPECT_FALSE(e->IsVisitedTree());  // "extra" was never asked for
    e->GetAttribute("extra");
    EXPECT_TRUE(e->IsVisitedTree());
    EXPECT_EQ(log.ErrorCount(), 0);
}
