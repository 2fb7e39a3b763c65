// Reading and writing a generated 5 MB XML document with the program's own XML code and with
// TinyXML on the same input, in one run. Throughput is reported as bytes per second of the text.
#include <benchmark/benchmark.h>
#include <tinyxml.h>
#include <unistd.h>

#include <cstdio>
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

const std::string& Path(const char* what) {
    static const std::string base = "/tmp/marivel-bench-xml-" + std::to_string(getpid()) + "-";
    static std::string path;
    path = base + what;
    return path;
}

ObjectSmartPointer<XmlDocument> ReadOwn() {
    const std::string& text = Text();
    ObjectSmartPointer<XmlDocument> d(new XmlDocumentRead(text.data(), text.data() + text.size()));
    d->GetRoot()->MarkVisitedTree();
    return d;
}

void BM_ReadOwnMemory(benchmark::State& state) {
    for (auto _ : state) {
        ObjectSmartPointer<XmlDocument> d = ReadOwn();
        benchmark::DoNotOptimize(d.Get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text().size()));
}

void BM_ReadTinyXmlMemory(benchmark::State& state) {
    for (auto _ : state) {
        TiXmlDocument d;
        d.Parse(Text().c_str());
        if (d.Error()) state.SkipWithError(d.ErrorDesc());
        benchmark::DoNotOptimize(&d);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text().size()));
}

void BM_ReadOwnFile(benchmark::State& state) {
    const std::string path = Path("read.xml");
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(Text().data(), 1, Text().size(), f);
        std::fclose(f);
    }
    for (auto _ : state) {
        ObjectSmartPointer<XmlDocument> d(new XmlDocumentRead(path));
        d->GetRoot()->MarkVisitedTree();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text().size()));
    std::remove(path.c_str());
}

void BM_ReadTinyXmlFile(benchmark::State& state) {
    const std::string path = Path("read.xml");
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(Text().data(), 1, Text().size(), f);
        std::fclose(f);
    }
    for (auto _ : state) {
        TiXmlDocument d;
        if (!d.LoadFile(path.c_str())) state.SkipWithError(d.ErrorDesc());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text().size()));
    std::remove(path.c_str());
}

// The read document in its source form.
void BM_WriteOwnRead(benchmark::State& state) {
    ObjectSmartPointer<XmlDocument> d = ReadOwn();
    const std::string path = Path("write.xml");
    for (auto _ : state) {
        ObjectSmartPointer<XmlOutText> out(new XmlOutText(path));
        d->Write(out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text().size()));
    std::remove(path.c_str());
}

// A plain copy, written in the normalised form.
void BM_WriteOwnPlain(benchmark::State& state) {
    ObjectSmartPointer<XmlDocument> read = ReadOwn();
    ObjectSmartPointer<XmlDocument> d(new XmlDocument(ObjectWeakPointer<XmlDocument>(read)));
    const std::string path = Path("write.xml");
    for (auto _ : state) {
        ObjectSmartPointer<XmlOutText> out(new XmlOutText(path));
        d->Write(out);
    }
    d->GetRoot()->MarkVisitedTree();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text().size()));
    std::remove(path.c_str());
}

void BM_WriteTinyXml(benchmark::State& state) {
    TiXmlDocument d;
    d.Parse(Text().c_str());
    const std::string path = Path("write.xml");
    for (auto _ : state) {
        if (!d.SaveFile(path.c_str())) state.SkipWithError("SaveFile failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text().size()));
    std::remove(path.c_str());
}

// The safe save: new text, fsync, backup and renames.
void BM_SaveOwn(benchmark::State& state) {
    ObjectSmartPointer<XmlDocument> read = ReadOwn();
    ObjectSmartPointer<XmlDocument> d(new XmlDocument(ObjectWeakPointer<XmlDocument>(read)));
    const std::string path = Path("save.xml");
    for (auto _ : state) d->Save(path);
    d->GetRoot()->MarkVisitedTree();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text().size()));
    std::remove(path.c_str());
    std::remove((path + ".bak").c_str());
}

}  // namespace

BENCHMARK(BM_ReadOwnMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTinyXmlMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadOwnFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTinyXmlFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteOwnRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteOwnPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteTinyXml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveOwn)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // The log goes nowhere: nothing here should fail, and the benchmark must not write into the source tree.
    dataFolder = "/nonexistent-marivel-bench/";
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
