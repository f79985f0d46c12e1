#pragma once

#include <QColor>
#include <QFrame>
#include <QString>
#include <optional>

#include "platform/DialogTemplate.h"

namespace tandrel {

// A static text of a dialog, drawn here so that it can carry a font and
// colours of its own: the status rows fill their whole face with their
// colour, the banner only the cells its text covers.
class StaticText : public QFrame {
    Q_OBJECT

public:
    enum class Fill { Face, TextCells };

    StaticText(const ControlTemplate& control, QWidget* parent);

    QString Text() const { return text_; }
    // Repaints, which also shows colours given since the last paint.
    void SetText(const QString& text);
    // Kept for the next paint; nothing is repainted now.
    void SetColours(QColor text, QColor background, Fill fill);
    // Repaints at once.
    void SetTextFont(const QFont& font);
    // Where the text is drawn: inside the face, in the label's font or, for
    // a text that would not fit the face, the largest smaller size that does.
    QRect TextBounds() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont FittedFont() const;

    struct Colours {
        QColor text;
        QColor background;
        Fill fill = Fill::Face;
    };

    QString text_;
    Qt::Alignment alignment_;
    // None: the dialog's own text colour on the dialog's background.
    std::optional<Colours> colours_;
};

}  // namespace tandrel
