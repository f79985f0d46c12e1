#include "qt/QtControls.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "ui/ControlIds.h"
#include "ui/Templates.h"
#include "qt/FramedCheckBox.h"
#include "qt/QtFont.h"
#include "qt/StaticText.h"

namespace tandrel {

namespace {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QColor ToQColor(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

// The text a control shows, whatever kind of widget it is.
QString TextOf(const QWidget* widget) {
    if (auto* s = qobject_cast<const StaticText*>(widget)) return s->Text();
    if (auto* e = qobject_cast<const QLineEdit*>(widget)) return e->text();
    if (auto* c = qobject_cast<const QComboBox*>(widget)) return c->currentText();
    if (auto* b = qobject_cast<const QAbstractButton*>(widget)) return b->text();
    return {};
}

void SetTextOf(QWidget* widget, const QString& text) {
    if (auto* s = qobject_cast<StaticText*>(widget)) return s->SetText(text);
    if (auto* e = qobject_cast<QLineEdit*>(widget)) return e->setText(text);
    if (auto* c = qobject_cast<QComboBox*>(widget)) return c->setEditText(text);
    if (auto* b = qobject_cast<QAbstractButton*>(widget)) return b->setText(text);
}

}  // namespace

QtControls::QtControls(const DialogTemplate& dialog) : window_(std::make_unique<DialogWindow>(dialog)) {
    window_->AppendMenuItem(SC_CLOSE, QStringLiteral("&Close"));
    window_->AppendMenuSeparator();
    window_->AppendMenuItem(IDM_PORTHEALTH, QStringLiteral("Port &health..."));
    window_->AppendMenuSeparator();
    window_->AppendMenuItem(IDM_ABOUTBOX, QStringLiteral("&About Tandrel..."));
    QObject::connect(window_.get(), &DialogWindow::Clicked, [this](int id) {
        if (onCommand_) onCommand_(id);
    });
    QObject::connect(window_.get(), &DialogWindow::SysCommand, [this](unsigned commandId) {
        if (onSysCommand_) onSysCommand_(commandId);
    });
}

template <class Widget>
Widget* QtControls::As(ControlId id) const {
    return qobject_cast<Widget*>(window_->Control(id));
}

void QtControls::SetHandlers(CommandHandler onCommand, SysCommandHandler onSysCommand) {
    onCommand_ = std::move(onCommand);
    onSysCommand_ = std::move(onSysCommand);
}

void QtControls::SetText(ControlId id, std::string_view text) {
    if (QWidget* w = window_->Control(id)) SetTextOf(w, FromUtf8(text));
}

std::string QtControls::GetText(ControlId id) const {
    const QWidget* w = window_->Control(id);
    return w ? TextOf(w).toStdString() : std::string();
}

void QtControls::Enable(ControlId id, bool on) {
    if (QWidget* w = window_->Control(id)) w->setEnabled(on);
}

bool QtControls::IsEnabled(ControlId id) const {
    const QWidget* w = window_->Control(id);
    return w && w->isEnabled();
}

void QtControls::Show(ControlId id, bool visible) {
    if (QWidget* w = window_->Control(id)) w->setVisible(visible);
}

// The control's own flag: a control of a window not yet shown still counts as visible.
bool QtControls::IsVisible(ControlId id) const {
    const QWidget* w = window_->Control(id);
    return w && !w->isHidden();
}

void QtControls::SetCheck(ControlId id, int state) {
    if (auto* cell = As<FramedCheckBox>(id)) cell->Box()->setChecked(state != 0);
}

int QtControls::GetCheck(ControlId id) const {
    const auto* cell = As<FramedCheckBox>(id);
    return cell && cell->Box()->isChecked() ? 1 : 0;
}

std::vector<std::string> QtControls::ComboItems(ControlId id) const {
    std::vector<std::string> items;
    if (const auto* combo = As<QComboBox>(id)) {
        for (int i = 0; i < combo->count(); ++i) items.push_back(combo->itemText(i).toStdString());
    }
    return items;
}

void QtControls::SetComboSelection(ControlId id, int index) {
    auto* combo = As<QComboBox>(id);
    if (!combo) return;
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

// Text typed into the box's field that names no item leaves no selection.
int QtControls::GetComboSelection(ControlId id) const {
    const auto* combo = As<QComboBox>(id);
    if (!combo || combo->currentIndex() < 0) return -1;
    return combo->currentText() == combo->itemText(combo->currentIndex()) ? combo->currentIndex() : -1;
}

void QtControls::SetProgressRange(ControlId id, int low, int high) {
    if (auto* bar = As<QProgressBar>(id)) bar->setRange(low, high);
}

// Qt ignores a position outside the range; a progress bar clamps it.
void QtControls::SetProgressPos(ControlId id, int pos) {
    if (auto* bar = As<QProgressBar>(id)) bar->setValue(std::clamp(pos, bar->minimum(), bar->maximum()));
}

int QtControls::GetProgressPos(ControlId id) const {
    const auto* bar = As<QProgressBar>(id);
    return bar ? bar->value() : 0;
}

void QtControls::ListAppend(ControlId id, std::string_view text) {
    if (auto* list = As<QListWidget>(id)) list->addItem(FromUtf8(text));
}

int QtControls::ListCount(ControlId id) const {
    const auto* list = As<QListWidget>(id);
    return list ? list->count() : 0;
}

std::string QtControls::ListLine(ControlId id, int index) const {
    const auto* list = As<QListWidget>(id);
    const QListWidgetItem* item = list ? list->item(index) : nullptr;
    return item ? item->text().toStdString() : std::string();
}

void QtControls::ListSelect(ControlId id, int index) {
    auto* list = As<QListWidget>(id);
    if (!list) return;
    list->setCurrentRow(index >= 0 && index < list->count() ? index : -1);
    if (QListWidgetItem* item = list->currentItem()) list->scrollToItem(item);
}

int QtControls::ListSelection(ControlId id) const {
    const auto* list = As<QListWidget>(id);
    return list ? list->currentRow() : -1;
}

void QtControls::ListClear(ControlId id) {
    if (auto* list = As<QListWidget>(id)) list->clear();
}

void QtControls::SetLabelFont(ControlId id, const FontDescription& font) {
    if (auto* label = As<StaticText>(id)) label->SetTextFont(ToQFont(font));
}

// The banner colours only the cells its text covers; the rest of it keeps
// the dialog's background. Status rows colour their whole face.
void QtControls::SetLabelColours(ControlId id, Colour text, Colour background) {
    auto* label = As<StaticText>(id);
    if (!label) return;
    const auto fill = id == IDC_STATUS_BANNER ? StaticText::Fill::TextCells : StaticText::Fill::Face;
    label->SetColours(ToQColor(text), ToQColor(background), fill);
}

void QtControls::MessageBox(std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tandrel"), FromUtf8(text), QMessageBox::Ok, window_.get());
    box.exec();
}

bool QtControls::AskYesNo(std::string_view text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tandrel"), FromUtf8(text),
                    QMessageBox::Yes | QMessageBox::No, window_.get());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::vector<std::string>> QtControls::OpenFiles() {
    const QStringList chosen =
        QFileDialog::getOpenFileNames(window_.get(), QString(), QString(), QStringLiteral("All files (*)"));
    if (chosen.isEmpty()) return std::nullopt;
    std::vector<std::string> files;
    for (const QString& f : chosen) files.push_back(QFile::encodeName(f).toStdString());
    return files;
}

void QtControls::ShowAbout() {
    DialogWindow about(AboutDialogTemplate(), window_.get());
    QObject::connect(&about, &DialogWindow::Clicked, &about, [&about](int id) {
        if (id == IDOK_ABOUT) about.accept();
    });
    about.exec();
}

void QtControls::ShowSmallDialog(const DialogTemplate& dialog, std::function<DialogTexts()> texts,
                                 CommandHandler onClick) {
    DialogWindow box(dialog, window_.get());
    const auto fill = [&box, &texts] {
        for (const auto& [id, text] : texts()) {
            if (QWidget* w = box.Control(id)) SetTextOf(w, FromUtf8(text));
        }
    };
    QObject::connect(&box, &DialogWindow::Clicked, &box, [&box, &onClick, &fill](int id) {
        if (id == kOkButton) return box.accept();
        if (onClick) onClick(id);
        fill();
    });
    QTimer refresh;
    QObject::connect(&refresh, &QTimer::timeout, &box, fill);
    refresh.start(1000);
    fill();
    box.exec();
}

void QtControls::DefaultSysCommand(unsigned commandId) {
    if (commandId == SC_CLOSE) window_->close();
}

}  // namespace tandrel
