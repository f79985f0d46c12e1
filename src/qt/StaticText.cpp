#include "qt/StaticText.h"

#include <QFontMetrics>
#include <QPainter>

namespace tandrel {

namespace {
constexpr int kTextFlags = Qt::AlignTop | Qt::TextWordWrap;
// Below this a text is no longer read at a glance; it is drawn clipped instead.
constexpr int kSmallestPixelSize = 7;
}

StaticText::StaticText(const ControlTemplate& control, QWidget* parent)
    : QFrame(parent),
      text_(QString::fromUtf8(control.caption.data(), static_cast<qsizetype>(control.caption.size()))),
      alignment_(control.Has(kCentred) ? Qt::AlignHCenter : Qt::AlignLeft) {
    if (control.Has(kSunken)) setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

void StaticText::SetText(const QString& text) {
    text_ = text;
    update();
}

void StaticText::SetColours(QColor text, QColor background, Fill fill) { colours_ = Colours{text, background, fill}; }

void StaticText::SetTextFont(const QFont& font) {
    setFont(font);
    repaint();
}

// The template fixes the label's size and the station its texts; a long text
// is drawn smaller rather than cut.
QFont StaticText::FittedFont() const {
    QFont fitted = font();
    const QRect face = contentsRect();
    const int flags = kTextFlags | static_cast<int>(alignment_);
    for (int size = QFontInfo(fitted).pixelSize(); size > kSmallestPixelSize; --size) {
        if (face.contains(QFontMetrics(fitted).boundingRect(face, flags, text_))) break;
        fitted.setPixelSize(size - 1);
    }
    return fitted;
}

QRect StaticText::TextBounds() const {
    return QFontMetrics(FittedFont()).boundingRect(contentsRect(), kTextFlags | static_cast<int>(alignment_), text_);
}

void StaticText::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setFont(FittedFont());
    const QRect face = contentsRect();
    const int flags = kTextFlags | static_cast<int>(alignment_);
    painter.setClipRect(face);
    if (!colours_) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(face, flags, text_);
        return;
    }
    const QRect filled = colours_->fill == Fill::Face ? face : painter.boundingRect(face, flags, text_);
    if (!text_.isEmpty() || colours_->fill == Fill::Face) painter.fillRect(filled, colours_->background);
    painter.setPen(colours_->text);
    painter.drawText(face, flags, text_);
}

}  // namespace tandrel
