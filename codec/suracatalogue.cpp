#include "codec/suracatalogue.h"

#include <cstdio>

namespace lumora {

namespace {

// Records per sura, suras 1..114 at their own index.
constexpr std::array<int16_t, SuraCatalogue::kSuraCount + 1> kVerseNo = {
    0,   7,   287, 201, 177, 121, 166, 207, 76, 129, 110, 124, 112, 44, 53, 100, 129, 112, 111, 99,
    136, 113, 79,  119, 65,  78,  228, 94,  89, 70,  61,  35,  31,  74, 55, 46,  84,  183, 89,  76,
    86,  55,  54,  90,  60,  38,  36,  39,  30, 19,  46,  61,  50,  63, 56, 79,  97,  30,  23,  25,
    14,  15,  12,  12,  19,  13,  13,  31,  53, 53,  45,  29,  29,  21, 57, 41,  32,  51,  41,  47,
    43,  30,  20,  37,  26,  23,  18,  20,  27, 31,  21,  16,  22,  12, 9,  9,   20,  6,   9,   9,
    12,  12,  9,   4,   10,  6,   5,   8,   4,  7,   4,   6,   5,   6,  7,
};

// The sura list's names. Five of them carry a trailing blank that the list shows as it stands.
constexpr const char* kSuraNames[SuraCatalogue::kSuraCount] = {
    "AL-FATIHA",    "AL-BAQARA",   "AAL-E-IMRAN",   "AN-NISA",        "AL-MAEDA",
    "AL-ANAAM",     "AL-ARAF",     "AL-ANFAL",      "AT-TAWBA",       "YUNUS",
    "HUD",          "YUSUF",       "AR-RAD",        "IBRAHIM",        "AL-HIJR",
    "AN-NAHL",      "AL-ISRA",     "AL-KAHF",       "MARYAM",         "TA-HA",
    "AL-ANBIYA",    "AL-HAJJ",     "AL-MUMENOON",   "AN-NOOR",        "AL-FURQAN",
    "ASH-SHUARA",   "AN-NAML",     "AL-QASAS",      "AL-ANKABOOT",    "AR-ROOM",
    "LUQMAN",       "AS-SAJDA",    "AL-AHZAB",      "SABA",           "FATIR",
    "YA-SEEN",      "AS-SAAFFAT",  "SAD",           "AZ-ZUMAR",       "AL-GHAFIR",
    "FUSSILAT",     "ASH-SHURA",   "AZ-ZUKHRUF",    "AD-DUKHAN",      "AL-JATHIYA",
    "AL-AHQAF",     "MUHAMMAD",    "AL-FATH",       "AL-HUJRAAT",     "QAF",
    "ADH-DHARIYAT", "AT-TUR",      "AN-NAJM",       "AL-QAMAR",       "AR-RAHMAN",
    "AL-WAQIA",     "AL-HADID",    "AL-MUJADILA",   "AL-HASHR",       "AL-MUMTAHINA",
    "AS-SAFF",      "AL-JUMUA",    "AL-MUNAFIQOON", "AT-TAGHABUN",    "AT-TALAQ",
    "AT-TAHRIM",    "AL-MULK",     "AL-QALAM",      "AL-HAAQQA",      "AL-MAARIJ",
    "NOOH",         "AL-JINN",     "AL-MUZZAMMIL",  "AL-MUDDATHTHIR", "AL-QIYAMA",
    "AL-INSAN",     "AL-MURSALAT", "AN-NABA",       "AN-NAZIAT",      "ABASA",
    "AT-TAKWIR",    "AL-INFITAR ", "AL-MUTAFFIFIN", "AL-INSHIQAQ",    "AL-BUROOJ",
    "AT-TARIQ",     "AL-ALA",      "AL-GHASHIYA",   "AL-FAJR",        "AL-BALAD",
    "ASH-SHAMS ",   "AL-LAIL",     "AD-DHUHA ",     "AL-INSHIRAH",    "AT-TIN",
    "AL-ALAQ",      "AL-QADR",     "AL-BAYYINA",    "AZ-ZALZALA",     "AL-ADIYAT ",
    "AL-QARIA",     "AT-TAKATHUR", "AL-ASR ",       "AL-HUMAZA",      "AL-FIL",
    "QURAISH",      "AL-MAUN",     "AL-KAUTHER",    "AL-KAFIROON",    "AN-NASR",
    "AL-MASADD",    "AL-IKHLAS",   "AL-FALAQ",      "AN-NAS",
};

}  // namespace

int SuraCatalogue::verseNo(int sura) {
    return sura >= 1 && sura <= kSuraCount ? kVerseNo[static_cast<size_t>(sura)] : 0;
}

const std::array<int16_t, SuraCatalogue::kSuraCount + 1>& SuraCatalogue::verseNoTable() {
    return kVerseNo;
}

std::string SuraCatalogue::listText(int sura) {
    if (sura < 1 || sura > kSuraCount) {
        return {};
    }
    return std::to_string(sura) + ". " + kSuraNames[sura - 1];
}

std::string SuraCatalogue::threeDigit(int number) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d", number);
    return text;
}

}  // namespace lumora
