#include "app/layoutstore.h"

#include <QStringList>
#include <cmath>

#include "settings/settingtext.h"

namespace lumora {

namespace {

const char* const kSource = "LayoutStore";
const char* const kMainSection = "Main";
const char* const kCurrentLayoutKey = "CurrentLayout";
// Stored geometry beyond this many twips (about 11 km at 96 dpi) is damage, not a window.
constexpr double kPositionLimit = 1e9;

const std::array<const char*, 4> kDefaultTransNames = {"Arabic - Uthmani script", "English - Oskarine",
                                                       "English - Brantwell", "English - Brantwell Commentary"};

QString paneKey(size_t index, const char* suffix)
{
    return QString::number(index + 1) + QLatin1String(suffix);
}

Error loadError(int32_t number, const QString& description)
{
    return Error{number, kSource, description.toStdString(), 0};
}

Error typeMismatch(const QString& section, const QString& key, const QString& text)
{
    return loadError(LayoutStore::kErrorTypeMismatch,
                     QStringLiteral("Type mismatch: %1 %2 is \"%3\"").arg(section, key, text));
}

// Reads the values of one layout section, each with its default, failing on the first that cannot be
// converted.
class SectionReader {
public:
    SectionReader(const IniFile& document, QString section) : m_document(document), m_section(std::move(section)) {}

    std::optional<QString> text(const QString& key) const { return m_document.value(m_section, key); }

    Result<bool> boolean(const QString& key, bool fallback) const
    {
        const std::optional<QString> stored = text(key);
        if (!stored) {
            return fallback;
        }
        const std::optional<bool> value = SettingText::toBoolean(*stored);
        if (!value) {
            return typeMismatch(m_section, key, *stored);
        }
        return *value;
    }

    Result<uint32_t> colour(const QString& key, uint32_t fallback) const
    {
        const std::optional<QString> stored = text(key);
        if (!stored) {
            return fallback;
        }
        const std::optional<uint32_t> value = SettingText::toColour(*stored);
        if (!value) {
            return typeMismatch(m_section, key, *stored);
        }
        return *value;
    }

    Result<double> real(const QString& key, double fallback) const
    {
        const std::optional<QString> stored = text(key);
        if (!stored) {
            return fallback;
        }
        const std::optional<double> value = SettingText::toReal(*stored);
        if (!value || !std::isfinite(*value)) {
            return typeMismatch(m_section, key, *stored);
        }
        return *value;
    }

    // nullopt when absent.
    Result<std::optional<QRectF>> position(const QString& key) const
    {
        const std::optional<QString> stored = text(key);
        if (!stored) {
            return std::optional<QRectF>();
        }
        Result<QRectF> parsed = LayoutStore::parsePosition(*stored);
        if (!parsed) {
            Error error = parsed.error();
            error.description = QStringLiteral("%1 %2: ").arg(m_section, key).toStdString() + error.description;
            return error;
        }
        return std::optional<QRectF>(parsed.value());
    }

private:
    const IniFile& m_document;
    QString m_section;
};

}  // namespace

LayoutStore::LayoutStore(SettingsStore& store, QString application)
    : m_store(store), m_application(std::move(application))
{
}

LayoutState LayoutStore::defaults()
{
    LayoutState state;
    for (size_t index = 0; index < state.panes.size(); ++index) {
        state.panes[index].transName = QString::fromLatin1(kDefaultTransNames[index]);
    }
    state.panes[0].fontSize = 33;
    return state;
}

Result<LayoutState> LayoutStore::load(const QString& layout, QSizeF screenTwips) const
{
    const IniFile document = m_store.read(m_application);
    const QString section = sectionName(layout);
    const SectionReader reader(document, section);
    LayoutState state = defaults();

// Takes the value of a read, or returns its error from load.
#define LUMORA_TAKE(target, read)           \
    do {                                    \
        auto taken = (read);                \
        if (!taken) {                       \
            return taken.error();           \
        }                                   \
        (target) = std::move(taken).value(); \
    } while (false)

    for (size_t index = 0; index < state.panes.size(); ++index) {
        LUMORA_TAKE(state.panes[index].visible, reader.boolean(QStringLiteral("chkVisible%1").arg(index + 1), true));
    }
    LUMORA_TAKE(state.alwaysOnTop, reader.boolean(QStringLiteral("AlwaysOnTop"), false));
    LUMORA_TAKE(state.showPanel, reader.boolean(QStringLiteral("ShowPanel"), true));
    for (size_t index = 0; index < state.panes.size(); ++index) {
        PaneLayout& pane = state.panes[index];
        LUMORA_TAKE(pane.backColour, reader.colour(paneKey(index, "Back"), pane.backColour));
        LUMORA_TAKE(pane.fontSize, reader.real(paneKey(index, "Size"), pane.fontSize));
        LUMORA_TAKE(pane.foreColour, reader.colour(paneKey(index, "Font"), pane.foreColour));
    }
    for (size_t index = 0; index < state.panes.size(); ++index) {
        if (const std::optional<QString> name = reader.text(paneKey(index, "TransName"))) {
            state.panes[index].transName = *name;
            state.panes[index].transNameStored = true;
        }
    }

    const std::optional<QString> storedPosition = reader.text(QStringLiteral("Position"));
    state.savedBefore = storedPosition.value_or(QString::fromLatin1(kFirstTime)) != QLatin1String(kFirstTime);

    if (const std::optional<QString> windowState = reader.text(QStringLiteral("WindowState"))) {
        const std::optional<int32_t> value = SettingText::toInteger(*windowState);
        if (!value) {
            return typeMismatch(section, QStringLiteral("WindowState"), *windowState);
        }
        if (*value != LayoutState::kNormal && *value != LayoutState::kMinimized && *value != LayoutState::kMaximized) {
            return loadError(kErrorInvalidValue,
                             QStringLiteral("Invalid property value: %1 WindowState is %2").arg(section).arg(*value));
        }
        state.windowState = *value;
    }
    if (state.windowState == LayoutState::kNormal) {
        std::optional<QRectF> position;
        LUMORA_TAKE(position, reader.position(QStringLiteral("Position")));
        state.windowPosition = position.value_or(defaultWindowPosition(screenTwips));
    }
    if (state.savedBefore) {
        for (size_t index = 0; index < state.panes.size(); ++index) {
            LUMORA_TAKE(state.panes[index].position, reader.position(paneKey(index, "Position")));
        }
    }
#undef LUMORA_TAKE
    return state;
}

Result<void> LayoutStore::save(const QString& layout, const LayoutState& state)
{
    SettingsStore::KeyValues values;
    values.emplace_back(QStringLiteral("AlwaysOnTop"), SettingText::fromBoolean(state.alwaysOnTop));
    values.emplace_back(QStringLiteral("ShowPanel"), SettingText::fromBoolean(state.showPanel));
    for (size_t index = 0; index < state.panes.size(); ++index) {
        const PaneLayout& pane = state.panes[index];
        values.emplace_back(paneKey(index, "Font"), SettingText::fromColour(pane.foreColour));
        values.emplace_back(paneKey(index, "Back"), SettingText::fromColour(pane.backColour));
        values.emplace_back(paneKey(index, "Size"), SettingText::fromReal(pane.fontSize));
        values.emplace_back(paneKey(index, "TransName"), pane.transName);
    }
    for (size_t index = 0; index < state.panes.size(); ++index) {
        values.emplace_back(QStringLiteral("chkVisible%1").arg(index + 1),
                            SettingText::fromBoolean(state.panes[index].visible));
    }
    if (state.windowState != LayoutState::kMinimized && state.windowPosition) {
        values.emplace_back(QStringLiteral("Position"), formatPosition(*state.windowPosition));
    }
    for (size_t index = 0; index < state.panes.size(); ++index) {
        if (state.panes[index].position) {
            values.emplace_back(paneKey(index, "Position"), formatPosition(*state.panes[index].position));
        }
    }
    values.emplace_back(QStringLiteral("WindowState"),
                        SettingText::fromInteger(state.windowState == LayoutState::kMaximized ? LayoutState::kMaximized
                                                                                              : LayoutState::kNormal));
    return m_store.save(m_application, sectionName(layout), values);
}

Result<void> LayoutStore::resetAll()
{
    for (int layout = 1; layout <= kLayoutCount; ++layout) {
        (void)m_store.deleteSection(m_application, sectionName(QString::number(layout)));
    }
    return setCurrentLayout(QStringLiteral("1"));
}

QString LayoutStore::currentLayout() const
{
    const QString stored = m_store.get(m_application, QLatin1String(kMainSection), QLatin1String(kCurrentLayoutKey),
                                       QStringLiteral("1"));
    const std::optional<int32_t> number = SettingText::toInteger(stored);
    return number && *number >= 1 && *number <= kLayoutCount ? QString::number(*number) : QStringLiteral("1");
}

Result<void> LayoutStore::setCurrentLayout(const QString& layout)
{
    return m_store.save(m_application, QLatin1String(kMainSection), QLatin1String(kCurrentLayoutKey), layout);
}

QString LayoutStore::nextLayout(const QString& layout)
{
    const int number = SettingText::toInteger(layout).value_or(0);
    return QString::number(number >= 1 && number < kLayoutCount ? number + 1 : 1);
}

QString LayoutStore::previousLayout(const QString& layout)
{
    const int number = SettingText::toInteger(layout).value_or(0);
    return QString::number(number > 1 && number <= kLayoutCount ? number - 1 : kLayoutCount);
}

QString LayoutStore::formatPosition(const QRectF& rect)
{
    return SettingText::fromReal(rect.x()) + u'|' + SettingText::fromReal(rect.y()) + u'|' +
           SettingText::fromReal(rect.height()) + u'|' + SettingText::fromReal(rect.width());
}

Result<QRectF> LayoutStore::parsePosition(const QString& text)
{
    const QStringList pieces = text.split(u'|');
    if (pieces.size() < 4) {
        return loadError(kErrorSubscript,
                         QStringLiteral("Subscript out of range: the position \"%1\" has fewer than four numbers").arg(text));
    }
    std::array<double, 4> numbers{};
    for (size_t index = 0; index < numbers.size(); ++index) {
        const QString& piece = pieces[static_cast<qsizetype>(index)];
        const std::optional<double> value = SettingText::toReal(piece);
        if (!value || !std::isfinite(*value) || std::fabs(*value) > kPositionLimit) {
            return loadError(kErrorTypeMismatch,
                             QStringLiteral("Type mismatch: \"%1\" in the position \"%2\"").arg(piece, text));
        }
        numbers[index] = *value;
    }
    return QRectF(numbers[0], numbers[1], numbers[3], numbers[2]);
}

QRectF LayoutStore::defaultWindowPosition(QSizeF screenTwips)
{
    return QRectF(0, 0, 0.9 * screenTwips.width(), 0.9 * screenTwips.height());
}

}  // namespace lumora
