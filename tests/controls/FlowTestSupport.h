#pragma once
// Screen-flow control tests: the picture test setting (recording device, fake audio, a real
// container) with the flow controls and the recording controls registered, templates added from
// text and removed again, and a receiver that records what it is sent.

#include <string>
#include <vector>

#include "content/TemplateLib.h"
#include "controls/ControlFactory.h"
#include "controls/FixedChildrenListControl.h"
#include "controls/SingleChildControl.h"
#include "controls/FlowApplicationHooks.h"
#include "controls/FlowControlClasses.h"
#include "core/XmlDocument.h"
#include "core/XmlRead.h"
#include "shell/SoundSystem.h"
#include "tests/controls/ControlTestSupport.h"
#include "tests/controls/PictureTestSupport.h"

namespace flow_test {

using controls_test::RecorderXml;
using controls_test::Trace;
using pictures_test::Listener;

// The messages that recording receivers got, in order ("name < text").
inline std::vector<std::string> Messages() {
    std::vector<std::string> messages;
    for (const std::string& line : Trace()) {
        if (line.find(" < ") != std::string::npos) messages.push_back(line);
    }
    return messages;
}

inline std::string Pos(int x, int y) {
    return "<position x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\"/>";
}

inline std::string Receiver(const std::string& name) { return "<messageReceiver name=\"" + name + "\"/>"; }

class FlowTest : public pictures_test::PictureTest {
protected:
    void SetUp() override {
        PictureTest::SetUp();
        RegisterFlowControlClasses();
        if (!ControlFactory::IsControlRegistered("Recorder")) {
            ControlFactory::RegisterControl("Recorder", ControlFactory::Make<controls_test::Recorder>());
        }
        static bool samples = false;
        if (!samples) {
            samples = true;
            Sound::soundSystem.AddSample("panel_moving", "panel_moving.wav", 4);
        }
        pictures_test::Audio().ClearCalls();
        Trace().clear();
    }

    void TearDown() override {
        container = nullptr;
        ProcessPostedMessages();
        for (const std::string& name : _templates) TemplateLib::RemoveTemplate(name);
        GetFlowApplicationHooks() = FlowApplicationHooks();
        Trace().clear();
        PictureTest::TearDown();
    }

    // Registers the root element of the text under the name.
    void AddTemplate(const std::string& name, const std::string& text) {
        ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
        ObjectSmartPointer<XmlElement> element(new XmlElement(document->GetRoot()));
        TemplateLib::AddTemplate(element, name);
        _templates.push_back(name);
    }

    // The root control of the container, as the class.
    template <class T>
    ObjectWeakPointer<T> Root() {
        return container->GetRoot().Cast<T>();
    }

    // Samples played since the last call.
    static std::size_t SamplesPlayed() {
        const std::size_t n = pictures_test::Audio().CallsOf("BASS_SamplePlayEx").size();
        pictures_test::Audio().ClearCalls();
        return n;
    }

    // Whole-screen black veils among the draws since the device's draws were last cleared.
    std::vector<int> VeilAlphas() {
        std::vector<int> alphas;
        for (const render_layer::RecordedDraw& draw : recording->draws) {
            if (draw.world.size() < 4 || draw.texture != nullptr) continue;
            if ((draw.world[0].color & 0x00FFFFFFu) != 0) continue;
            alphas.push_back(static_cast<int>(draw.world[0].color >> 24));
        }
        return alphas;
    }

private:
    std::vector<std::string> _templates;
};

}  // namespace flow_test
