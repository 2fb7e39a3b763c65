#include "tests/support/TestSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "core/Assert.h"
#include "core/HtmlLog.h"

namespace testing_support {

std::string MakeTempDir(const std::string& hint) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/marivel-" + hint + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed for " + pattern);
    }
    return pattern + "/";
}

std::string EnterTempDir(const std::string& hint, std::string* previous) {
    char buffer[4096];
    *previous = getcwd(buffer, sizeof buffer) ? buffer : ".";
    const std::string dir = MakeTempDir(hint);
    return chdir(dir.c_str()) == 0 ? dir : std::string();
}

int CountOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

std::string FixturePath(const std::string& relative) {
    return std::string(MARIVEL_SOURCE_DIR) + "/tests/" + relative;
}

LogCapture::LogCapture() {
    ForgetReportedFailures();
    if (std::FILE* f = std::fopen(HtmlLog::FileName().c_str(), "wb")) {
        std::fclose(f);
    }
}

std::string LogCapture::Text() const { return ReadFile(HtmlLog::FileName()); }

int LogCapture::ErrorCount() const {
    const std::string text = Text();
    const std::string label = ">ERROR : <";
    int count = 0;
    for (std::size_t pos = text.find(label); pos != std::string::npos; pos = text.find(label, pos + 1)) {
        ++count;
    }
    return count;
}

bool LogCapture::Contains(const std::string& text) const {
    std::string needle;
    for (char c : HtmlLog::Escape(text)) {
        if (c == '\n') needle += '\r';
        needle += c;
    }
    return Text().find(needle) != std::string::npos;
}

}  // namespace testing_support
