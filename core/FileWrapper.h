#pragma once
// An owned file stream whose open, read and write failures are reported as errors.

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "core/Object.h"

class FileWrapper : public Interface {
public:
    // Opens through the path normaliser. In a mode without "b" every LF written is stored as CR LF.
    FileWrapper(const std::string& fileName, const std::string& mode);
    ~FileWrapper() override;

    bool IsOpen() const { return _file != nullptr; }

    // origin: 0 from the start, 1 from the current position, 2 from the end.
    void Seek(long offset, int origin);
    long Tell();

    // Reads exactly as many bytes as the buffer holds; fewer is reported, the bytes that came stay.
    void Read(std::vector<char>& buffer);
    void Read(std::vector<unsigned char>& buffer);
    std::size_t Read(void* data, std::size_t wanted);

    // Writes every byte; fewer is reported.
    void Write(const std::vector<char>& buffer);
    void Write(const std::string& buffer);
    std::size_t Write(const void* data, std::size_t wanted);

private:
    // The stream calls, tolerant of a wrapper without a stream (which only fails them).
    static int fseek(std::FILE* file, long offset, int origin);
    static int fclose(std::FILE* file);

    std::FILE* _file = nullptr;
    bool _textMode = false;
};

// True when the file can be opened for reading ("rb"); a folder is not a file.
bool FileExists(const std::string& fileName);
