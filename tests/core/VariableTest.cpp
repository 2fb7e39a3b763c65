#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/Variable.h"

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
