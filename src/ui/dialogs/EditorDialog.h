#pragma once
// The common ground of the editor dialogs: they edit a private copy, take a text box when it
// loses the keyboard focus (or on Return) and only when it was typed into, redraw every control
// from the copy after each change, and close only on their own buttons. Cancel, Escape and the
// window's close button all discard the copy. Enter never presses a button.
#include "ui/dialogs/EditorContext.h"

#include <QDialog>

#include <functional>
#include <initializer_list>
#include <vector>

class QLayout;
class QLineEdit;
class QPushButton;

namespace korvex::ui::dialogs {

class EditorDialog : public QDialog {
    Q_OBJECT
public:
    EditorDialog(const EditorContext& context, QWidget* parent);

    const EditorContext& context() const { return context_; }
    // Messages shown so far; tests and Apply use it to see that a field was refused.
    int messagesShown() const { return messages_; }

protected:
    // Every control shows the copy again.
    virtual void redraw() = 0;

    // A text box that hands its text to take() when it is left after typing; redraws afterwards.
    QLineEdit* textBox(const char* objectName, std::function<void(const QString&)> take);
    // A button that never acts as the dialog's default.
    QPushButton* button(const char* text, const char* objectName);
    // The Cancel button: leaving a box for it takes nothing.
    QPushButton* cancelButton();
    // The buttons at the foot, on the right: Apply, Cancel, then `more`.
    QLayout* applyRow(QPushButton* apply, std::initializer_list<QWidget*> more = {});
    // The dialogs of one box: its label and the box, and the Apply row below them.
    void layOutOneBox(const char* label, QLineEdit* box, QPushButton* apply);

    // Takes every box still holding typed text (a click on Apply may come without a focus change);
    // false when one of them showed a message, so Apply stops with the dialog open.
    bool takeTypedBoxes();

    void tell(const char* text);
    std::unique_lock<std::mutex> lockMap() const { return context_.lock(); }

    EditorContext context_;

private:
    struct Box {
        QLineEdit* edit;
        std::function<void(const QString&)> take;
    };
    void takeBox(const Box& box);

    std::vector<Box> boxes_;
    QPushButton* cancel_ = nullptr;
    int messages_ = 0;
};

// Latin-1 bytes of a box's text, as the map's fixed text fields hold them.
std::string latinOf(const QString& text);

} // namespace korvex::ui::dialogs
