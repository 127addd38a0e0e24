#pragma once
// How values are written as text in the settings store and configuration files: booleans as "True" and
// "False" (read back from words in any case or from numbers, 0 being false), integers in plain decimal,
// reals in their shortest decimal form, colours as the number red + 256 * green + 65536 * blue.
// Numbers always use "." as the decimal separator, whatever the user's locale, so a value reads back
// unchanged on any machine.

#include <QString>
#include <cstdint>
#include <optional>

namespace lumora {

namespace SettingText {

// "True"/"False" in any letter case, or a number (0 false, any other true); nullopt for anything else.
// Surrounding blanks are ignored.
std::optional<bool> toBoolean(const QString& text);
QString fromBoolean(bool value);

// Plain decimal with optional sign and surrounding blanks; nullopt when not a whole number in range.
std::optional<int32_t> toInteger(const QString& text);
// A number rounded to the nearest whole number, halves to the even neighbour ("2.5" gives 2).
std::optional<int32_t> toRoundedInteger(const QString& text);
QString fromInteger(int64_t value);

// A decimal number ("12.5", "-8", "1e+20", surrounding blanks allowed), or "inf", "-inf", "nan".
std::optional<double> toReal(const QString& text);
// The shortest decimal text that reads back as the same number ("14", "12.5", "-8").
QString fromReal(double value);
// The shortest decimal text that reads back as the same single-precision number: 0.1f gives "0.1",
// where fromReal(0.1f) would give the widened double's "0.10000000149011612".
QString fromSingle(float value);

// Colours numbers: red in the low byte, then green, then blue; 0 to 16777215.
QString fromColour(uint32_t colour);
std::optional<uint32_t> toColour(const QString& text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
double roundHalfEven(double value);

}  // namespace SettingText

}  // namespace lumora
