#pragma once
// The equalizer dialog: switches the player's ten-band equalizer on and off, moves the ten band gains
// (heard while the sliders move), picks one of thirteen built-in presets or one of the user's own, saves
// the current gains as a named preset and deletes the user's presets. The on/off flag and the gains are
// stored ("EQ" section: "EQEnabled", "Val0".."Val9") when the dialog closes; the user's presets ("Usr")
// are stored as they change.
//
// A preset is one record "name|g0|g1|...|g9" followed by "#"; a list of presets is the records one after
// another. Built-in presets carry the marker "~*(" before their name, which the box does not show, and
// cannot be deleted.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

#include "audio/equalizersettings.h"

class QCheckBox;
class QComboBox;

namespace lumora {

class OwnerDrawnButton;
class SettingsStore;
class VerseSlider;

class EqualizerDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kBands = 10;
    static constexpr int kMinGainDb = -15;
    static constexpr int kMaxGainDb = 15;
    static const QString kBuiltInMarker;   // "~*("
    static const QString kBuiltInPresets;  // the thirteen built-in records
    static const QString kNoPreset;        // "(Select preset)"

    // What the dialog does to the player: switch the equalizer (on: enable, then apply the shared gains)
    // and apply the shared gains.
    struct PlayerHooks {
        std::function<void(bool enable)> enableEqualiser;
        std::function<void()> setEqualizerValue;
    };

    // `shared` is the program's equalizer state: the dialog edits it in place and the hooks read it.
    EqualizerDialog(SettingsStore& settings, const QString& application, EqualizerSettings& shared,
                    PlayerHooks hooks, QWidget* parent = nullptr);
    ~EqualizerDialog() override;

    // Asks for a preset name; nullopt when cancelled. By default an input box "Enter preset name" titled
    // "Save Preset".
    void setPresetNameAsker(std::function<std::optional<QString>()> asker) { m_askName = std::move(asker); }

    // Fills the preset box from the built-in list and the stored user presets; selects "(Select preset)".
    void loadPresets();
    // The preset box's choice of item `index`.
    void choosePreset(int index);
    // "&Save to Presets": the current gains under a name asked for; an empty name does nothing.
    void savePreset();
    // "&Delete": removes every user preset with the chosen preset's name.
    void deletePreset();

    VerseSlider* bandSlider(int band) const { return m_sliders.at(static_cast<size_t>(band)); }
    QCheckBox* enabledBox() const { return m_chkDsp; }
    QComboBox* presetBox() const { return m_cmbPresets; }
    OwnerDrawnButton* saveButton() const { return m_cmdSave; }
    OwnerDrawnButton* deleteButton() const { return m_cmdDelete; }
    OwnerDrawnButton* closeButton() const { return m_cmdClose; }

    // The ten gains of a preset record, nullopt when it has fewer than ten numeric fields.
    static std::optional<std::array<int, kBands>> presetGains(const QString& record);

    // Closing by the Close button, the window's close or Escape stores the settings.
    void done(int result) override;

private:
    void buildControls();
    void loadSettings();
    void storeSettings();
    void onSliderChanged();
    void onEnabledToggled(bool checked);
    QString userPresets() const;
    QString slidersRecord() const;
    bool isUserPreset(int index) const;

    SettingsStore& m_settings;
    QString m_application;
    EqualizerSettings& m_shared;
    PlayerHooks m_hooks;
    std::function<std::optional<QString>()> m_askName;

    // The built-in records, then the user's, split at "#"; the box's items keep their record's index.
    QStringList m_presets;
    bool m_loading = false;
    bool m_stored = false;

    std::array<VerseSlider*, kBands> m_sliders{};
    QCheckBox* m_chkDsp = nullptr;
    QComboBox* m_cmbPresets = nullptr;
    OwnerDrawnButton* m_cmdSave = nullptr;
    OwnerDrawnButton* m_cmdDelete = nullptr;
    OwnerDrawnButton* m_cmdClose = nullptr;
};

}  // namespace lumora
