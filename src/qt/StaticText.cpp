#include "qt/StaticText.h"

#include <QPainter>

namespace tandrel {

namespace {
constexpr int kTextFlags = Qt::AlignTop | Qt::TextWordWrap;
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

void StaticText::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
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
