#pragma once
// Shared pieces of the editor dialog tests: a map with a scripted prompter and a context that
// records the refresh requests raised, and helpers that type into boxes the way a user does
// (select all, type, Return: the box is taken as when it loses the focus).
#include "ui/support/UiTestSupport.h"

#include "ui/dialogs/EditorContext.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace korvex::ui::test {

struct EditorBench {
    std::unique_ptr<ObjectMap> map = std::make_unique<ObjectMap>();
    ScriptedPrompter prompter;
    std::mutex mutex;
    std::vector<std::pair<EditorRequest, int>> raised;

    EditorBench() { app(); }

    EditorContext context() {
        EditorContext c(*map, prompter);
        c.mapMutex = &mutex;
        c.raise = [this](EditorRequest what, int value) { raised.emplace_back(what, value); };
        return c;
    }
    QStringList messages() const { return prompter.messageTexts(); }
};

template <typename T> T* child(QWidget& parent, const char* name) {
    T* widget = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

inline void typeInto(QWidget& dialog, const char* box, const QString& text) {
    QLineEdit* edit = child<QLineEdit>(dialog, box);
    edit->selectAll();
    edit->del();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

inline QString textOfBox(QWidget& dialog, const char* box) {
    return child<QLineEdit>(dialog, box)->text();
}

// As a mouse click would, and like one it does nothing on a disabled button.
inline void click(QWidget& dialog, const char* button) {
    child<QAbstractButton>(dialog, button)->click();
}

// A drop-down chosen as the user does: the entry is activated.
inline void choose(QWidget& dialog, const char* list, int index) {
    QComboBox* box = child<QComboBox>(dialog, list);
    box->setCurrentIndex(index);
    emit box->activated(index);
}

} // namespace korvex::ui::test
