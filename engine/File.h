#pragma once
// CFile: a binary file with its own position count, size and error report.
#include <cstdint>
#include <cstdio>
#include <string>

extern uint8_t g_fileError;       // set to 1 by every failure of any CFile
extern uint32_t g_fileCloseCount; // number of CFile objects closed

class CFile {
public:
    // Opens with the given stdio mode ("rb", "wb"); a failure shows the
    // critical-error box and leaves the object failed.
    CFile(const std::string& path, const char* mode);
    // Opens for reading ("rb").
    explicit CFile(const std::string& path);
    virtual ~CFile();

    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Closes a stream still open and opens the path for reading. Answers the
    // failed flag (true = failure).
    bool Open(const std::string& path);

    bool Read(void* buffer, uint32_t count);
    bool ReadArray(void* buffer, uint32_t elementSize, uint32_t count);
    bool Write(const void* buffer, uint32_t count);
    bool Seek(int32_t offset);
    bool Skip(int32_t offset);
    bool SeekFromEnd(int32_t offset);
    int32_t Tell();
    // Reads bytes up to and including the first 0 byte; answers the count
    // consumed. With no buffer the bytes are skipped. bufferSize bounds what
    // is stored (the text is cut and terminated); the whole string is still
    // consumed.
    uint32_t ReadString(char* buffer, uint32_t bufferSize);

    bool IsFailed() const { return m_failed; }
    int32_t GetSize() const { return m_size; }
    int32_t GetPosition() const { return m_position; }
    const std::string& GetName() const { return m_name; }
    const std::string& GetMessage() const { return m_message; }

private:
    void Fail(std::string message);
    bool MeasureSize();
    void Close();

    int32_t m_position = 0;
    std::string m_name;
    std::FILE* m_stream = nullptr;
    std::string m_message;
    int32_t m_size = 0;
    bool m_failed = false;
};

// True when the file can be opened for reading.
bool FileExists(const std::string& path);
