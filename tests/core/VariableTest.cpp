#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/Variable.h"
#include "tests/support/TestSupport.h"

TEST(SimpleVariable, ChangedUntilReadAndAgainAfterADifferentWrite) {
    ObjectSmartPointer<Variable<int>> v(new SimpleVariable<int>(5));
    EXPECT_TRUE(v->IsChanged());
    EXPECT_EQ(v->GetValue(), 5);
    EXPECT_FALSE(v->IsChanged());
    v->SetValue(5);
    EXPECT_FALSE(v->IsChanged());
    v->SetValue(6);
    EXPECT_TRUE(v->IsChanged());
    v->SetValue(6);
    EXPECT_TRUE(v->IsChanged());
    EXPECT_EQ(v->GetValue(), 6);
    EXPECT_FALSE(v->IsChanged());
}

TEST(SimpleVariable, OneFlagForAllHolders) {
    ObjectSmartPointer<SimpleVariable<bool>> v(new SimpleVariable<bool>(false));
    ObjectSmartPointer<ReadVariable<bool>> first = v;
    ObjectSmartPointer<ReadVariable<bool>> second = v;
    v->SetValue(true);
    ASSERT_TRUE(first->IsChanged());
    EXPECT_TRUE(first->GetValue());
    EXPECT_FALSE(second->IsChanged());
}

TEST(SimpleVariable, FloatEqualityIsIeee) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    ObjectSmartPointer<SimpleVariable<float>> v(new SimpleVariable<float>(0.0f));
    v->GetValue();
    v->SetValue(-0.0f);  // equal to +0: nothing changes
    EXPECT_FALSE(v->IsChanged());
    EXPECT_FALSE(std::signbit(v->GetValue()));
    v->SetValue(nan);
    EXPECT_TRUE(v->IsChanged());
    EXPECT_TRUE(std::isnan(v->GetValue()));
    v->SetValue(nan);  // a NaN never equals anything
    EXPECT_TRUE(v->IsChanged());
}

TEST(SimpleVariable, TextComparesBytes) {
    ObjectSmartPointer<SimpleVariable<std::string>> v(new SimpleVariable<std::string>(""));
    v->GetValue();
    v->SetValue("");
    EXPECT_FALSE(v->IsChanged());
    v->SetValue("A");
    v->GetValue();
    v->SetValue("a");
    EXPECT_TRUE(v->IsChanged());
    EXPECT_EQ(v->GetValue(), "a");
}

TEST(IntImageVariable, ShowsAndParsesTheIntVariable) {
    ObjectSmartPointer<SimpleVariable<int>> number(new SimpleVariable<int>(-42));
    ObjectSmartPointer<Variable<std::string>> image(new IntImageVariable(number));
    EXPECT_TRUE(image->IsChanged());
    EXPECT_EQ(image->GetValue(), "-42");
    EXPECT_FALSE(number->IsChanged());
    image->SetValue("17");
    EXPECT_TRUE(number->IsChanged());
    EXPECT_TRUE(image->IsChanged());
    EXPECT_EQ(number->GetValue(), 17);
}

TEST(IntImageVariable, MalformedTextIsReportedAndWrittenAsParsed) {
    ObjectSmartPointer<SimpleVariable<int>> number(new SimpleVariable<int>(1));
    ObjectSmartPointer<IntImageVariable> image(new IntImageVariable(number));
    testing_support::LogCapture log;
    image->SetValue("007");
    EXPECT_TRUE(log.Contains("image == ToString(value)"));
    EXPECT_EQ(number->GetValue(), 0);  // a leading zero ends the number
}
