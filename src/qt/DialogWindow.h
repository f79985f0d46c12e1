#pragma once

#include <QDialog>
#include <functional>
#include <map>

#include "platform/DialogTemplate.h"
#include "qt/DialogUnits.h"

class QMenu;

namespace tandrel {

// A dialog built from its template: the caption, the size and every control
// at the template's place, converted from dialog units with the dialog font;
// tab order is template order. Clicks of buttons and check boxes come out by
// control id; the window's menu (a right click on the dialog's background)
// sends its entries' command ids. Enter clicks the push button that has the
// focus and does nothing anywhere else; it never closes the dialog.
class DialogWindow : public QDialog {
    Q_OBJECT

public:
    explicit DialogWindow(const DialogTemplate& dialog, QWidget* parent = nullptr);

    // The widget made for control id, or null when the template has none.
    QWidget* Control(ControlId id) const;

    // Asked before the window closes (true: the operator closes it); false
    // keeps it open. Without one the window just closes.
    void SetCloseQuery(std::function<bool(bool operatorAsked)> query) { closeQuery_ = std::move(query); }
    // The close box, Esc and the menu's Close all come here.
    void reject() override;
    // Closed from outside: the query is told, but cannot keep the window open.
    void CloseUnasked();

    // Entries of the window's menu, added after those already there.
    void AppendMenuItem(unsigned commandId, const QString& text);
    void AppendMenuSeparator();

signals:
    void Clicked(int controlId);
    void SysCommand(unsigned commandId);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void AddControl(const ControlTemplate& control);

    DialogBaseUnits units_;
    std::map<ControlId, QWidget*> controls_;
    QMenu* menu_;
    std::function<bool(bool)> closeQuery_;
};

}  // namespace tandrel
