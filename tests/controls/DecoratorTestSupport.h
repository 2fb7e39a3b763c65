#pragma once
// Decorator tests: the picture fixture with the decorator classes and the recording control
// registered, a button picture, a frame picture with a transparent middle and a half-opaque one,
// and small builders of control elements.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/FlowControlClasses.h"
#include "controls/DecoratorControlClasses.h"
#include "controls/FixedChildrenListControl.h"
#include "platform/render/PngFile.h"
#include "shell/SoundSystem.h"
#include "tests/controls/ControlTestSupport.h"
#include "tests/controls/PictureTestSupport.h"

namespace decorators_test {

inline std::string Position(int x, int y) {
    return "<position x='" + std::to_string(x) + "' y='" + std::to_string(y) + "'/>";
}

// A control element of the given kind with attributes, a position, extra children and children.
inline std::string Element(const std::string& kind, int x, int y, const std::string& children,
                           const std::string& attributes = "", const std::string& more = "") {
    return "<" + kind + (attributes.empty() ? "" : " " + attributes) + ">" + Position(x, y) + more + "<children>" +
           children + "</children></" + kind + ">";
}

inline std::string List(const std::string& children, int x = 0, int y = 0) {
    return Element("FixedChildrenListControl", x, y, children);
}

// A message button of the 40 x 20 picture "btn" sending message to "tester".
inline std::string Button(const std::string& message, int x, int y) {
    return "<MessageButtonControl>" + Position(x, y) +
           "<textures normalId='btn' activeId='btn' pressedId='btn'/><message value='" + message +
           "' receiver='tester'/></MessageButtonControl>";
}

inline std::string Recorder(const std::string& name, int x, int y, int w, int h) {
    return controls_test::RecorderXml(name, x, y, w, h);
}

class DecoratorTest : public pictures_test::PictureTest {
protected:
    void SetUp() override {
        PictureTest::SetUp();
        RegisterDecoratorControlClasses();
        RegisterFlowControlClasses();  // the demo screens listen for keys
        if (!ControlFactory::IsControlRegistered("Recorder")) {
            ControlFactory::RegisterControl("Recorder", ControlFactory::Make<controls_test::Recorder>());
        }
        controls_test::Trace().clear();
        static bool hasRisingSound = false;
        if (!hasRisingSound) {
            hasRisingSound = true;
            Sound::soundSystem.AddSample("button_up_moving", "button_up_moving.wav", 4);
        }
        WritePicture("btn.png", 40, 20, 40);
        WritePicture("half.png", 40, 20, 20);  // opaque on its left half
        WriteFrame("frame.png", 60, 40, 10);
        LoadResources(
            "<Textures upload='refcount' storage='memory-keeping'><texture id='btn' path='btn.png'/>"
            "<texture id='half' path='half.png'/><texture id='frame' path='frame.png'/></Textures>");
    }
    void TearDown() override {
        PictureTest::TearDown();
        controls_test::Trace().clear();
    }

    // A picture opaque within border of its edges and transparent in the middle.
    void WriteFrame(const std::string& file, int width, int height, int border) {
        render_layer::PngPicture picture;
        picture.width = static_cast<unsigned>(width);
        picture.height = static_cast<unsigned>(height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool edge = x < border || y < border || x >= width - border || y >= height - border;
                picture.pixels.push_back(edge ? 0xFF806040u : 0x00000000u);
            }
        }
        std::string error;
        ASSERT_TRUE(render_layer::WritePng(dir + file, picture, true, &error)) << error;
    }

    // What the recording control of that name saw, without its name, since the last call for it.
    std::vector<std::string> Seen(const std::string& name) {
        std::vector<std::string> seen;
        std::vector<std::string> others;
        for (const std::string& entry : controls_test::Trace()) {
            if (entry.compare(0, name.size() + 1, name + " ") != 0) {
                others.push_back(entry);
                continue;
            }
            const std::string what = entry.substr(name.size() + 1);
            if (what != "made" && what != "gone") seen.push_back(what);
        }
        controls_test::Trace() = others;
        return seen;
    }

    // What a recording control sees of Click(x, y) when it gets the click, or when the pointer is
    // hidden from it and the press taken.
    static std::vector<std::string> SeenClick(int x, int y, bool reached) {
        const std::string at = "move " + std::to_string(x) + "," + std::to_string(y);
        if (reached) {
            return {at + " --", at + " --", "down --", at + " C-", at + " C-", "up C-", "click", at + " --"};
        }
        return {at + " -H", at + " -H", "down C-", at + " -H", at + " -H", "up --", at + " -H"};
    }

    template <class T>
    ObjectWeakPointer<T> Root() {
        return ObjectWeakPointer<T>(container->GetRoot().Cast<T>());
    }
    template <class T>
    ObjectWeakPointer<T> Child(int index) {
        auto list = container->GetRoot().Cast<FixedChildrenListControl>();
        return ObjectWeakPointer<T>(list->GetChildren()[static_cast<std::size_t>(index)].template Cast<T>());
    }

    // How many samples were played since the last call (the raising picture's rising sound).
    static int RisingSounds() {
        const int n = static_cast<int>(pictures_test::Audio().CallsOf("BASS_SamplePlayEx").size());
        pictures_test::Audio().ClearCalls();
        return n;
    }

    pictures_test::Listener tester{"tester"};
};

}  // namespace decorators_test
