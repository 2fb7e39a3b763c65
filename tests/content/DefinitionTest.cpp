// The definition base.
#include <gtest/gtest.h>

#include "content/Definition.h"
#include "tests/core/CheckReports.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(DefinitionTest, EmptyElementIsReported) {
    testing_support::LogCapture capture;
    ObjectSmartPointer<XmlElement> element(new XmlElement("Thing"));
    { ObjectSmartPointer<Definition> fine(new Definition(element)); }
    EXPECT_EQ(0, capture.ErrorCount());
    { ObjectSmartPointer<Definition> broken(new Definition(ObjectWeakPointer<XmlElement>())); }
    EXPECT_TRUE(check_reports::Reported(capture, "xe != NULL"));
}

}  // namespace
