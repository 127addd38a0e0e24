#pragma once
// SuraCatalogue: the fixed facts about the 114 suras that every part of Lumora shares: how many timing
// records each sura has, the texts of the sura list, and the three-digit numbering of file and entry names.

#include <array>
#include <cstdint>
#include <string>

namespace lumora {

class SuraCatalogue {
public:
    static constexpr int kSuraCount = 114;

    // The number of records in the sura's timing table: its verse count plus one for the opening
    // invocation (record 0), except suras 1 and 9, which have no extra record. 0 outside 1..114.
    static int verseNo(int sura);
    // verseNo for suras 1..114 at their own index; index 0 holds 0.
    static const std::array<int16_t, kSuraCount + 1>& verseNoTable();
    // The sura list's text for the sura, exactly as shown ("1. AL-FATIHA", "82. AL-INFITAR " with its
    // trailing blank). Empty outside 1..114.
    static std::string listText(int sura);
    // The number with at least three digits: "002", "036", "114".
    static std::string threeDigit(int number);
};

}  // namespace lumora
