#pragma once
// Row-wise reading of the countries' CSV tables: the cells of a line, read
// through the engine's reader, and their numbers as the C library reads
// them.
#include <cstdint>
#include <string>
#include <vector>

class CCsvReader;

// The cells of the next line that holds any text (blank lines are passed
// over); false at the end of the file.
bool ReadCsvRow(CCsvReader& reader, std::vector<std::string>& cells);
// The cell of the row counted from 1; empty when the row is shorter.
std::string CsvCell(const std::vector<std::string>& cells, size_t column);
// The leading integer of a text (0 for none), held within the 32-bit range.
int32_t ParseCsvInt(const std::string& text);
// The leading decimal number of a text (0 for none), held within the float
// range.
float ParseCsvFloat(const std::string& text);
