#include "engine/File.h"

#include <cerrno>
#include <cstring>

#include "engine/CriticalError.h"
#include "engine/Format.h"
#include "engine/MessagePump.h"
#include "platform/Files.h"

uint8_t g_fileError = 0;
uint32_t g_fileCloseCount = 0;

CFile::CFile(const std::string& path, const char* mode) : m_name(path) {
    m_stream = platform::OpenGameFile(path, mode);
    if (!m_stream) {
        Fail(FormatText(" Could not open file %s! \r\n", m_name.c_str()));
        CriticalErrorText(m_message);
        return;
    }
    MeasureSize();
}

CFile::CFile(const std::string& path) {
    Open(path);
}

// After each close one waiting window message is handled, so that long
// runs of loading keep the window alive.
CFile::~CFile() {
    Close();
    ++g_fileCloseCount;
    PumpOneMessage();
}

bool CFile::Open(const std::string& path) {
    Close();
    m_failed = true;
    m_name = path;
    m_position = 0;
    m_stream = platform::OpenGameFile(path, "rb");
    if (!m_stream) {
        m_size = 0;
        Fail(FormatText(" Could not open file %s! \r\n", m_name.c_str()));
        CriticalErrorText(m_message);
        return m_failed;
    }
    m_failed = false;
    MeasureSize();
    return m_failed;
}

void CFile::Close() {
    if (m_stream)
        std::fclose(m_stream);
    m_stream = nullptr;
}

void CFile::Fail(std::string message) {
    m_message = std::move(message);
    DebugPrint("%s", m_message.c_str());
    m_failed = true;
    g_fileError = 1;
}

bool CFile::MeasureSize() {
    m_position = 0;
    if (std::fseek(m_stream, 0, SEEK_END) != 0) {
        m_size = -1;
        Fail(FormatText(" Error seeking in file %s!\n", m_name.c_str()));
        return false;
    }
    long end = std::ftell(m_stream);
    if (end < 0) {
        m_size = -1;
        Fail(FormatText("Could not return current file position in file %s!\n", m_name.c_str()));
        return false;
    }
    m_size = static_cast<int32_t>(end);
    if (std::fseek(m_stream, 0, SEEK_SET) != 0) {
        Fail(FormatText(" Error seeking in file %s!\n", m_name.c_str()));
        return false;
    }
    return true;
}

bool CFile::Read(void* buffer, uint32_t count) {
    if (m_failed || !m_stream)
        return false;
    errno = 0;
    if (std::fread(buffer, 1, count, m_stream) != count) {
        Fail(FormatText(" Error reading file %s (%s)!\n", m_name.c_str(), std::strerror(errno)));
        return false;
    }
    m_position += static_cast<int32_t>(count);
    return true;
}

bool CFile::ReadArray(void* buffer, uint32_t elementSize, uint32_t count) {
    if (m_failed || !m_stream)
        return false;
    size_t total = static_cast<size_t>(elementSize) * count;
    errno = 0;
    if (std::fread(buffer, 1, total, m_stream) != total) {
        Fail(FormatText(" Error reading file %s (%s)!\n", m_name.c_str(), std::strerror(errno)));
        return false;
    }
    m_position += static_cast<int32_t>(total);
    return true;
}

bool CFile::Write(const void* buffer, uint32_t count) {
    if (m_failed || !m_stream)
        return false;
    if (std::fwrite(buffer, 1, count, m_stream) != count) {
        Fail(FormatText(" Error writing file %s!\n", m_name.c_str()));
        return false;
    }
    m_position += static_cast<int32_t>(count);
    return true;
}

bool CFile::Seek(int32_t offset) {
    if (!m_stream)
        return false;
    if (std::fseek(m_stream, offset, SEEK_SET) != 0) {
        Fail(FormatText(" Error seeking in file %s!\n", m_name.c_str()));
        return false;
    }
    m_position = offset;
    return true;
}

bool CFile::Skip(int32_t offset) {
    if (!m_stream)
        return false;
    if (std::fseek(m_stream, offset, SEEK_CUR) != 0) {
        Fail(FormatText(" Error seeking in file %s!\n", m_name.c_str()));
        return false;
    }
    m_position += offset;
    return true;
}

// The offset counts back from the end, so that the stream and the position
// count agree: size - offset.
bool CFile::SeekFromEnd(int32_t offset) {
    if (!m_stream)
        return false;
    if (std::fseek(m_stream, -static_cast<long>(offset), SEEK_END) != 0) {
        Fail(FormatText(" Error seeking in file %s!\n", m_name.c_str()));
        return false;
    }
    m_position = m_size - offset;
    return true;
}

int32_t CFile::Tell() {
    if (m_failed || !m_stream)
        return -1;
    long position = std::ftell(m_stream);
    if (position < 0) {
        Fail(FormatText("Could not return current file position in file %s!\n", m_name.c_str()));
        return -1;
    }
    return static_cast<int32_t>(position);
}

uint32_t CFile::ReadString(char* buffer, uint32_t bufferSize) {
    uint32_t consumed = 0;
    uint32_t stored = 0;
    char c = 0;
    while (Read(&c, 1)) {
        ++consumed;
        if (c == '\0')
            break;
        if (buffer && stored + 1 < bufferSize)
            buffer[stored++] = c;
    }
    if (buffer && bufferSize > 0)
        buffer[stored] = '\0';
    return consumed;
}

bool FileExists(const std::string& path) {
    if (!platform::GameFileExists(path))
        return false;
    std::FILE* file = platform::OpenGameFile(path, "rb");
    if (!file)
        return false;
    std::fclose(file);
    return true;
}
