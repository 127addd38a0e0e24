#include "app/equalizerdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QVBoxLayout>
#include <cmath>

#include "app/appicon.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/verseslider.h"
#include "settings/settingsstore.h"
#include "settings/settingtext.h"

namespace lumora {

const QString EqualizerDialog::kBuiltInMarker = QStringLiteral("~*(");
const QString EqualizerDialog::kNoPreset = QStringLiteral("(Select preset)");
const QString EqualizerDialog::kBuiltInPresets = QStringLiteral(
    "~*(Preset 1|9|8|6|3|0|-3|-5|-6|-7|-7#"
    "~*(Preset 2|0|0|8|6|6|6|3|0|0|0#"
    "~*(Preset 3|10|7|2|0|0|-6|-7|-7|0|0#"
    "~*(Preset 4|-8|10|10|6|2|-4|-8|-10|-11|-11#"
    "~*(Preset 5|10|10|6|6|0|-5|-5|-5|0|0#"
    "~*(Preset 6|-5|0|4|6|6|6|4|2|2|2#"
    "~*(Preset 7|7|7|0|0|0|0|0|0|7|7#"
    "~*(Preset 8|-2|5|7|8|6|0|-2|-2|-2|-2#"
    "~*(Preset 9|4|4|2|0|-4|-6|-3|0|2|9#"
    "~*(Preset 10|6|6|3|3|1|-2|-2|-2|1|4#"
    "~*(Preset 11|0|0|0|0|0|0|-7|-7|-7|-10#"
    "~*(Preset 12|0|8|11|13|-11|-4|2|-14|-10|-3#"
    "~*(Preset 13|0|0|0|0|0|0|0|0|0|0#");

namespace {

const QString kSection = QStringLiteral("EQ");
const QString kUserKey = QStringLiteral("Usr");
constexpr int kRecordIndexRole = Qt::UserRole;
constexpr int kUserPresetRole = Qt::UserRole + 1;

const char* const kBandCaptions[EqualizerDialog::kBands] = {"60", "170", "310", "600", "1K",
                                                            "3K", "6K",  "12K", "14K", "16K"};

// A stored gain placed on a slider: the nearest whole number (halves to even), held to the slider's range.
int sliderValueOf(float gainDb) {
    const double whole = std::nearbyint(static_cast<double>(gainDb));
    if (!(whole >= EqualizerDialog::kMinGainDb))
        return EqualizerDialog::kMinGainDb;
    if (whole > EqualizerDialog::kMaxGainDb)
        return EqualizerDialog::kMaxGainDb;
    return static_cast<int>(whole);
}

}  // namespace

EqualizerDialog::EqualizerDialog(SettingsStore& settings, const QString& application, EqualizerSettings& shared,
                                 PlayerHooks hooks, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_application(application), m_shared(shared), m_hooks(std::move(hooks)) {
    setWindowTitle(QStringLiteral("Equalizer"));
    setWindowIcon(AppIcon::icon());
    m_askName = [this]() -> std::optional<QString> {
        bool ok = false;
        const QString name = QInputDialog::getText(this, QStringLiteral("Save Preset"),
                                                   QStringLiteral("Enter preset name"), QLineEdit::Normal,
                                                   QString(), &ok);
        if (!ok)
            return std::nullopt;
        return name;
    };
    buildControls();
    loadPresets();
    loadSettings();
}

EqualizerDialog::~EqualizerDialog() = default;

void EqualizerDialog::buildControls() {
    auto* sliders = new QGridLayout;
    auto* top = new QLabel(QStringLiteral("+15db"));
    auto* middle = new QLabel(QStringLiteral("0db"));
    auto* bottom = new QLabel(QStringLiteral("-15db"));
    sliders->addWidget(top, 0, 0, Qt::AlignTop | Qt::AlignRight);
    sliders->addWidget(middle, 0, 0, Qt::AlignVCenter | Qt::AlignRight);
    sliders->addWidget(bottom, 0, 0, Qt::AlignBottom | Qt::AlignRight);
    for (int band = 0; band < kBands; ++band) {
        auto* slider = new VerseSlider(this);
        slider->setOrientation(Qt::Vertical);
        slider->setShowValueTip(false);
        (void)slider->model()->setMax(kMaxGainDb);
        (void)slider->model()->setMin(kMinGainDb);
        slider->setMinimumHeight(150);
        m_sliders[static_cast<size_t>(band)] = slider;
        connect(slider->model(), &VerseSliderModel::changed, this, &EqualizerDialog::onSliderChanged);
        sliders->addWidget(slider, 0, band + 1, Qt::AlignHCenter);
        sliders->addWidget(new QLabel(QString::fromLatin1(kBandCaptions[band])), 1, band + 1, Qt::AlignHCenter);
    }

    m_chkDsp = new QCheckBox(QStringLiteral("Equalizer Enabled"), this);
    connect(m_chkDsp, &QCheckBox::toggled, this, &EqualizerDialog::onEnabledToggled);

    m_cmbPresets = new QComboBox(this);
    m_cmbPresets->setMinimumContentsLength(16);
    connect(m_cmbPresets, &QComboBox::currentIndexChanged, this, &EqualizerDialog::choosePreset);
    // Choosing the preset already shown applies it again (its gains, and Delete for a user preset).
    connect(m_cmbPresets, &QComboBox::activated, this, &EqualizerDialog::choosePreset);

    m_cmdSave = new OwnerDrawnButton(QStringLiteral("&Save to Presets"), this);
    m_cmdDelete = new OwnerDrawnButton(QStringLiteral("&Delete"), this);
    m_cmdClose = new OwnerDrawnButton(QStringLiteral("&Close"), this);
    connect(m_cmdSave, &OwnerDrawnButton::click, this, &EqualizerDialog::savePreset);
    connect(m_cmdDelete, &OwnerDrawnButton::click, this, &EqualizerDialog::deletePreset);
    connect(m_cmdClose, &OwnerDrawnButton::click, this, &QDialog::accept);

    auto* presets = new QHBoxLayout;
    presets->addWidget(new QLabel(QStringLiteral("Presets:")));
    presets->addWidget(m_cmbPresets, 1);
    presets->addWidget(m_cmdSave);
    presets->addWidget(m_cmdDelete);

    auto* bottomRow = new QHBoxLayout;
    bottomRow->addWidget(m_chkDsp);
    bottomRow->addStretch(1);
    bottomRow->addWidget(m_cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sliders);
    layout->addLayout(presets);
    layout->addLayout(bottomRow);
}

QString EqualizerDialog::userPresets() const {
    return m_settings.get(m_application, kSection, kUserKey, QString());
}

void EqualizerDialog::loadPresets() {
    const bool wasLoading = m_loading;
    m_loading = true;
    m_presets = (kBuiltInPresets + userPresets()).split(QLatin1Char('#'));
    m_cmbPresets->clear();
    m_cmbPresets->addItem(kNoPreset);
    for (int i = 0; i < m_presets.size(); ++i) {
        const QString& record = m_presets.at(i);
        if (record.trimmed().isEmpty())
            continue;
        const QString name = record.section(QLatin1Char('|'), 0, 0);
        const bool builtIn = record.startsWith(kBuiltInMarker);
        m_cmbPresets->addItem(builtIn ? name.mid(kBuiltInMarker.size()) : name);
        // Each item keeps the index of its record, so stray empty records cannot shift the pairing.
        m_cmbPresets->setItemData(m_cmbPresets->count() - 1, i, kRecordIndexRole);
        m_cmbPresets->setItemData(m_cmbPresets->count() - 1, !builtIn, kUserPresetRole);
    }
    m_loading = wasLoading;
    m_cmbPresets->setCurrentIndex(0);
    m_cmdDelete->setVisible(false);
}

void EqualizerDialog::loadSettings() {
    m_loading = true;
    for (int band = 0; band < kBands; ++band)
        (void)bandSlider(band)->model()->setValue(sliderValueOf(m_shared.gainsDb[static_cast<size_t>(band)]));
    // The preset whose gains the sliders show, if any; choosing it here applies nothing.
    const auto shown = presetGains(QStringLiteral("|") + slidersRecord());
    for (int item = 1; item < m_cmbPresets->count(); ++item) {
        const int record = m_cmbPresets->itemData(item, kRecordIndexRole).toInt();
        if (presetGains(m_presets.at(record)) == shown) {
            m_cmbPresets->setCurrentIndex(item);
            break;
        }
    }
    m_chkDsp->setChecked(m_shared.enabled);
    m_loading = false;
}

std::optional<std::array<int, EqualizerDialog::kBands>> EqualizerDialog::presetGains(const QString& record) {
    const QStringList fields = record.split(QLatin1Char('|'));
    if (fields.size() < kBands + 1)
        return std::nullopt;
    std::array<int, kBands> gains{};
    for (int band = 0; band < kBands; ++band) {
        bool ok = false;
        const double value = fields.at(band + 1).trimmed().toDouble(&ok);
        if (!ok)
            return std::nullopt;
        gains[static_cast<size_t>(band)] = sliderValueOf(static_cast<float>(value));
    }
    return gains;
}

QString EqualizerDialog::slidersRecord() const {
    QStringList values;
    for (int band = 0; band < kBands; ++band)
        values << QString::number(bandSlider(band)->model()->value());
    return values.join(QLatin1Char('|'));
}

bool EqualizerDialog::isUserPreset(int index) const {
    return index > 0 && m_cmbPresets->itemData(index, kUserPresetRole).toBool();
}

void EqualizerDialog::choosePreset(int index) {
    if (m_loading)
        return;
    if (index <= 0) {
        m_cmdDelete->setVisible(false);
        return;
    }
    const int record = m_cmbPresets->itemData(index, kRecordIndexRole).toInt();
    if (const auto gains = presetGains(m_presets.value(record))) {
        // Each slider whose value changes applies the gains once.
        for (int band = 0; band < kBands; ++band)
            (void)bandSlider(band)->model()->setValue((*gains)[static_cast<size_t>(band)]);
    }
    m_cmdDelete->setVisible(isUserPreset(index));
}

void EqualizerDialog::onSliderChanged() {
    if (m_loading)
        return;
    for (int band = 0; band < kBands; ++band)
        m_shared.gainsDb[static_cast<size_t>(band)] = static_cast<float>(bandSlider(band)->model()->value());
    if (m_hooks.setEqualizerValue)
        m_hooks.setEqualizerValue();
}

void EqualizerDialog::onEnabledToggled(bool checked) {
    if (m_loading)
        return;
    m_shared.enabled = checked;
    if (m_hooks.enableEqualiser)
        m_hooks.enableEqualiser(checked);
}

void EqualizerDialog::savePreset() {
    const std::optional<QString> answer = m_askName ? m_askName() : std::nullopt;
    if (!answer)
        return;
    // "|" and "#" separate fields and records, so a name cannot hold them.
    QString name = *answer;
    name.remove(QLatin1Char('|')).remove(QLatin1Char('#'));
    if (name.trimmed().isEmpty())
        return;
    const QString list = userPresets() + name + QLatin1Char('|') + slidersRecord() + QLatin1Char('#');
    (void)m_settings.save(m_application, kSection, kUserKey, list);
    loadPresets();
}

void EqualizerDialog::deletePreset() {
    const int index = m_cmbPresets->currentIndex();
    if (!isUserPreset(index))
        return;
    const QString name = m_cmbPresets->itemText(index);
    QString kept;
    for (const QString& record : userPresets().split(QLatin1Char('#'))) {
        if (record.trimmed().isEmpty() || record.section(QLatin1Char('|'), 0, 0) == name)
            continue;
        kept += record + QLatin1Char('#');
    }
    (void)m_settings.save(m_application, kSection, kUserKey, kept);
    loadPresets();
}

void EqualizerDialog::storeSettings() {
    SettingsStore::KeyValues values;
    values.emplace_back(QStringLiteral("EQEnabled"), SettingText::fromBoolean(m_shared.enabled));
    for (int band = 0; band < kBands; ++band)
        values.emplace_back(QStringLiteral("Val%1").arg(band),
                            SettingText::fromSingle(m_shared.gainsDb[static_cast<size_t>(band)]));
    (void)m_settings.save(m_application, kSection, values);
}

void EqualizerDialog::done(int result) {
    if (!m_stored) {
        m_stored = true;
        storeSettings();
    }
    QDialog::done(result);
}

}  // namespace lumora
