// Writes a picture of every control in its states to gallery/<control>.png in the test's working folder
// (the build's tests folder), for a person to look over. Each state must also look different from the
// control's first state, which catches a state that is not drawn at all.
#include <QDir>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/controlpictures.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/picturebutton.h"
#include "controls/pictureslider.h"
#include "controls/textpane.h"
#include "controls/tickruler.h"
#include "controls/valuetip.h"
#include "controls/verseslider.h"
#include "widgetinput.h"

namespace lumora {
namespace {

class GallerySheet {
public:
    void add(const QString& label, const QImage& picture) {
        if (!m_states.empty()) {
            EXPECT_NE(picture, m_states.front().second) << label.toStdString() << " looks like the first state";
        }
        m_states.emplace_back(label, picture);
    }

    // Drawn over the panel's colour, as the control sits on the panel.
    void add(const QString& label, QWidget& widget) { add(label, onPanel(widget)); }

    static QImage onPanel(QWidget& widget) {
        QImage picture(widget.size(), QImage::Format_ARGB32_Premultiplied);
        picture.fill(ControlPictures::panelBackground());
        widget.render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
        return picture;
    }

    void save(const QString& name) const {
        constexpr int kMarginPx = 12;
        constexpr int kLabelPx = 18;
        int width = kMarginPx;
        int height = 0;
        for (const auto& [label, picture] : m_states) {
            width += std::max(picture.width(), 90) + kMarginPx;
            height = std::max(height, picture.height());
        }
        QImage sheet(width, height + kLabelPx + 2 * kMarginPx, QImage::Format_ARGB32_Premultiplied);
        sheet.fill(ControlPictures::panelBackground().darker(130));
        QPainter painter(&sheet);
        painter.setPen(ControlPictures::panelText());
        int x = kMarginPx;
        for (const auto& [label, picture] : m_states) {
            painter.drawImage(x, kMarginPx, picture);
            painter.drawText(QRect(x, kMarginPx + height + 2, std::max(picture.width(), 90), kLabelPx),
                             Qt::AlignLeft | Qt::AlignVCenter, label);
            x += std::max(picture.width(), 90) + kMarginPx;
        }
        painter.end();
        ASSERT_TRUE(QDir().mkpath("gallery"));
        const QString path = QStringLiteral("gallery/%1.png").arg(name);
        ASSERT_TRUE(sheet.save(path)) << path.toStdString();
    }

private:
    std::vector<std::pair<QString, QImage>> m_states;
};

// The slider with its value tip drawn above it, as the user sees it while holding the thumb.
QImage sliderWithTip(VerseSlider& slider) {
    const ValueTip* tip = slider.valueTip();
    const QImage body = GallerySheet::onPanel(slider);
    if (tip == nullptr) return body;
    const QImage tipPicture = const_cast<ValueTip*>(tip)->grab().toImage();
    const QPoint tipAt = slider.mapFromGlobal(tip->pos());
    QImage both(body.width(), body.height() + tipPicture.height() + ValueTip::kGapAboveThumbPx,
                QImage::Format_ARGB32_Premultiplied);
    both.fill(ControlPictures::panelBackground());
    QPainter painter(&both);
    const int shift = both.height() - body.height();
    painter.drawImage(0, shift, body);
    painter.drawImage(tipAt.x(), tipAt.y() + shift, tipPicture);
    return both;
}

TEST(ControlsGalleryTest, VerseSlider) {
    GallerySheet sheet;
    VerseSlider slider;
    slider.setOrientation(Qt::Horizontal);
    slider.setBackColor(ControlPictures::panelBackground());
    slider.resize(220, slider.minimumHeight());
    slider.show();
    ASSERT_TRUE(slider.model()->setMax(20).ok());
    ASSERT_TRUE(slider.model()->setValue(6).ok());
    sheet.add("enabled", slider);
    slider.model()->setSura(9);
    test::press(&slider, slider.thumbRect().center());
    test::dragTo(&slider, slider.thumbRect().center() + QPoint(44, 0));
    sheet.add("held, sura 9", sliderWithTip(slider));
    test::release(&slider, slider.thumbRect().center());
    slider.setEnabled(false);
    sheet.add("disabled", slider);
    slider.setEnabled(true);
    for (int style = VerseSlider::kRaisedEdgeRail; style <= VerseSlider::kNoEdgeRail; ++style) {
        slider.setRailStyle(style);
        sheet.add(QStringLiteral("rail %1").arg(style), slider);
    }
    slider.setRailImage(ControlPictures::verseRail(Qt::Horizontal, 210));
    slider.setRailStyle(VerseSlider::kRailImageStyle);
    sheet.add("rail picture", slider);

    VerseSlider vertical;
    vertical.setBackColor(ControlPictures::panelBackground());
    vertical.resize(vertical.minimumWidth(), 120);
    ASSERT_TRUE(vertical.model()->setValue(7).ok());
    sheet.add("vertical", vertical);
    sheet.save("verseslider");
}

TEST(ControlsGalleryTest, PictureSlider) {
    GallerySheet sheet;
    PictureSlider slider;
    slider.setMaskColor(ControlPictures::panelBackground());
    slider.setImageSlider(ControlPictures::volumeTrack());
    slider.setImageLeft(ControlPictures::volumeFill());
    slider.setImagePointer(ControlPictures::volumePointer());
    ASSERT_TRUE(slider.setMax(1000).ok());
    slider.setCurPosition(600);
    sheet.add("enabled", slider);
    slider.setCurPosition(200);
    sheet.add("20%", slider);
    slider.setCurPosition(600);
    slider.setEnabled(false);
    sheet.add("disabled, lighter", slider);
    slider.setDisabledStyle(PictureSlider::kDarkenWhenDisabled);
    slider.setDisabledIntense(60);
    sheet.add("disabled, darker", slider);
    sheet.save("pictureslider");
}

TEST(ControlsGalleryTest, OwnerDrawnButton) {
    GallerySheet sheet;
    QWidget window;
    OwnerDrawnButton button("&Range Begin", &window);
    button.setBackColor(ControlPictures::panelBackground());
    button.setForeColor(ControlPictures::panelText());
    button.setForeColorChecked(ControlPictures::accent());
    button.resize(button.sizeHint() + QSize(12, 6));
    window.show();
    sheet.add("up", button);
    test::press(&button, QPoint(5, 5));
    sheet.add("pressed", button);
    test::release(&button, QPoint(5, 5));
    button.setCheckBox(true);
    button.setChecked(true);
    sheet.add("checked", button);
    button.setChecked(false);
    button.setEnabled(false);
    sheet.add("disabled", button);
    button.setEnabled(true);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    button.setFocus();
    sheet.add("focused", button);
    button.clearFocus();
    for (const int type : {OwnerDrawnButton::kFlatButton, OwnerDrawnButton::kClassicButton}) {
        button.setButtonType(type);
        sheet.add(QStringLiteral("type %1").arg(type), button);
        button.setChecked(true);
        sheet.add(QStringLiteral("type %1 down").arg(type), button);
        button.setChecked(false);
    }
    sheet.save("ownerdrawnbutton");
}

TEST(ControlsGalleryTest, TransportButtons) {
    GallerySheet sheet;
    const std::vector<std::pair<TransportButton, QString>> buttons = {
        {TransportButton::Play, "play"},   {TransportButton::Pause, "pause"},
        {TransportButton::Stop, "stop"},   {TransportButton::Next, "next"},
        {TransportButton::Previous, "previous"}};
    for (const auto& [which, name] : buttons) {
        PictureButton button(ControlPictures::transportButton(which, false), ControlPictures::transportButton(which, true));
        sheet.add(name, button);
        test::press(&button, QPoint(10, 10));
        EXPECT_TRUE(button.isDrawnDown());
        sheet.add(name + " pressed", button);
        test::release(&button, QPoint(10, 10));
    }
    PictureButton disabled(ControlPictures::transportButton(TransportButton::Play, false),
                           ControlPictures::transportButton(TransportButton::Play, true));
    disabled.setEnabled(false);
    sheet.add("play disabled", disabled);
    sheet.save("transportbuttons");
}

TEST(ControlsGalleryTest, TickRuler) {
    GallerySheet sheet;
    TickRuler ruler;
    ruler.setBackColor(ControlPictures::panelBackground());
    ruler.resize(220, 8);
    sheet.add("no verses", ruler);
    ruler.setVerses(1);
    sheet.add("1 verse", ruler);
    ruler.setVerses(7);
    sheet.add("7 verses", ruler);
    sheet.save("tickruler");
}

TEST(ControlsGalleryTest, TextPane) {
    GallerySheet sheet;
    TextPane pane;
    pane.resize(520, 110);
    pane.show();
    const QString verse = QString::fromUtf8(
        "\xd8\xa8\xd9\x90\xd8\xb3\xd9\x92\xd9\x85\xd9\x90 \xd9\xb1\xd9\x84\xd9\x84\xd9\x8e\xd9\x91\xd9\x87\xd9\x90 "
        "\xd9\xb1\xd9\x84\xd8\xb1\xd9\x8e\xd9\x91\xd8\xad\xd9\x92\xd9\x85\xd9\x8e\xd9\xb0\xd9\x86\xd9\x90 "
        "\xd9\xb1\xd9\x84\xd8\xb1\xd9\x8e\xd9\x91\xd8\xad\xd9\x90\xd9\x8a\xd9\x85\xd9\x90");
    const QStringList words = verse.split(' ');
    const auto link = [](const QString& meaning, const QString& text) {
        return QStringLiteral("<A style=\"text-decoration:none; color:#E3EEE3;\" href=\"%1\">%2 </A> ").arg(meaning, text);
    };
    const QString body = link("In the name", words[0]) + link("of Allah", words[1]) +
                         link("the Most Gracious", words[2]) + link("the Most Merciful", words[3]);
    pane.clear();
    pane.write(QStringLiteral("<HTML Dir=\"RTL\"><HEAD><style type=\"text/css\"> body{border-width: 0px; "
                              "font-size: 40px;color:#E3EEE3;font-family:\"Amiri Quran\";} </STYLE></HEAD>"
                              "<BODY BGCOLOR = 393139>%1\r\n</BODY></HTML>")
                   .arg(body));
    pane.close();
    sheet.add("verse", pane);
    QTextCursor cursor(pane.document());
    cursor.setPosition(static_cast<int>(pane.toPlainText().indexOf(words[1])) + 2);
    test::dragTo(pane.viewport(), pane.cursorRect(cursor).center(), Qt::NoButton);
    EXPECT_EQ(pane.statusText(), "of Allah");
    sheet.add("hovered: " + pane.statusText(), pane);
    sheet.save("textpane");
}

}  // namespace
}  // namespace lumora
