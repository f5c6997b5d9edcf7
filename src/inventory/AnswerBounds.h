#pragma once
#include "platform/Management.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vorlu {

// What the drive commands keep of a node's answer. No computer has more
// drives, and no drive property is longer; a node answering beyond them is
// broken or hostile, and what it sends must not fill the memory or the grids.
inline constexpr std::size_t MaxKeptDrives = 1000;
inline constexpr std::size_t MaxKeptProperties = 16; // a row; the queries ask for at most 8
inline constexpr std::size_t MaxKeptValueBytes = 4096;

struct AnswerCut {
    std::size_t rowsAnswered = 0;
    std::size_t rowsKept = 0;
    std::size_t valuesShortened = 0; // values and property names cut to MaxKeptValueBytes
    std::size_t propertiesDropped = 0;
    bool any() const { return rowsKept < rowsAnswered || valuesShortened > 0 || propertiesDropped > 0; }
};

// Cuts the rows in place to the caps, a value at a character boundary of
// UTF-8, and frees what was cut.
AnswerCut boundAnswer(std::vector<WmiRow>& rows);

// What the status line adds after a cut answer; empty when nothing was cut.
std::string answerCutNote(const AnswerCut& cut);

} // namespace vorlu
