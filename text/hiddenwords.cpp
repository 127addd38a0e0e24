#include "text/hiddenwords.h"

namespace lumora {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\r' || c == u'\n' || c == u'\t'; }

// Walks a body: calls onTag(from, to) for each tag and onWord(from, to) for each word, in order.
template <typename TagFn, typename WordFn>
void walk(const QString& body, TagFn onTag, WordFn onWord) {
    qsizetype i = 0;
    const qsizetype n = body.size();
    while (i < n) {
        if (body[i] == u'<') {
            // A tag ends at the first '>' outside quotes; an unclosed tag runs to the end.
            const qsizetype from = i;
            QChar quote;
            for (++i; i < n; ++i) {
                if (!quote.isNull()) {
                    if (body[i] == quote) quote = QChar();
                } else if (body[i] == u'"' || body[i] == u'\'') {
                    quote = body[i];
                } else if (body[i] == u'>') {
                    ++i;
                    break;
                }
            }
            onTag(from, i);
        } else if (isBlank(body[i])) {
            onTag(i, i + 1);
            ++i;
        } else {
            const qsizetype from = i;
            while (i < n && body[i] != u'<' && !isBlank(body[i])) ++i;
            onWord(from, i);
        }
    }
}

}  // namespace

QString HiddenWords::blank(const QString& body, int firstHidden, const QString& colourHtml) {
    if (firstHidden < 0) return body;
    const QString open = QStringLiteral("<span style=\"color:#%1;background-color:#%1;\">").arg(colourHtml);
    const QString close = QStringLiteral("</span>");
    QString out;
    out.reserve(body.size() * 2);
    int word = 0;
    walk(
        body, [&](qsizetype from, qsizetype to) { out += QStringView(body).mid(from, to - from); },
        [&](qsizetype from, qsizetype to) {
            const QStringView text = QStringView(body).mid(from, to - from);
            if (word++ >= firstHidden) {
                out += open;
                out += text;
                out += close;
            } else {
                out += text;
            }
        });
    return out;
}

int HiddenWords::wordCount(const QString& body) {
    int words = 0;
    walk(
        body, [](qsizetype, qsizetype) {}, [&words](qsizetype, qsizetype) { ++words; });
    return words;
}

uint32_t HiddenWords::boxColour(uint32_t backColour, uint32_t foreColour) {
    uint32_t colour = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int back = static_cast<int>((backColour >> shift) & 0xFF);
        const int fore = static_cast<int>((foreColour >> shift) & 0xFF);
        colour |= static_cast<uint32_t>(back + (fore - back) / 5) << shift;
    }
    return colour;
}

}  // namespace lumora
