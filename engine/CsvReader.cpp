#include "engine/CsvReader.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "engine/CriticalError.h"
#include "platform/Files.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// atoi: blanks, an optional sign, decimal digits; saturates instead of
// overflowing.
int32_t ParseInt(const char* text) {
    while (IsBlank(*text))
        ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1)
            value = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int32_t>::max())
        value = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

// atof in the "C" locale: blanks, an optional sign, then the longest decimal
// number (with exponent), "inf" or "nan"; 0 for none.
double ParseDouble(const char* text) {
    while (IsBlank(*text))
        ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    if (*text == '-' || *text == '+')
        return 0.0; // one sign only
    double value = 0.0;
    std::errc error =
        std::from_chars(text, text + std::strlen(text), value, std::chars_format::general).ec;
    if (error == std::errc::result_out_of_range)
        value = std::strtod(text, nullptr); // an infinity or 0, as atof gives
    else if (error != std::errc())
        value = 0.0;
    return negative ? -value : value;
}

} // namespace

CCsvReader::CCsvReader(std::string_view path) {
    m_file = platform::OpenGameFile(path, "rb");
    if (!m_file)
        CriticalError("excel file not found\n");
}

CCsvReader::~CCsvReader() {
    if (m_file)
        std::fclose(m_file);
}

// One byte, with CR LF read as LF; EOF at the end of the file.
int CCsvReader::Get() {
    if (!m_file)
        return EOF;
    int c = std::fgetc(m_file);
    if (c == '\r') {
        int next = std::fgetc(m_file);
        if (next == '\n')
            return '\n';
        if (next != EOF)
            std::ungetc(next, m_file);
    }
    return c;
}

bool CCsvReader::ReadCell(char* buffer, size_t bufferSize) {
    size_t length = 0;
    bool cut = false;
    bool more = true;
    m_lastCellEndedLine = false;
    for (;;) {
        int c = Get();
        if (c == EOF) {
            more = false;
            break;
        }
        if (c == ';')
            break;
        if (c == '\n') {
            m_lastCellEndedLine = true;
            break;
        }
        if (length + 1 < bufferSize)
            buffer[length++] = static_cast<char>(c);
        else
            cut = true;
    }
    if (bufferSize > 0)
        buffer[length] = '\0';
    if (cut && buffer) {
        if (m_cutCells == 0)
            DebugPrint("csv cell longer than %zu bytes cut\n", bufferSize - 1);
        ++m_cutCells;
    }
    return more;
}

bool CCsvReader::ReadString(char* buffer, size_t bufferSize) {
    return ReadCell(buffer, bufferSize);
}

bool CCsvReader::ReadInt(int32_t& value) {
    char buffer[1000];
    if (!ReadCell(buffer, sizeof buffer))
        return false;
    value = ParseInt(buffer);
    return true;
}

bool CCsvReader::ReadDouble(double& value) {
    char buffer[1000];
    if (!ReadCell(buffer, sizeof buffer))
        return false;
    value = ParseDouble(buffer);
    return true;
}

bool CCsvReader::ReadFloat(float& value) {
    char buffer[1000];
    if (!ReadCell(buffer, sizeof buffer))
        return false;
    double d = ParseDouble(buffer);
    // Beyond the float range the conversion would be undefined: infinity.
    if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max())
        d = std::copysign(std::numeric_limits<double>::infinity(), d);
    value = static_cast<float>(d);
    return true;
}

bool CCsvReader::SkipCells(int n) {
    for (int i = 0; i < n; ++i)
        if (!ReadCell(nullptr, 0))
            return false;
    return true;
}

bool CCsvReader::SkipLines(int n) {
    for (int i = 0; i < n; ++i) {
        int c = Get();
        while (c != '\n') {
            if (c == EOF)
                return false;
            c = Get();
        }
    }
    return true;
}

bool CCsvReader::Rewind() {
    if (!m_file)
        return false;
    return std::fseek(m_file, 0, SEEK_SET) == 0;
}

uint32_t CCsvReader::CountLines() {
    if (!Rewind())
        return 0;
    uint32_t lines = 0;
    for (int c = Get(); c != EOF; c = Get())
        if (c == '\n')
            ++lines;
    Rewind();
    return lines;
}
