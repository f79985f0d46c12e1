#include "ui/StatusLabel.h"

#include "ui/Journal.h"

namespace tandrel {

StatusLabel::StatusLabel(DialogControls& controls, ControlId id, int channel, Journal* journal)
    : controls_(controls), id_(id), channel_(channel), journal_(journal) {}

StatusLabel& StatusLabel::SetText(std::string_view text) {
    controls_.SetText(id_, text);
    if (journal_) journal_->Status(channel_, text);
    return *this;
}

StatusLabel& StatusLabel::SetFontSize(int n) {
    fontDescription_.height = -n;
    RebuildFont();
    return *this;
}

StatusLabel& StatusLabel::SetFontBold(int flag) {
    fontDescription_.weight = flag ? 700 : 400;
    RebuildFont();
    return *this;
}

StatusLabel& StatusLabel::SetBkColor(Colour colour) {
    backgroundColor_ = colour;
    if (mark_) return *this;
    controls_.SetLabelColours(id_, textColor_, backgroundColor_);
    if (journal_) journal_->RowColour(channel_, colour);
    return *this;
}

StatusLabel& StatusLabel::Mark(Colour colour) {
    if (mark_ == colour) return *this;
    mark_ = colour;
    Paint(colour);
    return *this;
}

StatusLabel& StatusLabel::Unmark() {
    if (!mark_) return *this;
    mark_.reset();
    Paint(backgroundColor_);
    return *this;
}

// Setting the text it has is what repaints a static text.
void StatusLabel::Paint(Colour background) {
    controls_.SetLabelColours(id_, textColor_, background);
    controls_.SetText(id_, controls_.GetText(id_));
    if (journal_) journal_->RowColour(channel_, background);
}

void StatusLabel::RebuildFont() { controls_.SetLabelFont(id_, fontDescription_); }

}  // namespace tandrel
