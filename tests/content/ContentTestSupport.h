#pragma once
// Shared setup of the content tests: a recording render device, a scratch working folder, pictures.

#include <gtest/gtest.h>

#include <string>

#include "core/ObjectSmartPointer.h"
#include "core/XmlElement.h"
#include "platform/render/RecordingBackend.h"
#include "tests/support/TestSupport.h"

namespace content_test {

// A PNG of the size filled with one colour (0xRRGGBBAA).
void WritePng(const std::string& path, int width, int height, unsigned colour = 0xFF8040FFu);

// An element tree read from text.
ObjectSmartPointer<XmlElement> Parse(const std::string& text);
// The element written back as text, without line ends and tabs.
std::string Text(const ObjectWeakPointer<XmlElement>& element);

// Each test runs in a fresh working folder with the render device on the recording backend;
// afterwards the resource manager gives everything back.
class ContentTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Reads the file from the working folder.
    ObjectSmartPointer<XmlElement> LoadList(const std::string& text);

    std::string dir;  // the working folder, ending with '/'
    render_layer::RecordingDevice* recording = nullptr;

private:
    std::string _previousDir;
};

}  // namespace content_test
