#include "tests/content/ContentTestSupport.h"

#include <png.h>
#include <unistd.h>

#include <vector>

#include "content/ResourceManager.h"
#include "core/XmlOutText.h"
#include "core/XmlRead.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"
#include "tests/shell/RecordingDeviceFixture.h"

namespace content_test {

void WritePng(const std::string& path, int width, int height, unsigned colour) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f) << path;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<std::size_t>(width) * 4);
    for (int x = 0; x < width; ++x) {
        row[x * 4 + 0] = static_cast<png_byte>(colour >> 24);
        row[x * 4 + 1] = static_cast<png_byte>(colour >> 16);
        row[x * 4 + 2] = static_cast<png_byte>(colour >> 8);
        row[x * 4 + 3] = static_cast<png_byte>(colour);
    }
    for (int y = 0; y < height; ++y) png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
}

ObjectSmartPointer<XmlElement> Parse(const std::string& text) {
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
    ObjectWeakPointer<XmlElement> root = document->GetRoot();
    if (root == NULL) return ObjectSmartPointer<XmlElement>();
    ObjectSmartPointer<XmlElement> copy(new XmlElement(root));
    return copy;
}

std::string Text(const ObjectWeakPointer<XmlElement>& element) {
    static const std::string path = testing_support::MakeTempDir("text") + "element.xml";
    {
        ObjectSmartPointer<XmlOutText> out(new XmlOutText(path));
        element->Write(out);
    }
    std::string text = testing_support::ReadFile(path);
    std::string result;
    for (char c : text) {
        if (c != '\r' && c != '\n' && c != '\t') result += c;
    }
    return result;
}

void ContentTest::SetUp() {
    dir = testing_support::EnterTempDir("content", &_previousDir);
    ASSERT_FALSE(dir.empty());
    recording = StartRecordingDevice();
}

void ContentTest::TearDown() {
    ResourceManager::ReleaseAll();
    Render::fonts.ReleaseAll();
    Render::device.Release();
    ASSERT_EQ(0, chdir(_previousDir.c_str()));
}

ObjectSmartPointer<XmlElement> ContentTest::LoadList(const std::string& text) {
    ObjectSmartPointer<XmlElement> root = Parse(text);
    ResourceManager::LoadResources(root);
    return root;
}

}  // namespace content_test
