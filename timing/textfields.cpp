#include "timing/textfields.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace lumora::textfields {

std::string_view trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::string_view::npos; at = text.find(separator, start)) {
        fields.push_back(trim(text.substr(start, at - start)));
        start = at + 1;
    }
    fields.push_back(trim(text.substr(start)));
    return fields;
}

Lines::Lines(std::string_view text) : m_text(text) {
    if (m_text.substr(0, 3) == "\xEF\xBB\xBF") m_text.remove_prefix(3);
}

bool Lines::next(std::string_view& line) {
    if (m_start >= m_text.size()) return false;
    size_t end = m_text.find('\n', m_start);
    if (end == std::string_view::npos) end = m_text.size();
    line = m_text.substr(m_start, end - m_start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    m_start = end + 1;
    ++m_count;
    return true;
}

size_t fieldCount(std::string_view text, char separator) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), separator)) + 1;
}

std::optional<int64_t> wholeNumber(std::string_view text) {
    text = trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<double> decimal(std::string_view text) {
    text = trim(text);
    for (char c : text) {
        if ((c < '0' || c > '9') && c != '.' && c != '-') return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value,
                                              std::chars_format::fixed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string quoted(std::string_view text) {
    std::string shown(text.substr(0, 24));
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    }
    return "\"" + shown + (text.size() > 24 ? "...\"" : "\"");
}

}  // namespace lumora::textfields
