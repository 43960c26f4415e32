#pragma once
// CCsvReader: reads the game's semicolon-separated tables cell by cell. A
// cell is the run of bytes up to the next ";" or line feed; the separator is
// consumed and not stored. There is no quoting. A CR LF line end reads as a
// single line feed. The reader knows no columns: each loader calls the cell
// operations in the order of its own columns.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

class CCsvReader {
public:
    // Opens the game path; a missing file shows the critical-error box
    // "excel file not found\n" and every read then answers false.
    explicit CCsvReader(std::string_view path);
    virtual ~CCsvReader();
    CCsvReader(const CCsvReader&) = delete;
    CCsvReader& operator=(const CCsvReader&) = delete;

    bool IsOpen() const { return m_file != nullptr; }

    // Copies the next cell into the buffer, always terminated. A cell longer
    // than bufferSize - 1 bytes is cut (the rest of the cell is still
    // consumed) and counted in GetCutCells. False when the end of the file
    // was reached while reading; what was read stays in the buffer.
    bool ReadString(char* buffer, size_t bufferSize);

    // The next cell as a number, read like atoi / atof in the "C" locale
    // (leading blanks, optional sign, digits up to the first other byte, 0
    // for none). At the end of the file: false, the output unchanged.
    bool ReadInt(int32_t& value);
    bool ReadDouble(double& value);
    bool ReadFloat(float& value);

    // Reads and drops n cells; n below 1 does nothing. False at the end of
    // the file.
    bool SkipCells(int n);
    // n times: reads one byte and, unless it is a line feed, reads on up to
    // and including the next line feed. False at the end of the file.
    bool SkipLines(int n);

    // Back to the start; true on success.
    bool Rewind();
    // The line feeds of the file (a last line without one is not counted);
    // the next read starts at the start of the file.
    uint32_t CountLines();

    // True when the last cell read (or skipped) ended at a line feed.
    bool LastCellEndedLine() const { return m_lastCellEndedLine; }
    // Cells cut by ReadString so far (the first one is also logged).
    uint32_t GetCutCells() const { return m_cutCells; }

private:
    int Get();
    bool ReadCell(char* buffer, size_t bufferSize);

    std::FILE* m_file = nullptr;
    bool m_lastCellEndedLine = false;
    uint32_t m_cutCells = 0;
};
