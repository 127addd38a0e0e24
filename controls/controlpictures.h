#pragma once
// The pictures Lumora's controls draw: verse slider thumbs and rails, the volume slider's track, filled
// track and pointer, and the transport buttons in their normal and pressed forms. All are painted here in
// the panel's colours, so no picture files ship with the program.

#include <QColor>
#include <QImage>
#include <Qt>

namespace lumora {

enum class TransportButton { Play, Pause, Stop, Next, Previous };

class ControlPictures {
public:
    // The panel the controls sit on, and the text drawn on it.
    static QColor panelBackground() { return QColor(57, 49, 57); }
    static QColor panelText() { return QColor(227, 238, 227); }
    // Fill of the volume track up to the pointer, and the glyph colour of a pressed transport button.
    static QColor accent() { return QColor(192, 238, 192); }

    // The verse slider's thumb: long across the rail, short along it.
    static QImage verseThumb(Qt::Orientation orientation);
    // A rail picture lengthPx long along the slider's travel.
    static QImage verseRail(Qt::Orientation orientation, int lengthPx);

    // The volume slider's three pictures: the track is a wedge growing from left to right, the filled
    // track is the same wedge in the accent colour, the pointer a small upright knob.
    static QImage volumeTrack();
    static QImage volumeFill();
    static QImage volumePointer();

    static QImage transportButton(TransportButton button, bool pressed);
};

}  // namespace lumora
