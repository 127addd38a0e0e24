#include "timing/jsontimings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <cmath>
#include <optional>
#include <utility>

#include "timing/textfields.h"

namespace lumora {

namespace {

class Walker {
public:
    explicit Walker(const std::string& file) : m_file(file) {}

    // Visits every value below `value`; stops at the first fault.
    bool visit(const QJsonValue& value) {
        if (value.isArray()) {
            for (const QJsonValue& item : value.toArray()) {
                if (!visit(item)) return false;
            }
        } else if (value.isObject()) {
            return visitObject(value.toObject());
        }
        return true;
    }

    std::vector<VerseMark> marks;
    Error error;

private:
    bool visitObject(const QJsonObject& object) {
        if (object.contains(QStringLiteral("verse_key")) &&
            (object.contains(QStringLiteral("timestamp_from")) || object.contains(QStringLiteral("timestamp_to")))) {
            const QJsonValue key = object.value(QStringLiteral("verse_key"));
            if (!key.isString()) return fail("", "a verse_key is not a text of the form S:V");
            return timed(key.toString(), object.value(QStringLiteral("timestamp_from")),
                         object.value(QStringLiteral("timestamp_to")));
        }
        for (auto it = object.begin(); it != object.end(); ++it) {
            const QJsonValue value = it.value();
            if (keyParts(it.key())) {
                if (value.isArray()) {
                    const QJsonArray pair = value.toArray();
                    if (pair.size() < 1 || pair.size() > 2) {
                        return fail("entry " + it.key().toStdString(), "expected [start_ms, end_ms]");
                    }
                    if (!timed(it.key(), pair.at(0), pair.size() == 2 ? pair.at(1) : QJsonValue())) return false;
                    continue;
                }
                if (value.isObject() && (value.toObject().contains(QStringLiteral("timestamp_from")) ||
                                         value.toObject().contains(QStringLiteral("timestamp_to")))) {
                    const QJsonObject times = value.toObject();
                    if (!timed(it.key(), times.value(QStringLiteral("timestamp_from")),
                               times.value(QStringLiteral("timestamp_to")))) {
                        return false;
                    }
                    continue;
                }
            }
            if (!visit(value)) return false;
        }
        return true;
    }

    // "S:V" as two numbers; nothing for other texts.
    static std::optional<std::pair<int64_t, int64_t>> keyParts(const QString& key) {
        const std::string text = key.toStdString();
        const size_t colon = text.find(':');
        if (colon == std::string::npos) return std::nullopt;
        const auto s = textfields::wholeNumber(std::string_view(text).substr(0, colon));
        const auto v = textfields::wholeNumber(std::string_view(text).substr(colon + 1));
        if (!s || !v) return std::nullopt;
        return std::pair{*s, *v};
    }

    bool timed(const QString& key, const QJsonValue& from, const QJsonValue& to) {
        const std::string where = "entry " + key.toStdString();
        VerseMark mark;
        const auto parts = keyParts(key);
        if (!parts) return fail("", "the verse key " + textfields::quoted(key.toStdString()) + " is not of the form S:V");
        const auto [sura, verse] = *parts;
        if (sura < 1 || sura > 114) return fail(where, "there is no sura " + std::to_string(sura));
        if (verse < 0 || verse > 100000) return fail(where, "verse " + std::to_string(verse) + " is out of range");
        mark.sura = static_cast<int>(sura);
        mark.verse = static_cast<int>(verse);
        mark.where = where;
        int64_t startMs = 0;
        if (!number(from, "timestamp_from", where, startMs)) return false;
        mark.startMs = startMs;
        if (!to.isUndefined() && !to.isNull()) {
            int64_t endMs = 0;
            if (!number(to, "timestamp_to", where, endMs)) return false;
            mark.endMs = endMs;
        }
        if (marks.size() == VerseMarks::kMaxMarks) {
            error = VerseMarks::tooManyMarks(m_file, where);
            return false;
        }
        marks.push_back(std::move(mark));
        return true;
    }

    bool number(const QJsonValue& value, const char* name, const std::string& where, int64_t& out) {
        if (value.isUndefined() || value.isNull()) return fail(where, std::string(name) + " is missing");
        if (value.isString()) {
            return fail(where, std::string(name) + " holds the text " +
                                   textfields::quoted(value.toString().toStdString()) + ", not a number");
        }
        const double ms = value.toDouble(std::nan(""));
        if (!value.isDouble() || !std::isfinite(ms) || std::fabs(ms) > 1e15) {
            return fail(where, std::string(name) + " is not a number");
        }
        out = std::llround(ms);
        return true;
    }

    bool fail(const std::string& where, const std::string& what) {
        error = VerseMarks::fault(m_file, where, what);
        return false;
    }

    std::string m_file;
};

}  // namespace

Result<std::vector<VerseMark>> JsonTimings::read(const std::vector<uint8_t>& bytes, const std::string& file) {
    if (bytes.empty()) return VerseMarks::fault(file, "", "the file is empty");
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(data, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        const auto offset = std::min<qsizetype>(std::max(parseError.offset, 0), data.size());
        const qsizetype line = data.left(offset).count('\n') + 1;
        return VerseMarks::fault(file, "line " + std::to_string(line),
                                 "the JSON is damaged (" + parseError.errorString().toStdString() + ")");
    }
    Walker walker(file);
    if (!walker.visit(document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object()))) {
        return walker.error;
    }
    if (walker.marks.empty()) {
        return VerseMarks::fault(file, "",
                                 "it holds no verse timings (no verse_key with timestamp_from, nor \"S:V\" keys)");
    }
    return std::move(walker.marks);
}

}  // namespace lumora
