#include "core/FileWrapper.h"

#include "core/Assert.h"
#include "core/Int.h"
#include "platform/FilePort.h"

namespace {

// The program's messages are single-byte text in the Windows-1251 code page.
const char* const CANNOT_OPEN = "\xcd\xe5 \xf3\xe4\xe0\xeb\xee\xf1\xfc \xee\xf2\xea\xf0\xfb\xf2\xfc "
                                "\xf4\xe0\xe9\xeb ";                     // "Не удалось открыть файл "
const char* const IN_MODE = " \xe2 \xf0\xe5\xe6\xe8\xec\xe5 ";           // " в режиме "
const char* const WANTED_READ = "\xd5\xee\xf2\xe5\xeb\xe8 \xef\xf0\xee\xf7\xe8\xf2\xe0\xf2\xfc ";
                                                                         // "Хотели прочитать "
const char* const WANTED_WRITE = "\xd5\xee\xf2\xe5\xeb\xe8 \xe7\xe0\xef\xe8\xf1\xe0\xf2\xfc ";
                                                                         // "Хотели записать "
const char* const MANAGED = ", \xf3\xe4\xe0\xeb\xee\xf1\xfc ";           // ", удалось "

std::string CountText(std::size_t count) { return Int::ToString(static_cast<int>(count)); }

}  // namespace

int FileWrapper::fseek(std::FILE* file, long offset, int origin) {
    return file == nullptr ? -1 : std::fseek(file, offset, origin);
}

int FileWrapper::fclose(std::FILE* file) { return file == nullptr ? 0 : std::fclose(file); }

FileWrapper::FileWrapper(const std::string& fileName, const std::string& mode) {
    Assert(fileName.c_str() == fileName);
    Assert(mode.c_str() == mode);
    _textMode = mode.find('b') == std::string::npos;
    _file = FilePort::Open(fileName, mode.c_str());
    if (_file == nullptr) {
        ReportError(CANNOT_OPEN + fileName + IN_MODE + mode);
    }
}

FileWrapper::~FileWrapper() {
    if (_file != nullptr) {
        Assert(fclose(_file) == 0);
        _file = nullptr;
    }
}

void FileWrapper::Seek(long offset, int origin) { Assert(fseek(_file, offset, origin) == 0); }

long FileWrapper::Tell() {
    const long answer = _file == nullptr ? -1 : std::ftell(_file);
    Assert(answer >= 0);
    return answer;
}

std::size_t FileWrapper::Read(void* data, std::size_t wanted) {
    const std::size_t got = _file == nullptr || wanted == 0 ? 0 : std::fread(data, 1, wanted, _file);
    if (got != wanted) {
        ReportError(WANTED_READ + CountText(wanted) + MANAGED + CountText(got));
    }
    return got;
}

void FileWrapper::Read(std::vector<char>& buffer) { Read(buffer.data(), buffer.size()); }

void FileWrapper::Read(std::vector<unsigned char>& buffer) { Read(buffer.data(), buffer.size()); }

std::size_t FileWrapper::Write(const void* data, std::size_t wanted) {
    const char* bytes = static_cast<const char*>(data);
    std::size_t written = 0;
    if (_file != nullptr && wanted > 0) {
        if (_textMode) {
            // Text mode stores each lone LF as CR LF; the count is of the caller's bytes.
            const std::string stored = FilePort::ToCrLf(std::string(bytes, wanted));
            const std::size_t storedCount = std::fwrite(stored.data(), 1, stored.size(), _file);
            std::size_t used = 0;
            for (; written < wanted; ++written) {
                const bool lone = bytes[written] == '\n' && (written == 0 || bytes[written - 1] != '\r');
                const std::size_t need = lone ? 2 : 1;
                if (used + need > storedCount) break;
                used += need;
            }
        } else {
            written = std::fwrite(bytes, 1, wanted, _file);
        }
    }
    if (written != wanted) {
        ReportError(WANTED_WRITE + CountText(wanted) + MANAGED + CountText(written));
    }
    return written;
}

void FileWrapper::Write(const std::vector<char>& buffer) { Write(buffer.data(), buffer.size()); }

void FileWrapper::Write(const std::string& buffer) { Write(buffer.data(), buffer.size()); }

bool FileExists(const std::string& fileName) {
    std::FILE* f = FilePort::Open(fileName, "rb");
    if (f == nullptr) {
        return false;
    }
    std::fclose(f);
    return true;
}
