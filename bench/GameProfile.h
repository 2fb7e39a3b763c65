#pragma once
// The stored profiles the game-program benchmarks start from: a player with money and a tank.
#include <string>

// Tank records: plants of mesh layers of columns x rows cells (the demo's weed is one layer of
// 2 x 6), and fish of the demo's kinds that swim alone, new to the tank (they drop in).
inline std::string BenchPlants(int plants, int layers, int columns, int rows) {
    std::string tank;
    for (int i = 0; i < plants; ++i) {
        const int x = 40 + (i * 97) % 700;
        const int y = 30 + (i * 53) % 150;
        tank += "<ExtendedWaterPlantControl canBeMirrored=\"true\" mirror=\"" + std::string(i % 2 ? "true" : "false") +
                "\"><position x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) +
                "\"/><shopItem tankItemId=\"Weed\"/><fog enabled=\"true\"/><ground groundLine=\"0\"/>"
                "<icon textureId=\"home_icon_weed\"/><layers>";
        for (int layer = 0; layer < layers; ++layer) {
            tank += "<mesh textureId=\"scenery_weed\" x=\"" + std::to_string(layer * 4) +
                    "\" y=\"0\" bottomStaticLine=\"10\" meshWidth=\"" + std::to_string(columns) + "\" meshHeight=\"" +
                    std::to_string(rows) + "\" maxShift=\"9.0\"/>";
        }
        tank += "</layers><disallowed centerX=\"12\" centerY=\"60\"/></ExtendedWaterPlantControl>";
    }
    return tank;
}

inline std::string BenchFish(int count) {
    const char* const kinds[][3] = {{"goldfish", "Goldfish", "acceleration=\"120.0\" accTime=\"1.0\" maxAngle=\"0.25\" "
                                                             "minPause=\"2.0\" maxPause=\"5.0\" minAction=\"8\" "
                                                             "minSpeed=\"45.0\" school=\"0.002\" race=\"0.5\" "
                                                             "curiosity=\"0.3\" study=\"true\""},
                                    {"angelfish", "Angelfish", "acceleration=\"80.0\" accTime=\"1.2\" maxAngle=\"0.2\" "
                                                               "minPause=\"3.0\" maxPause=\"6.0\" minAction=\"6\" "
                                                               "minSpeed=\"35.0\" school=\"0.003\" race=\"0.5\" "
                                                               "curiosity=\"0.4\" study=\"true\""}};
    std::string tank;
    for (int i = 0; i < count; ++i) {
        const auto& kind = kinds[i % 2];
        const std::string name = kind[0];
        tank += "<FishControl><position x=\"0\" y=\"0\"/><animations side=\"fish_" + name + "_side\" front=\"fish_" + name +
                "_front\" back=\"fish_" + name + "_back\" shadow=\"fish_shadow\"/><fishInfo templateId=\"" + kind[1] +
                "\" " + kind[2] + "/></FishControl>";
    }
    return tank;
}

// A player at level 1 with money and, for the aquarium and the shop, a tank.
inline std::string BenchProfile(const std::string& tank, int weeds) {
    return "<Storage><Globals><Variable name=\"isCursorCustom\" type=\"bool\" value=\"true\"/>"
           "<Variable name=\"isFullScreen\" type=\"bool\" value=\"false\"/>"
           "<Variable name=\"Music Volume\" type=\"float\" value=\"0.7\"/>"
           "<Variable name=\"Sound Volume\" type=\"float\" value=\"1.0\"/></Globals>"
           "<Player name=\"Bench\"><Variable name=\"LevelNumber\" type=\"int\" value=\"1\"/>"
           "<Variable name=\"Money\" type=\"int\" value=\"1000\"/>"
           "<Variable name=\"Show game field hints\" type=\"bool\" value=\"false\"/>"
           "<Variable name=\"Weed amount\" type=\"int\" value=\"" + std::to_string(weeds) + "\"/>"
           "<Variable name=\"1 Aquarium bottom\" type=\"xml\"><ZOrderControlState>" + tank +
           "</ZOrderControlState></Variable></Player><ActivePlayer name=\"Bench\"/></Storage>";
}
