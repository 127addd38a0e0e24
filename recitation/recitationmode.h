#pragma once
// The two ways of reciting: range mode follows the whole range between the Range Begin and Range End
// sliders; verse mode plays only the current verse.

namespace lumora {

enum class RecitationMode {
    Range,  // option 0 of the mode buttons, "Recite Range"
    Verse,  // option 1, "Recite Verse"
};

}  // namespace lumora
