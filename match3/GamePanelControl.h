#pragma once
// The side panel of the match-three screen: fixed items that each show one of the active
// player's values as text, or a picture while the value looks empty. The game field picks the
// items by the level's kind with the messages "Silver only" and "Both".

#include <string>
#include <vector>

#include "content/EffectCollection.h"
#include "controls/Control.h"
#include "core/MessageReceiver.h"
#include "shell/Texture.h"

class GamePanelControl : public MouseTransparentControl, public MessageReceiver {
public:
    enum class ValueType { None, Int, String };
    struct Item {
        std::string text;
        // The player's value shown, read every frame; a value the player lacks shows its default
        // (0 or empty) without being stored.
        std::string variable;
        ValueType type = ValueType::None;
        std::string font;
        Point position;
        int effectX = 0;
        int effectY = 0;
        UsingPointer<Texture> picture;
        bool shown = false;
    };

    // Child "items" with its "item" children ("x", "y", optional "effectX", "effectY", "variable"
    // with "type" int or string, "font" when there is a variable, optional "textureId"), and
    // within "items" the child "modes" ("silverOnly", "both": comma-separated item indices).
    GamePanelControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void Draw() override;
    void Update(float dt) override;
    void OnMessage(std::string message) override;

    const std::vector<Item>& GetItems() const { return _items; }

private:
    static std::string ReadValue(const Item& item);
    // Shows the items of a comma-separated index list.
    void ShowList(std::string list);

    std::vector<Item> _items;
    std::string _silverOnly;
    std::string _both;
    EffectCollection _effects;
};
