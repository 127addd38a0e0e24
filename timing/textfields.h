#pragma once
// The small text parsing the line-based timing formats share: blanks trimmed, fields split, numbers read
// whatever the locale, and nothing accepted past a number's last digit.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumora::textfields {

// Without blanks, tabs and a carriage return at either end.
std::string_view trim(std::string_view text);
// The fields between separators, each trimmed; "a,,b" gives three fields.
std::vector<std::string_view> split(std::string_view text, char separator);
// The lines of a text one at a time (LF or CR LF), without a UTF-8 byte order mark at its start. No list of
// them is made, so a text of nothing but line ends costs no more memory than its own bytes.
class Lines {
public:
    explicit Lines(std::string_view text);
    // The next line; false after the last. index() is then that line's number from 0.
    bool next(std::string_view& line);
    size_t index() const { return m_count - 1; }
    // True when the text holds no line at all (it is empty, but for a byte order mark).
    bool none() const { return m_text.empty(); }

private:
    std::string_view m_text;
    size_t m_start = 0;
    size_t m_count = 0;
};
// How many fields split() would give, without making them.
size_t fieldCount(std::string_view text, char separator);
// A whole decimal number, optionally signed, with nothing else around it but blanks.
std::optional<int64_t> wholeNumber(std::string_view text);
// A decimal number such as "12.345"; no exponent, no infinity, no "nan".
std::optional<double> decimal(std::string_view text);
// Text quoted for a message, shortened when long.
std::string quoted(std::string_view text);

}  // namespace lumora::textfields
