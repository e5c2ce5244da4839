#pragma once
// Every modal question the window asks goes through this one seam: message boxes, the open and
// save file dialogs and the two range dialogs. The program uses QtPrompter; tests answer from a
// script, so no test needs a display or a human.
#include "device/actions/ActionHost.h"

#include <QString>

class QWidget;

namespace korvex::ui::window {

enum class MessageButtons { Ok, OkCancel };
using device::MessageIcon;
using device::NetVarRanges;
using device::ObjectRange;
using device::RangeAnswer;

class Prompter {
public:
    virtual ~Prompter() = default;
    // Caption is always the tool's; true for OK, false for Cancel or a closed box.
    virtual bool message(QWidget* owner, const QString& text, MessageButtons buttons, MessageIcon icon) = 0;
    // Empty when the user cancels. filters use Qt's "Name (*.ext);;Other (*.*)" form.
    virtual QString openFileName(QWidget* owner, const QString& filters) = 0;
    virtual QString saveFileName(QWidget* owner, const QString& filters) = 0;
    // RangeDialog and NetVarRangeDialog.
    virtual RangeAnswer objectRange(QWidget* owner, ObjectRange& range) = 0;
    virtual RangeAnswer netVarRanges(QWidget* owner, NetVarRanges& ranges) = 0;
};

class QtPrompter : public Prompter {
public:
    bool message(QWidget* owner, const QString& text, MessageButtons buttons, MessageIcon icon) override;
    QString openFileName(QWidget* owner, const QString& filters) override;
    QString saveFileName(QWidget* owner, const QString& filters) override;
    RangeAnswer objectRange(QWidget* owner, ObjectRange& range) override;
    RangeAnswer netVarRanges(QWidget* owner, NetVarRanges& ranges) override;
};

} // namespace korvex::ui::window
