#pragma once

namespace sdelka {

// Ids fixed in statements throughout the program.
namespace reserved {
constexpr int HouseholdWorks = 7777;   // "хоз. работы"
constexpr int AveragePiecework = 7778; // "среднесдельная"
constexpr int HelperShare = 7779;      // operation of a helper worker's position
constexpr int PaintingOperator = 7780; // product and operation of a painting operator's share
constexpr int BrigadeHelper = 7781;    // product and operation of a brigade helper's share
} // namespace reserved

} // namespace sdelka
