// Reading and writing generated 5 MB XML documents with the program's own XML code, with TinyXML
// and with pugixml on the same input, in one run. Throughput is reported as bytes per second of
// the text. Argument 0 is a level-like document, 1 a storage-like one.
#include <benchmark/benchmark.h>
#include <tinyxml.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <pugixml.hpp>
#include <sstream>
#include <string>

#include "core/DataFolder.h"
#include "core/XmlDocument.h"
#include "core/XmlOutText.h"
#include "core/XmlRead.h"

namespace {

// Level-file-like content: nested elements, attributes with references, texts, comments and
// Windows-1251 bytes, about 5 MB.
const std::string& Text() {
    static const std::string text = [] {
        std::string t = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<!-- generated -->\n<Levels>\n";
        int i = 0;
        while (t.size() < 5 * 1024 * 1024) {
            const std::string n = std::to_string(i++);
            t += "\t<Level number=\"" + n + "\" time=\"120\" name=\"\xd3\xf0\xee\xe2\xe5\xed\xfc " + n +
                 " &amp; &quot;x&quot;\" speed=\"1.500000e+000/0x3FC00000\">\n";
            t += "\t\t<!-- field " + n + " -->\n";
            t += "\t\t<Field width=\"9\" height=\"8\" gold=\"true\"/>\n";
            t += "\t\t<Row>0 1 2 3 4 5 6 7 8</Row>\n";
            t += "\t\t<Row>8 7 6 5 4 3 2 1 0</Row>\n";
            t += "\t\t<Hint text=\"a &lt; b\">Match three &gt; match two</Hint>\n";
            t += "\t</Level>\n";
        }
        t += "</Levels>\n";
        return t;
    }();
    return text;
}

// Storage-like content: 100 players of 420 values and 200 globals, tabs and CR LF, about 5 MB.
const std::string& StorageText() {
    static const std::string text = [] {
        std::uint32_t seed = 7;
        auto next = [&seed](std::uint32_t range) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 8) % range;
        };
        std::string t = "<Storage>\r\n\t<Globals>\r\n";
        auto variable = [&](const std::string& name) {
            static const char* types[] = {"int", "bool", "float", "string"};
            const std::uint32_t type = next(4);
            std::string value;
            if (type == 0) value = std::to_string(static_cast<int>(next(200001)) - 100000);
            if (type == 1) value = next(2) ? "true" : "false";
            if (type == 2) {
                const float f = static_cast<float>(next(2000000)) / 1000.0f - 1000.0f;
                std::uint32_t bits = 0;
                std::memcpy(&bits, &f, 4);
                char buffer[64];
                std::snprintf(buffer, sizeof buffer, "%.6fe+%03d/0x%08X", static_cast<double>(f) / 1000.0, 3, bits);
                value = buffer;
            }
            if (type == 3) value = "text &amp; value " + std::to_string(next(1000000));
            t += "\t\t<Variable name=\"" + name + "\" type=\"" + types[type] + "\" value=\"" + value + "\"/>\r\n";
        };
        for (int i = 0; i < 200; ++i) variable("global " + std::to_string(1000 + i));
        t += "\t</Globals>\r\n";
        for (int p = 0; p < 100; ++p) {
            t += "\t<Player name=\"player " + std::to_string(100 + p) + "\">\r\n";
            for (int i = 0; i < 420; ++i) variable("Tank " + std::to_string(i % 4) + " item " + std::to_string(1000 + i));
            t += "\t</Player>\r\n";
        }
        t += "\t<ActivePlayer name=\"player 100\"/>\r\n</Storage>\r\n";
        return t;
    }();
    return text;
}

const std::string& Text(const benchmark::State& state) { return state.range(0) == 0 ? Text() : StorageText(); }

const std::string& Path(const char* what) {
    // A memory-backed folder when there is one: the disk's writeback of the last 5 MB would otherwise
    // decide how long the next truncating write waits, for every writer alike.
    static const std::string base = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                                    "/marivel-bench-xml-" + std::to_string(getpid()) + "-";
    static std::string path;
    path = base + what;
    return path;
}

ObjectSmartPointer<XmlDocument> ReadOwn(const std::string& text) {
    ObjectSmartPointer<XmlDocument> d(new XmlDocumentRead(text.data(), text.data() + text.size()));
    d->GetRoot()->MarkVisitedTree();
    return d;
}

// The texts are made before the timed loops: the first call builds them.
void BM_ReadOwnMemory(benchmark::State& state) {
    const std::string& text = Text(state);
    for (auto _ : state) {
        ObjectSmartPointer<XmlDocument> d = ReadOwn(text);
        benchmark::DoNotOptimize(d.Get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text(state).size()));
}

void BM_ReadTinyXmlMemory(benchmark::State& state) {
    const std::string& text = Text(state);
    for (auto _ : state) {
        TiXmlDocument d;
        d.Parse(text.c_str());
        if (d.Error()) state.SkipWithError(d.ErrorDesc());
        benchmark::DoNotOptimize(&d);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text(state).size()));
}

void BM_ReadOwnFile(benchmark::State& state) {
    const std::string path = Path("read.xml");
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(Text(state).data(), 1, Text(state).size(), f);
        std::fclose(f);
    }
    for (auto _ : state) {
        ObjectSmartPointer<XmlDocument> d(new XmlDocumentRead(path));
        d->GetRoot()->MarkVisitedTree();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text(state).size()));
    std::remove(path.c_str());
}

void BM_ReadTinyXmlFile(benchmark::State& state) {
    const std::string path = Path("read.xml");
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(Text(state).data(), 1, Text(state).size(), f);
        std::fclose(f);
    }
    for (auto _ : state) {
        TiXmlDocument d;
        if (!d.LoadFile(path.c_str())) state.SkipWithError(d.ErrorDesc());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text(state).size()));
    std::remove(path.c_str());
}

void BM_ReadPugixmlMemory(benchmark::State& state) {
    const std::string& text = Text(state);
    for (auto _ : state) {
        pugi::xml_document d;
        if (!d.load_buffer(text.data(), text.size())) state.SkipWithError("pugixml parse failed");
        benchmark::DoNotOptimize(&d);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text(state).size()));
}

// Printing into memory, as a writer does before the file write.
void BM_PrintTinyXml(benchmark::State& state) {
    TiXmlDocument d;
    d.Parse(Text(state).c_str());
    for (auto _ : state) {
        TiXmlPrinter printer;
        d.Accept(&printer);
        benchmark::DoNotOptimize(printer.CStr());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text(state).size()));
}

void BM_PrintPugixml(benchmark::State& state) {
    pugi::xml_document d;
    d.load_buffer(Text(state).data(), Text(state).size());
    for (auto _ : state) {
        std::ostringstream out;
        d.save(out);
        benchmark::DoNotOptimize(out.str().size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text(state).size()));
}

// The read document in its source form.
void BM_WriteOwnRead(benchmark::State& state) {
    ObjectSmartPointer<XmlDocument> d = ReadOwn(Text(state));
    const std::string path = Path("write.xml");
    for (auto _ : state) {
        ObjectSmartPointer<XmlOutText> out(new XmlOutText(path));
        d->Write(out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text(state).size()));
    std::remove(path.c_str());
}

// A plain copy, written in the normalised form.
void BM_WriteOwnPlain(benchmark::State& state) {
    ObjectSmartPointer<XmlDocument> read = ReadOwn(Text(state));
    ObjectSmartPointer<XmlDocument> d(new XmlDocument(ObjectWeakPointer<XmlDocument>(read)));
    const std::string path = Path("write.xml");
    for (auto _ : state) {
        ObjectSmartPointer<XmlOutText> out(new XmlOutText(path));
        d->Write(out);
    }
    d->GetRoot()->MarkVisitedTree();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text(state).size()));
    std::remove(path.c_str());
}

void BM_WriteTinyXml(benchmark::State& state) {
    TiXmlDocument d;
    d.Parse(Text(state).c_str());
    const std::string path = Path("write.xml");
    for (auto _ : state) {
        if (!d.SaveFile(path.c_str())) state.SkipWithError("SaveFile failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text(state).size()));
    std::remove(path.c_str());
}

// The safe save: new text, fsync, backup and renames.
void BM_SaveOwn(benchmark::State& state) {
    ObjectSmartPointer<XmlDocument> read = ReadOwn(Text(state));
    ObjectSmartPointer<XmlDocument> d(new XmlDocument(ObjectWeakPointer<XmlDocument>(read)));
    const std::string path = Path("save.xml");
    for (auto _ : state) d->Save(path);
    d->GetRoot()->MarkVisitedTree();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text(state).size()));
    std::remove(path.c_str());
    std::remove((path + ".bak").c_str());
}

}  // namespace


// Each case first runs untimed for a while, so that every reader is measured in a warm process: the
// first large tree of a run mostly waits for the system to hand out and clear fresh pages.
#define XML_BENCHMARK(name) \
    BENCHMARK(name)->Arg(0)->Arg(1)->MinWarmUpTime(0.3)->Unit(benchmark::kMillisecond)
XML_BENCHMARK(BM_ReadOwnMemory);
XML_BENCHMARK(BM_ReadTinyXmlMemory);
XML_BENCHMARK(BM_ReadPugixmlMemory);
XML_BENCHMARK(BM_ReadOwnFile);
XML_BENCHMARK(BM_ReadTinyXmlFile);
XML_BENCHMARK(BM_WriteOwnRead);
XML_BENCHMARK(BM_WriteOwnPlain);
XML_BENCHMARK(BM_PrintTinyXml);
XML_BENCHMARK(BM_PrintPugixml);
XML_BENCHMARK(BM_WriteTinyXml);
XML_BENCHMARK(BM_SaveOwn);

int main(int argc, char** argv) {
    // The log goes nowhere: nothing here should fail, and the benchmark must not write into the source tree.
    dataFolder = "/nonexistent-marivel-bench/";
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
