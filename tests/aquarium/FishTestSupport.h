#pragma once
// Fish tests: fish pictures of known shape (a 64 x 32 frame whose left half is opaque), the
// clouds, shadow and bubble, empty effects of the names the fish starts, fish elements built from
// a table of attributes, and tanks holding them.

#include <map>
#include <string>
#include <vector>

#include "aquarium/FishControl.h"
#include "tests/aquarium/AquariumTestSupport.h"

namespace aquarium_test {

using Attributes = std::map<std::string, std::string>;

// A fish element of the kind: the test pictures, the motion values of an ordinary fish with the
// overrides of fishInfo attributes, and an optional state element.
std::string FishElementXml(const std::string& kind, const Attributes& info = {}, const std::string& state = "");
// A "state" element: swimming (stateId 1 unless given) at the position towards the destination.
std::string FishStateXml(const TrajectoryPoint& position, const TrajectoryPoint& dest, const TrajectoryPoint& old,
                         float angle = 0.0f, int stateId = FishStates::SWIM, const std::string& extra = "");
TrajectoryPoint At(float x, float y, int depth);

// The element as text, as the storage writes it.
std::string ElementText(const ObjectWeakPointer<XmlElement>& element);

class FishTest : public AquariumTest {
protected:
    static constexpr int FRAME_WIDTH = 64;
    static constexpr int FRAME_HEIGHT = 32;

    void SetUp() override;
    void TearDown() override;

    // A tank of the test screens in a dispatcher, with its default layout; wishes on unless gameMode.
    void BuildTank(const std::string& layout, bool gameMode = false, const std::string& attributes = "");
    // The tank's fish in child order.
    std::vector<ObjectWeakPointer<FishControl>> Fish();
    ObjectWeakPointer<FishControl> FirstFish();
    // Updates the tank n times by dt.
    void Run(int n, float dt);
};

}  // namespace aquarium_test
