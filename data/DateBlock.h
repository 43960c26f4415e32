#pragma once
// The date block of the text format: CDate::Read and CDate::Write, whose
// bodies live with the text format (data/DateBlock.cpp). The month is named
// by its keyword ("january" .. "december"), never by a number. Every owner
// reads a date after its key and the opening "{" have been taken; its writer
// adds the block node under the date's key.
#include "data/TokenFile.h"
#include "engine/Date.h"
