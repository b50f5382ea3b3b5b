#pragma once
// Reads one of the first four lines of a small text file. Every call opens
// the file anew and reads it from the start, so a file rewritten between two
// calls is seen at once.

#include <cstdint>
#include <string>

// Index 0, 1 and 2 select the first three lines; every other index selects
// the fourth. The result is at most 127 characters. A file that can't be
// opened reads as "0". Never raises.
//
// Lines are read one after another into one buffer: a line longer than 127
// characters, a last line without a line feed, or the end of the file stops
// the reading, and every later line then reads as whatever the buffer held
// (the same 127 characters, that last line again, or an empty text). A
// carriage return before a line feed is not part of the line, and a zero byte
// ends the returned text.
std::string ReadFileLine(const std::string& fileName, std::int32_t index);
