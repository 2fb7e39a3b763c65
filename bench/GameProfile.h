#pragma once
// The stored profile the game-program benchmarks start from.
#include <string>

// A player at level 1 with money and, for the shop, a tank of plants on the floor.
inline std::string BenchProfile(int plants) {
    std::string tank;
    for (int i = 0; i < plants; ++i) {
        const int x = 40 + (i * 97) % 700;
        const int y = 30 + (i * 53) % 150;
        tank += "<ExtendedWaterPlantControl canBeMirrored=\"true\" mirror=\"" + std::string(i % 2 ? "true" : "false") +
                "\"><position x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) +
                "\"/><shopItem tankItemId=\"Weed\"/><fog enabled=\"true\"/><ground groundLine=\"0\"/>"
                "<icon textureId=\"home_icon_weed\"/><layers><mesh textureId=\"scenery_weed\" x=\"0\" y=\"0\" "
                "bottomStaticLine=\"10\" meshWidth=\"2\" meshHeight=\"6\" maxShift=\"9.0\"/></layers>"
                "<disallowed centerX=\"12\" centerY=\"60\"/></ExtendedWaterPlantControl>";
    }
    return "<Storage><Globals><Variable name=\"isCursorCustom\" type=\"bool\" value=\"true\"/>"
           "<Variable name=\"isFullScreen\" type=\"bool\" value=\"false\"/>"
           "<Variable name=\"Music Volume\" type=\"float\" value=\"0.7\"/>"
           "<Variable name=\"Sound Volume\" type=\"float\" value=\"1.0\"/></Globals>"
           "<Player name=\"Bench\"><Variable name=\"LevelNumber\" type=\"int\" value=\"1\"/>"
           "<Variable name=\"Money\" type=\"int\" value=\"1000\"/>"
           "<Variable name=\"Show game field hints\" type=\"bool\" value=\"false\"/>"
           "<Variable name=\"Weed amount\" type=\"int\" value=\"" + std::to_string(plants) + "\"/>"
           "<Variable name=\"1 Aquarium bottom\" type=\"xml\"><ZOrderControlState>" + tank +
           "</ZOrderControlState></Variable></Player><ActivePlayer name=\"Bench\"/></Storage>";
}
