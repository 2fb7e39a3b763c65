// libFuzzer target of the XML reader (built by tools/fuzz-xml.sh with clang).
// Every input must end: without an assert-throw scope the reader stops at the first rejected byte;
// under one it throws. What reads without a failure is written back, and the written text must
// read again and come out the same.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/DataFolder.h"
#include "core/XmlDocument.h"
#include "core/XmlOutText.h"
#include "core/XmlRead.h"

namespace {

std::string ReadBack(const std::string& path) {
    std::string bytes;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof(buffer), f)) > 0) bytes.append(buffer, got);
        std::fclose(f);
    }
    return bytes;
}

// Reads under an assert-throw scope and writes the document; false when reading failed.
bool ReadAndWrite(const std::string& text, const std::string& path, std::string& written) {
    try {
        AssertThrowGuard guard;
        ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
        document->GetRoot()->MarkVisitedTree();
        {
            ObjectSmartPointer<XmlOutText> out(new XmlOutText(path));
            document->Write(out);
        }
    } catch (const AssertionFailedException&) {
        return false;
    }
    written = ReadBack(path);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Nowhere to log: the failed checks of rejected inputs would fill the disk.
    dataFolder = "/nonexistent-marivel-fuzz/";
    static const std::string path = "/tmp/marivel-fuzz-" + std::to_string(getpid()) + ".xml";
    const std::string text(reinterpret_cast<const char*>(data), size);
    {
        ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
        if (document->GetRoot() != NULL) document->GetRoot()->MarkVisitedTree();
    }
    std::string first;
    if (!ReadAndWrite(text, path, first)) return 0;
    std::string second;
    if (!ReadAndWrite(first, path, second)) std::abort();  // the writer's own text must read
    std::string third;
    if (!ReadAndWrite(second, path, third) || third != second) std::abort();  // and settle at once
    return 0;
}
