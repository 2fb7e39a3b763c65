#pragma once
// What a tank may build from a stored record: the item classes a record may name, the sizes a real
// tank never reaches, and the check of one item's record before it is built. A record that fails
// is set aside in the player's values beside the tank's own, never built and never dropped.

#include <cstddef>
#include <functional>
#include <string>

#include "core/ObjectSmartPointer.h"

class XmlElement;

namespace TankLimits {
// Together these keep a frame of the fullest tank within twice that of 50 fish alone.
// Swimming fish in one tank, the members of a school included.
constexpr int MAX_FISH = 60;
// Floor items (plants) in one tank.
constexpr int MAX_FLOOR_ITEMS = 30;
// Picture layers of one plant (the demo's richest has 5).
constexpr int MAX_PLANT_LAYERS = 8;
// Cells (columns x rows) of one plant layer's swaying mesh (the demo's finest has 12).
constexpr int MAX_MESH_CELLS = 16;
// Pictures drawn for one plant: a mesh layer's cells, one for any other layer (the demo's richest
// plant draws 12).
constexpr int MAX_PLANT_CELLS = 24;
// Bubble columns of one bubble background.
constexpr int MAX_BUBBLE_EMITTERS = 32;
// Bytes of one attribute value of a record (ids and names are a few dozen).
constexpr std::size_t MAX_TEXT = 256;
// Magnitude of a number in a record: positions, times and speeds of a tank stay far below it.
constexpr double MAX_NUMBER = 100000.0;
// Elements in one item's record, its own included, and their nesting below it.
constexpr int MAX_RECORD_ELEMENTS = 32;
constexpr int MAX_RECORD_DEPTH = 3;
}  // namespace TankLimits

class TankItemRecords {
public:
    // The class's own check of a record whose form passed: empty when its values are in range,
    // else what is wrong, in a few words. A stored record is checked as a saved one; the others
    // are templates of goods, which may hold what only a new item has.
    using Checker = std::function<std::string(const ObjectWeakPointer<XmlElement>& record, bool isStored)>;

    // A class whose element a tank record may hold; floor items count against MAX_FLOOR_ITEMS,
    // the others are fish. A name is registered once; later calls change nothing.
    static void Register(const std::string& elementName, bool isFloorItem, Checker checker = nullptr);
    static bool IsRegistered(const std::string& elementName);
    static bool IsFloorItem(const std::string& elementName);

    // Empty when the record may be built: its element names a registered class, it keeps within the
    // size limits, every number in it is finite and in range, and its class's check passes. Else
    // what is wrong. Marks nothing read.
    static std::string Check(const ObjectWeakPointer<XmlElement>& record, bool isStored = true);

    // The element's name as a report shows it, cut short.
    static std::string ShownName(const XmlElement& element);
};

// Reads a value of a record's attribute as a number the way the storage writes it ("1.5", "-3",
// "1.500000e+000/0x3FC00000"); false when the text is no number. Finite or not, as written.
bool ReadRecordNumber(const std::string& text, double& value);

// Reads for the classes' checks, marking nothing read: the attribute's text (false when missing),
// its number (false when missing or no number), and the first child element of that name.
bool RecordText(const XmlElement& element, const std::string& name, std::string& text);
bool RecordNumber(const XmlElement& element, const std::string& name, double& value);
XmlElement* RecordChild(const XmlElement& element, const std::string& name);

// The pictures a plant layer element draws: a mesh its cells as written (1 when they are no
// numbers), any other layer 1.
int PlantLayerCells(const XmlElement& layer);

// The problem of a number of a record that must lie in [low, high] ("is missing" or "is out of
// range"), or empty.
std::string CheckRecordRange(const XmlElement& element, const std::string& name, double low, double high);
// The problem of a timer element of a record (flareLife above 0, pauses not negative, the time
// before the first flare not negative), or empty.
std::string CheckRecordTimer(const XmlElement& timer);
