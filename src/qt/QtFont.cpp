#include "qt/QtFont.h"

#include <QFontMetrics>
#include <algorithm>
#include <cstring>

namespace tandrel {

namespace {

// Weight 0 means "any", which fonts take as normal.
QFont::Weight WeightOf(int weight) {
    return static_cast<QFont::Weight>(weight <= 0 ? 400 : std::clamp(weight, 1, 1000));
}

// A cell height covers ascent and descent, so the character height is what
// fills that cell with this face.
int PixelSizeFor(QFont font, int height) {
    if (height < 0) return -height;
    font.setPixelSize(height);
    const int cell = QFontMetrics(font).height();
    return cell > 0 ? std::max(1, height * height / cell) : height;
}

int StretchFor(const QFont& font, int averageWidth) {
    const int natural = QFontMetrics(font).averageCharWidth();
    if (natural <= 0) return QFont::Unstretched;
    return std::clamp(100 * averageWidth / natural, 1, 4000);
}

}  // namespace

QFont ToQFont(const FontDescription& description) {
    const auto faceLength = strnlen(description.faceName, sizeof description.faceName);
    QFont font(QString::fromUtf8(description.faceName, static_cast<qsizetype>(faceLength)));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(WeightOf(description.weight));
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    font.setStrikeOut(description.strikeOut);
    // Height 0 keeps the face's default size. The escapement is not drawn:
    // the banner's tenth of a degree moves its text by less than a pixel.
    if (description.height != 0) font.setPixelSize(PixelSizeFor(font, description.height));
    if (description.width > 0) font.setStretch(StretchFor(font, description.width));
    return font;
}

}  // namespace tandrel
