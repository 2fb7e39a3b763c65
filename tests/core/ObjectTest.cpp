#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/Object.h"
#include "core/ObjectSmartPointer.h"
#include "core/Pool.h"
#include "tests/support/TestSupport.h"

using testing_support::LogCapture;

namespace {

struct Probe : public Interface {
    int setByConstructor;
    int unset;  // deliberately without an initialiser: the allocator's zero fill must show
    Probe() : setByConstructor(5) {}
};

struct Counted : public Interface {
    explicit Counted(int* destroyed) : _destroyed(destroyed) {}
    ~Counted() override { ++*_destroyed; }
    int* _destroyed = nullptr;
};

}  // namespace

TEST(Pool, SmallSizesComeFromTheirListInChunksOf64) {
    const std::size_t size = 40;
    std::vector<void*> blocks;
    for (int i = 0; i < 65; ++i) blocks.push_back(Pool::Allocate(size));
    // Within a chunk the highest address is handed out first.
    EXPECT_GT(blocks[0], blocks[1]);
    for (void* b : blocks) Pool::Release(b, size);
    // Last in, first out.
    EXPECT_EQ(Pool::Allocate(size), blocks.back());
    Pool::Release(blocks.back(), size);
}

TEST(Pool, BoundarySizes) {
    void* small = Pool::Allocate(1023);
    Pool::Release(small, 1023);
    EXPECT_EQ(Pool::Heads()[1023], small);
    EXPECT_EQ(Pool::Allocate(1023), small);
    Pool::Release(small, 1023);
    void* big = Pool::Allocate(1024);
    const unsigned char* bytes = static_cast<const unsigned char*>(big);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(bytes[1023], 0);
    Pool::Release(big, 1024);
}

TEST(Pool, ReleasedBlockIsFilledThenReusedZeroed) {
    const std::size_t size = 48;
    unsigned char* block = static_cast<unsigned char*>(Pool::Allocate(size));
    std::memset(block, 0x11, size);
    Pool::Release(block, size);
    EXPECT_EQ(block[size - 1], 0xFE);  // past the free-list link
    unsigned char* again = static_cast<unsigned char*>(Pool::Allocate(size));
    ASSERT_EQ(again, block);
    for (std::size_t i = 0; i < size; ++i) ASSERT_EQ(again[i], 0) << i;
    Pool::Release(again, size);
}

TEST(Pool, TooSmallRequestIsReported) {
    LogCapture capture;
    void* block = Pool::Allocate(2);
    EXPECT_TRUE(capture.Contains("size >= sizeof(void*)"));
    Pool::Release(block, sizeof(void*));
}

// Runs in the optimised build: an unset member of a reused block reads 0.
TEST(Pool, ObjectOnReusedBlockHasZeroedMembers) {
    Probe* first = new Probe;
    first->unset = 77;
    {
        ObjectSmartPointer<Probe> owner(first);
    }
    ObjectSmartPointer<Probe> second(new Probe);
    EXPECT_EQ(second->setByConstructor, 5);
    EXPECT_EQ(second->unset, 0);
}

TEST(ObjectRing, ObjectsAppearInCreationOrder) {
    ObjectSmartPointer<Probe> a(new Probe), b(new Probe), c(new Probe);
    const Object* pa = a.Get();
    const Object* pb = b.Get();
    const Object* pc = c.Get();
    EXPECT_EQ(Root().PrevObject(), pc);
    EXPECT_EQ(pc->PrevObject(), pb);
    EXPECT_EQ(pb->PrevObject(), pa);
    EXPECT_EQ(pa->NextObject(), pb);
    EXPECT_EQ(pc->NextObject(), &Root());
}

TEST(ObjectRing, LeakCheckReportsLiveObjectAndIsQuietWhenEmpty) {
    {
        LogCapture capture;
        Object::CheckAllDestroyed();
        EXPECT_EQ(capture.ErrorCount(), 0);
    }
    LogCapture capture;
    ObjectSmartPointer<Probe> leaked(new Probe);
    Object::CheckAllDestroyed();
    EXPECT_EQ(capture.ErrorCount(), 2);
    EXPECT_TRUE(capture.Contains("Root()._nextObject == &Root()"));
    EXPECT_TRUE(capture.Contains("Root()._prevObject == &Root()"));
}

TEST(ObjectRing, RootIsItsOwnNeighbourWhenEmpty) {
    EXPECT_EQ(Root().NextObject(), &Root());
    EXPECT_EQ(Root().PrevObject(), &Root());
}

TEST(SmartPointer, CountsFollowCopiesAndLastReleaseDeletes) {
    int destroyed = 0;
    auto* p1 = new ObjectSmartPointer<Counted>(new Counted(&destroyed));
    LinkInfo* info = p1->GetLinkInfo();
    auto* p2 = new ObjectSmartPointer<Counted>(*p1);
    auto* p3 = new ObjectSmartPointer<Counted>(*p2);
    EXPECT_EQ(info->_hardLinkCount, 3);
    delete p1;
    EXPECT_EQ(info->_hardLinkCount, 2);
    delete p2;
    EXPECT_EQ(info->_hardLinkCount, 1);
    EXPECT_EQ(destroyed, 0);
    delete p3;
    EXPECT_EQ(destroyed, 1);
}

TEST(SmartPointer, WeakPointerOutlivesObject) {
    LogCapture capture;
    int destroyed = 0;
    ObjectWeakPointer<Counted> weak;
    LinkInfo* info = nullptr;
    {
        ObjectSmartPointer<Counted> hard(new Counted(&destroyed));
        weak = hard;
        info = weak.GetLinkInfo();
        EXPECT_EQ(info->_hardLinkCount, 1);
        EXPECT_EQ(info->_weakLinkCount, 1);
    }
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(info->_hardLinkCount, -1);
    EXPECT_EQ(info->_weakLinkCount, 1);
    EXPECT_TRUE(weak != NULL);
    EXPECT_EQ(capture.ErrorCount(), 0);

    // A dead object is never reached: access is reported and refused, casts give empty pointers.
    EXPECT_THROW(weak->_destroyed, AssertionFailedException);
    EXPECT_TRUE(weak.Cast<Probe>() == NULL);
    EXPECT_FALSE(weak.InstanceOf<Counted>());
    EXPECT_TRUE(capture.Contains("_info->_hardLinkCount >= 0"));
    ObjectWeakPointer<Counted> copy = weak;
    EXPECT_EQ(info->_weakLinkCount, 2);
    weak = nullptr;
    copy = nullptr;  // the last weak release frees the record (checked by ASan in the no-pool build)
}

TEST(SmartPointer, EmptyAccessReportsAndDoesNotCrash) {
    LogCapture capture;
    ObjectSmartPointer<Counted> empty;
    EXPECT_THROW(empty->_destroyed, AssertionFailedException);
    EXPECT_TRUE(capture.Contains("_object != NULL"));
    EXPECT_TRUE(empty.InstanceOf<Probe>());
    EXPECT_TRUE(empty.Cast<Probe>() == NULL);
    EXPECT_EQ(capture.ErrorCount(), 1);
}

TEST(SmartPointer, SecondAdoptionIsReported) {
    LogCapture capture;
    int destroyed = 0;
    Counted* raw = new Counted(&destroyed);
    ObjectSmartPointer<Counted> first(raw);
    {
        ObjectSmartPointer<Counted> second(raw);
        EXPECT_TRUE(capture.Contains("_info->_hardLinkCount == 0"));
    }
    EXPECT_EQ(destroyed, 0);
}

TEST(SmartPointer, AssignmentKeepsOrMovesCounts) {
    int destroyedA = 0, destroyedB = 0;
    ObjectSmartPointer<Counted> a(new Counted(&destroyedA));
    ObjectSmartPointer<Counted> a2 = a;
    a = a2;  // same object: no change
    EXPECT_EQ(a.GetLinkInfo()->_hardLinkCount, 2);
    ObjectSmartPointer<Counted> b(new Counted(&destroyedB));
    b = ObjectSmartPointer<Counted>();
    EXPECT_EQ(destroyedB, 1);
    a = nullptr;
    a2 = nullptr;
    EXPECT_EQ(destroyedA, 1);
}

TEST(SmartPointer, AssigningFromObjectOwnedByOldTargetIsSafe) {
    struct Holder : public Interface {
        ObjectSmartPointer<Holder> _child;
    };
    ObjectSmartPointer<Holder> parent(new Holder);
    parent->_child = ObjectSmartPointer<Holder>(new Holder);
    parent = parent->_child;  // the old target owns the new one
    EXPECT_TRUE(parent != NULL);
    EXPECT_EQ(parent.GetLinkInfo()->_hardLinkCount, 1);
}

TEST(SmartPointer, CastsAndTypeTests) {
    LogCapture capture;
    int destroyed = 0;
    ObjectSmartPointer<Interface> base(new Counted(&destroyed));
    ObjectSmartPointer<Interface> base2 = base;
    ObjectSmartPointer<Counted> derived = base.Cast<Counted>();
    EXPECT_EQ(derived.GetLinkInfo()->_hardLinkCount, 3);
    EXPECT_TRUE(base.InstanceOf<Counted>());
    EXPECT_FALSE(base.InstanceOf<Probe>());
    EXPECT_TRUE(base.Cast<Probe>() == NULL);
    EXPECT_TRUE(capture.Contains("object != NULL"));
    ObjectWeakPointer<Interface> weak = base;
    ObjectWeakPointer<Counted> weakDerived = weak.Cast<Counted>();
    EXPECT_EQ(weak.GetLinkInfo()->_weakLinkCount, 2);
    EXPECT_EQ(weakDerived.Get(), derived.Get());
}

TEST(SmartPointer, OnlyNullComparisonsAndAddressOrder) {
    LogCapture capture;
    ObjectSmartPointer<Probe> a(new Probe);
    Probe other;
    EXPECT_FALSE(a == &other);  // compared against NULL after the report
    EXPECT_TRUE(capture.Contains("second == NULL"));
    ObjectSmartPointer<Probe> empty;
    EXPECT_TRUE(empty < a);
    EXPECT_FALSE(a < empty);
}

namespace {
struct Used : public Interface {
    void AddReference() { ++_uses; }
    void RemoveReference() { --_uses; }
    int _uses = 0;
};
}  // namespace

TEST(UsingPointerTest, CountsUses) {
    ObjectSmartPointer<Used> a(new Used), b(new Used);
    {
        UsingPointer<Used> use(ObjectWeakPointer<Used>(a.Get()));
        EXPECT_EQ(a->_uses, 1);
        UsingPointer<Used> same(ObjectWeakPointer<Used>(a.Get()));
        EXPECT_EQ(a->_uses, 2);
        use = same;
        EXPECT_EQ(a->_uses, 2);
        UsingPointer<Used> other(ObjectWeakPointer<Used>(b.Get()));
        use = other;
        EXPECT_EQ(a->_uses, 1);
        EXPECT_EQ(b->_uses, 2);
        EXPECT_TRUE(use != NULL);
        EXPECT_EQ(use->_uses, 2);
    }
    EXPECT_EQ(a->_uses, 0);
    EXPECT_EQ(b->_uses, 0);
}
