#pragma once
// The speech panel of the shop's guide: tips and special messages are put up from a template with
// the text wrapped into lines; SpecialMessageSettings shows one special message by key.

#include <string>
#include <vector>

class XmlElement;
template <class T>
class ObjectWeakPointer;

// The texts of a messages file: the tips of the fixed order and the special texts by key.
namespace TipMessages {
// The text of Special/key; false (reported) when the file or the key is missing.
bool GetSpecial(const std::string& fileName, const std::string& key, std::string& text);
}  // namespace TipMessages

// One panel build: the template is copied, the lines go in as text and the copy is instantiated
// by the panel receiver. isTip selects the tip form (text as its own template) over the special.
struct TipPanel {
    std::string templateName;
    std::string receiver;
    std::string parentText;
    std::vector<std::string> lines;
    bool isTip = true;
    int x = 0;
    int y = 0;
    float visibleTime = 0.0f;

    // The text font named by the template's children/StaticTextControl/div; empty when missing.
    static std::string GetTemplateFont(const std::string& templateName);
    // Registers "nemb-template" (and for a tip "nemb-template-text") and sends the instance
    // messages; false (reported) when the template is missing.
    bool Show() const;
};

class SpecialMessageSettings {
public:
    explicit SpecialMessageSettings(const ObjectWeakPointer<XmlElement>& xml);

    // Shows the special message of the key unless one is already on screen.
    void Show(const std::string& key, int yOffset) const;

    std::string messagesFileName;
    int textWidth = 0;
    int x = 0;
    int y = 0;
    float visibleTime = 0.0f;
};
