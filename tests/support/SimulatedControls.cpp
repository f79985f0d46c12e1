#include "support/SimulatedControls.h"

#include <algorithm>
#include <stdexcept>

namespace tandrel {

SimulatedControls::SimulatedControls(const DialogTemplate& dialog) {
    for (const auto& t : dialog.controls) {
        if (t.id == kNoId) continue;
        Control c;
        c.kind = t.kind;
        c.enabled = !t.Has(kDisabled);
        c.visible = !t.Has(kHidden);
        if (t.kind != ControlKind::ComboBox && t.kind != ControlKind::ListBox) c.text = std::string(t.caption);
        for (auto item : t.items) c.items.emplace_back(item);
        if (t.Has(kSorted)) std::sort(c.items.begin(), c.items.end());
        controls_[t.id] = std::move(c);
        autoCheck_[t.id] = t.Has(kAutoCheckBox);
    }
}

SimulatedControls::Control& SimulatedControls::Get(ControlId id) {
    auto it = controls_.find(id);
    if (it == controls_.end()) throw std::out_of_range("no control with id " + std::to_string(id));
    return it->second;
}

const SimulatedControls::Control& SimulatedControls::Get(ControlId id) const {
    auto it = controls_.find(id);
    if (it == controls_.end()) throw std::out_of_range("no control with id " + std::to_string(id));
    return it->second;
}

void SimulatedControls::SetHandlers(CommandHandler onCommand, SysCommandHandler onSysCommand) {
    onCommand_ = std::move(onCommand);
    onSysCommand_ = std::move(onSysCommand);
}

bool SimulatedControls::Click(ControlId id) {
    auto& c = Get(id);
    if (!c.enabled || !c.visible) return false;
    if (autoCheck_[id]) c.check = c.check ? 0 : 1;
    if (onCommand_) onCommand_(id);
    return true;
}

void SimulatedControls::SysCommand(unsigned commandId) {
    if (onSysCommand_) onSysCommand_(commandId);
}

const SimulatedControls::Control& SimulatedControls::At(ControlId id) const { return Get(id); }

void SimulatedControls::Repaint(Control& c) {
    c.shownTextColour = c.textColour;
    c.shownBackground = c.background;
    ++c.repaints;
}

void SimulatedControls::SetText(ControlId id, std::string_view text) {
    auto& c = Get(id);
    c.text = std::string(text);
    Repaint(c);
}

std::string SimulatedControls::GetText(ControlId id) const { return Get(id).text; }

void SimulatedControls::Enable(ControlId id, bool on) { Get(id).enabled = on; }
bool SimulatedControls::IsEnabled(ControlId id) const { return Get(id).enabled; }
void SimulatedControls::Show(ControlId id, bool visible) { Get(id).visible = visible; }
bool SimulatedControls::IsVisible(ControlId id) const { return Get(id).visible; }

void SimulatedControls::SetCheck(ControlId id, int state) { Get(id).check = state; }
int SimulatedControls::GetCheck(ControlId id) const { return Get(id).check; }

std::vector<std::string> SimulatedControls::ComboItems(ControlId id) const { return Get(id).items; }

void SimulatedControls::SetComboSelection(ControlId id, int index) {
    auto& c = Get(id);
    c.selection = (index >= 0 && index < static_cast<int>(c.items.size())) ? index : -1;
}

int SimulatedControls::GetComboSelection(ControlId id) const { return Get(id).selection; }

void SimulatedControls::SetProgressRange(ControlId id, int low, int high) {
    auto& c = Get(id);
    c.rangeLow = low;
    c.rangeHigh = high;
    c.pos = std::clamp(c.pos, low, high);
}

void SimulatedControls::SetProgressPos(ControlId id, int pos) {
    auto& c = Get(id);
    c.pos = std::clamp(pos, c.rangeLow, c.rangeHigh);
}

int SimulatedControls::GetProgressPos(ControlId id) const { return Get(id).pos; }

void SimulatedControls::ListAppend(ControlId id, std::string_view text) { Get(id).lines.emplace_back(text); }
int SimulatedControls::ListCount(ControlId id) const { return static_cast<int>(Get(id).lines.size()); }

std::string SimulatedControls::ListLine(ControlId id, int index) const {
    const auto& c = Get(id);
    if (index < 0 || index >= static_cast<int>(c.lines.size())) return {};
    return c.lines[static_cast<std::size_t>(index)];
}

void SimulatedControls::ListSelect(ControlId id, int index) {
    auto& c = Get(id);
    c.selection = (index >= 0 && index < static_cast<int>(c.lines.size())) ? index : -1;
}

int SimulatedControls::ListSelection(ControlId id) const { return Get(id).selection; }

void SimulatedControls::ListClear(ControlId id) {
    auto& c = Get(id);
    c.lines.clear();
    c.selection = -1;
}

void SimulatedControls::SetLabelFont(ControlId id, const FontDescription& font) {
    auto& c = Get(id);
    c.font = font;
    Repaint(c);
}

void SimulatedControls::SetLabelColours(ControlId id, Colour text, Colour background) {
    auto& c = Get(id);
    c.textColour = text;
    c.background = background;
}

void SimulatedControls::MessageBox(std::string_view text) {
    messageBoxes_.emplace_back(text);
    if (whileMessageBoxOpen_) whileMessageBoxOpen_();
}

bool SimulatedControls::AskYesNo(std::string_view text) {
    messageBoxes_.emplace_back(text);
    if (whileMessageBoxOpen_) whileMessageBoxOpen_();
    if (answers_.empty()) return false;
    const bool yes = answers_.front();
    answers_.pop_front();
    return yes;
}

std::optional<std::vector<std::string>> SimulatedControls::OpenFiles() {
    if (openFileAnswers_.empty()) return std::nullopt;
    const OpenFilesAnswer answer = std::move(openFileAnswers_.front());
    openFileAnswers_.pop_front();
    if (!answer.chosen) return std::nullopt;
    return answer.files;
}

void SimulatedControls::QueueOpenFiles(std::optional<std::vector<std::string>> answer) {
    OpenFilesAnswer a;
    a.chosen = answer.has_value();
    if (answer) a.files = std::move(*answer);
    openFileAnswers_.push_back(std::move(a));
}

void SimulatedControls::ShowAbout() { ++aboutBoxes_; }

void SimulatedControls::ShowSmallDialog(const DialogTemplate& dialog, std::function<DialogTexts()> texts,
                                        CommandHandler onClick) {
    smallDialogs_.push_back(dialog.id);
    if (whileSmallDialogOpen_) whileSmallDialogOpen_(OpenDialog{std::move(texts), std::move(onClick)});
}

void SimulatedControls::DefaultSysCommand(unsigned commandId) { defaultSysCommands_.push_back(commandId); }

}  // namespace tandrel
