#include "settings/settingtext.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace lumora {

namespace SettingText {

namespace {

// The trimmed text as ASCII bytes, or nullopt when it holds anything else (no number does).
std::optional<std::string> asciiOf(const QString& text)
{
    const QString trimmed = text.trimmed();
    std::string bytes;
    bytes.reserve(static_cast<size_t>(trimmed.size()));
    for (QChar c : trimmed) {
        if (c.unicode() == 0 || c.unicode() > 0x7F) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(c.unicode()));
    }
    return bytes;
}

std::optional<int64_t> toWhole(const QString& text)
{
    const std::optional<std::string> ascii = asciiOf(text);
    if (!ascii) {
        return std::nullopt;
    }
    const char* first = ascii->data();
    const char* last = first + ascii->size();
    bool negative = false;
    if (first != last && (*first == '+' || *first == '-')) {
        negative = *first == '-';
        ++first;
    }
    if (first == last || *first < '0' || *first > '9') {
        return std::nullopt;
    }
    // Magnitudes up to 2^63 - 1 parse; that covers every value the callers accept.
    int64_t magnitude = 0;
    const auto [end, error] = std::from_chars(first, last, magnitude);
    if (error != std::errc() || end != last) {
        return std::nullopt;
    }
    return negative ? -magnitude : magnitude;
}

}  // namespace

std::optional<bool> toBoolean(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (trimmed.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
        return false;
    }
    const std::optional<double> number = toReal(trimmed);
    if (!number || std::isnan(*number)) {
        return std::nullopt;
    }
    return *number != 0.0;
}

QString fromBoolean(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

std::optional<int32_t> toInteger(const QString& text)
{
    const std::optional<int64_t> whole = toWhole(text);
    if (!whole || *whole < std::numeric_limits<int32_t>::min() || *whole > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(*whole);
}

std::optional<int32_t> toRoundedInteger(const QString& text)
{
    const std::optional<double> number = toReal(text);
    if (!number || !std::isfinite(*number)) {
        return std::nullopt;
    }
    const double rounded = roundHalfEven(*number);
    if (rounded < std::numeric_limits<int32_t>::min() || rounded > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(rounded);
}

QString fromInteger(int64_t value)
{
    return QString::number(value);
}

std::optional<double> toReal(const QString& text)
{
    const std::optional<std::string> ascii = asciiOf(text);
    if (!ascii || ascii->empty()) {
        return std::nullopt;
    }
    const char* first = ascii->data();
    const char* last = first + ascii->size();
    if (*first == '+') {
        ++first;
        if (first == last || *first == '-' || *first == '+') {
            return std::nullopt;
        }
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

QString fromReal(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString fromSingle(float value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString fromColour(uint32_t colour)
{
    return QString::number(colour);
}

std::optional<uint32_t> toColour(const QString& text)
{
    const std::optional<int64_t> whole = toWhole(text);
    if (!whole || *whole < 0 || *whole > 0xFFFFFF) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(*whole);
}

double roundHalfEven(double value)
{
    if (!std::isfinite(value)) {
        return value;
    }
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5) {
        return lower + 1.0;
    }
    if (fraction < 0.5) {
        return lower;
    }
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

}  // namespace SettingText

}  // namespace lumora
