// Long-life storage: the same child across a rebuild, a new one after two updates, the child of a
// parent whose storage is gone; the singleton adapter's positions.

#include "controls/LongLifeStorageControl.h"
#include "tests/controls/FlowTestSupport.h"

using testing_support::LogCapture;

namespace flow_test {
namespace {

class LongLifeStorageTest : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        AddTemplate("kept", RecorderXml("kept", 5, 5, 10, 10));
        _storageTree = Build2("<LongLifeStorageControl>" + Pos(0, 0) + Receiver("storage") +
                              "<template name=\"kept\"/></LongLifeStorageControl>");
    }
    void TearDown() override {
        container = nullptr;
        _storageTree = nullptr;
        FlowTest::TearDown();
    }
    ObjectSmartPointer<ControlContainer> Build2(const std::string& root) {
        Build(root);
        ObjectSmartPointer<ControlContainer> built = container;
        container = nullptr;
        return built;
    }
    static std::string Parent() {
        return "<LongLifeParentControl>" + Pos(100, 0) + "<storage receiverName=\"storage\"/></LongLifeParentControl>";
    }
    ObjectWeakPointer<LongLifeStorageControl> Storage() {
        return _storageTree->GetRoot().Cast<LongLifeStorageControl>();
    }
    ObjectWeakPointer<Control> Child() { return Root<SingleChildControl>()->GetChild(); }
    int Count(const std::string& line) { return static_cast<int>(std::count(Trace().begin(), Trace().end(), line)); }

    ObjectSmartPointer<ControlContainer> _storageTree;
};

TEST_F(LongLifeStorageTest, ARebuiltScreenKeepsTheSameChildWithinTwoUpdates) {
    LogCapture log;
    Build(Parent());
    const ObjectWeakPointer<Control> first = Child();
    ASSERT_TRUE(first != NULL);
    EXPECT_EQ(first->GetAbsolutePos(), Point(105, 5));
    container = nullptr;
    EXPECT_EQ(Storage()->GetFramesToLive(), 2);
    _storageTree->Update(0.1f);
    Build(Parent());
    EXPECT_EQ(Child().AsObjectAddress(), first.AsObjectAddress());
    EXPECT_EQ(Count("kept made"), 1);
    EXPECT_EQ(Storage()->GetFramesToLive(), 0);

    container = nullptr;
    _storageTree->Update(0.1f);
    _storageTree->Update(0.1f);
    EXPECT_EQ(Count("kept gone"), 1);
    EXPECT_FALSE(Storage()->HasChild());
    Build(Parent());
    EXPECT_EQ(Count("kept made"), 2);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(LongLifeStorageTest, AChildWhoseStorageIsGoneDiesWithItsParent) {
    Build(Parent());
    _storageTree = nullptr;
    LogCapture log;
    container = nullptr;
    EXPECT_EQ(Count("kept gone"), 1) << testing::PrintToString(Trace());
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(LongLifeStorageTest, SingletonAdapterPlacesChildrenAsIfAtTheOrigin) {
    LogCapture log;
    Build(controls_test::ListXml("<SingletonAdapterControl>" + Pos(100, 50) + "<children>" +
                                     RecorderXml("inside", 10, 20, 30, 30) + "</children></SingletonAdapterControl>",
                                 200, 150));
    const ObjectWeakPointer<Control> adapter =
        container->GetRoot().Cast<FixedChildrenListControl>()->GetChildren()[0];
    const ObjectWeakPointer<Control> inside = adapter.Cast<FixedChildrenListControl>()->GetChildren()[0];
    EXPECT_EQ(inside->GetAbsolutePos(), Point(10, 20));
    Trace().clear();
    container->MouseMove(310, 220);
    EXPECT_EQ(Trace()[0], "inside move 10,20 --");
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

}  // namespace
}  // namespace flow_test
