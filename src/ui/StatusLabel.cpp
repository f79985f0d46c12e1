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
    controls_.SetLabelColours(id_, textColor_, backgroundColor_);
    if (journal_) journal_->RowColour(channel_, colour);
    return *this;
}

void StatusLabel::RebuildFont() { controls_.SetLabelFont(id_, fontDescription_); }

}  // namespace tandrel
