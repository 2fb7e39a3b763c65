#include "core/HtmlLog.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <unordered_set>

#include "core/DataFolder.h"

namespace {

HtmlLog::Clock& CurrentClock() {
    static HtmlLog::Clock clock;
    return clock;
}

std::tm Now() {
    if (CurrentClock()) {
        return CurrentClock()();
    }
    std::time_t t = std::time(nullptr);
    std::tm result{};
    localtime_r(&t, &result);
    return result;
}

struct FirstErrorRecord {
    bool written = false;
    std::string text;
};

FirstErrorRecord& FirstErrorEntry() {
    static FirstErrorRecord record;
    return record;
}

// Hashes of the error texts written: a fault reported again at the same place adds nothing.
std::unordered_set<std::size_t>& WrittenErrors() {
    static std::unordered_set<std::size_t> written;
    return written;
}

std::string TwoDigits(int value) {
    std::string s = std::to_string(value);
    return value < 10 ? "0" + s : s;
}

}  // namespace

std::string HtmlLog::FileName() { return dataFolder + "log.htm"; }

void HtmlLog::SetClock(Clock clock) { CurrentClock() = std::move(clock); }

std::tm HtmlLog::LocalTime() { return Now(); }

int HtmlLog::_failedWrites = 0;
long HtmlLog::_fullSize = -1;
bool HtmlLog::_isBounded = true;

namespace {

// Text mode of the original platform: every line feed becomes CR LF.
std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 16);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace

void HtmlLog::Append(const std::string& text, bool isEntry) {
    std::FILE* f = std::fopen(FileName().c_str(), "ab");
    bool written = f != nullptr;
    if (f) {
        std::string out = WithCrLf(text);
        if (isEntry && _isBounded && std::fseek(f, 0, SEEK_END) == 0) {
            const long size = std::ftell(f);
            // A log emptied since it filled up (a new start, a test) takes entries again.
            if (_fullSize >= 0 && size >= 0 && size < _fullSize) _fullSize = -1;
            if (_fullSize >= 0) {
                out.clear();
            } else if (size >= 0 && size + static_cast<long>(out.size()) > MAX_FILE_SIZE) {
                // Said once: a small entry that would still fit after it is left out too.
                out = WithCrLf(TimeStamp() + "<B><Font Size = 2 Color = Red Face = Verdana>" +
                               "The log has reached its limit of " + std::to_string(MAX_FILE_SIZE) +
                               " bytes; later entries are left out</Font></B><BR>\n");
                _fullSize = size + static_cast<long>(out.size());
            }
        }
        written = out.empty() || std::fwrite(out.data(), 1, out.size(), f) == out.size();
        written = std::fclose(f) == 0 && written;
    }
    if (!written && _failedWrites++ == 0) {
        // Said once: the log is where problems are told, so its own loss goes to stderr.
        std::fprintf(stderr, "%s: cannot write the log %s: %s\n", program_invocation_short_name, FileName().c_str(),
                     std::strerror(errno));
    }
}

std::string HtmlLog::Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string HtmlLog::TimeStamp() {
    const std::tm t = Now();
    return "<B><Font Size = 2 Color = DarkGreen Face = Verdana><" + TwoDigits(t.tm_mday) + "." +
           TwoDigits(t.tm_mon + 1) + "." + std::to_string(t.tm_year + 1900) + " - " +
           TwoDigits(t.tm_hour) + ":" + TwoDigits(t.tm_min) + ":" + TwoDigits(t.tm_sec) +
           "> \n</Font></B>";
}

void HtmlLog::WriteLine(const std::string& text) { WriteLineColor(text, "Black"); }

std::string HtmlLog::Entry(const std::string& text) {
    if (text.size() <= MAX_ENTRY_TEXT) return Escape(text);
    return Escape(text.substr(0, MAX_ENTRY_TEXT)) + " ... (" + std::to_string(text.size() - MAX_ENTRY_TEXT) +
           " more bytes left out)";
}

void HtmlLog::WriteLineColor(const std::string& text, const std::string& color) {
    Append(TimeStamp() + "<Font Size = 2 Color = " + color + " Face = Verdana>" + Entry(text) + "</Font><BR>", true);
}

void HtmlLog::ForgetWrittenErrors() { WrittenErrors().clear(); }

bool HtmlLog::IsErrorWritten(const std::string& text) {
    return WrittenErrors().count(std::hash<std::string>()(text)) != 0;
}

bool HtmlLog::WriteError(const std::string& text) {
    const bool isNew = WrittenErrors().insert(std::hash<std::string>()(text)).second;
    if (!isNew && _isBounded) return false;
    FirstErrorRecord& first = FirstErrorEntry();
    if (!first.written) {
        first.written = true;
        first.text = text;
    }
    WriteLabelled("ERROR", text);
    return true;
}

bool HtmlLog::FirstError(std::string* text) {
    const FirstErrorRecord& first = FirstErrorEntry();
    if (first.written && text) *text = first.text;
    return first.written;
}

void HtmlLog::WriteLabelled(const std::string& label, const std::string& text) {
    Append(TimeStamp() + "<B><Font Size = 2 Color = Red Face = Verdana>" + Escape(label) + " : " +
               "</B></Font>" + "<Font Size = 2 Color = Black Face = Verdana>" + Entry(text) + "</Font><BR>",
           true);
}

void HtmlLog::WriteRaw(const std::string& text) { Append(text + "\n", false); }

void HtmlLog::Open(bool recreate) {
    ForgetWrittenErrors();
    if (recreate) {
        if (std::FILE* f = std::fopen(FileName().c_str(), "wb")) {
            std::fclose(f);
        }
    }
    WriteRaw("<Html><Title>Log File</Title>");
    WriteRaw("<Body BgColor = Cornsilk>");
}

void HtmlLog::Close() { WriteRaw("</Body> </Html>"); }
