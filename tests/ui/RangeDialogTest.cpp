// The two "Select Range" dialogs driven through their widgets: what each button answers, how the
// boxes are read, and the NV dialog's include boxes and limits.
#include "ui/support/UiTestSupport.h"

#include "ui/dialogs/NetVarRangeDialog.h"
#include "ui/dialogs/RangeDialog.h"
#include "ui/widgets/NumberText.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

#include <memory>

#include <gtest/gtest.h>

namespace korvex::ui::test {
namespace {

using device::NetVarRanges;
using device::ObjectRange;
using device::RangeAnswer;

template <typename T> T* child(QWidget& parent, const char* name) {
    T* widget = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void retype(QLineEdit* box, const QString& text) {
    box->selectAll();
    box->del();
    QTest::keyClicks(box, text);
}

TEST(NumberText, ReadsLikeScanfDecimal) {
    const struct {
        const char* text;
        int value;
    } cases[] = {{"", 0},
                 {"abc", 0},
                 {"12", 12},
                 {"  7", 7},
                 {"12abc", 12},
                 {"-3", -3},
                 {"+4", 4},
                 {"500", 500},
                 {"99999999999", 2147483647},
                 {"-99999999999", -2147483647 - 1}};
    for (const auto& c : cases) EXPECT_EQ(scanDecimal(QString::fromLatin1(c.text)), c.value) << c.text;
    EXPECT_EQ(numberOrEmpty(0), QString());
    EXPECT_EQ(numberOrEmpty(42), QStringLiteral("42"));
}

TEST(RangeDialog, ShowsTheOfferedRangeWithZeroAsEmpty) {
    app();
    RangeDialog dialog(ObjectRange{0, 250});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select Range"));
    EXPECT_EQ(child<QLineEdit>(dialog, "first")->text(), QString());
    EXPECT_EQ(child<QLineEdit>(dialog, "last")->text(), QStringLiteral("250"));
}

TEST(RangeDialog, EachButtonGivesItsAnswer) {
    app();
    const struct {
        const char* button;
        const char* first;
        const char* last;
        RangeAnswer answer;
        ObjectRange range;
    } cases[] = {
        {"ok", "3", "17", RangeAnswer::Ok, {3, 17}},
        {"ok", "500", "x", RangeAnswer::Ok, {500, 0}}, // no limit here; not a number gives 0
        {"ok", "", "", RangeAnswer::Ok, {0, 0}},
        {"all", "3", "17", RangeAnswer::All, {1, 250}}, // the caller decides what ALL means
        {"cancel", "3", "17", RangeAnswer::Cancel, {1, 250}},
    };
    for (const auto& c : cases) {
        RangeDialog dialog(ObjectRange{1, 250});
        retype(child<QLineEdit>(dialog, "first"), QString::fromLatin1(c.first));
        retype(child<QLineEdit>(dialog, "last"), QString::fromLatin1(c.last));
        QTest::mouseClick(child<QPushButton>(dialog, c.button), Qt::LeftButton);
        EXPECT_EQ(dialog.answer(), c.answer) << c.button << " " << c.first;
        if (c.answer == RangeAnswer::Ok) {
            EXPECT_EQ(dialog.range(), c.range) << c.first;
        }
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST(RangeDialog, ClosingTheWindowIsCancel) {
    app();
    RangeDialog dialog(ObjectRange{1, 400});
    dialog.show();
    dialog.close();
    EXPECT_EQ(dialog.answer(), RangeAnswer::Cancel);
}

TEST(NetVarRangeDialog, IncludeBoxesStartCheckedForNonZeroRanges) {
    app();
    NetVarRangeDialog dialog(NetVarRanges{0, 0, 0, 7});
    EXPECT_FALSE(child<QCheckBox>(dialog, "inputsInclude")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(dialog, "outputsInclude")->isChecked());
    EXPECT_EQ(child<QLineEdit>(dialog, "outputsFirst")->text(), QString());
    EXPECT_EQ(child<QLineEdit>(dialog, "outputsLast")->text(), QStringLiteral("7"));
}

TEST(NetVarRangeDialog, TypingIntoARowIncludesIt) {
    app();
    NetVarRangeDialog dialog(NetVarRanges{});
    QCheckBox* include = child<QCheckBox>(dialog, "inputsInclude");
    EXPECT_FALSE(include->isChecked());
    QTest::keyClicks(child<QLineEdit>(dialog, "inputsLast"), QStringLiteral("9"));
    EXPECT_TRUE(include->isChecked());
    EXPECT_FALSE(child<QCheckBox>(dialog, "outputsInclude")->isChecked());
}

TEST(NetVarRangeDialog, OkHoldsIncludedRowsToOneTo120) {
    app();
    const struct {
        bool includeIn;
        const char* firstIn;
        const char* lastIn;
        bool includeOut;
        const char* firstOut;
        const char* lastOut;
        NetVarRanges expected;
    } cases[] = {
        {true, "0", "0", false, "5", "6", {1, 1, 0, 0}},  // start below 1, end below start
        {false, "4", "9", false, "5", "6", {0, 0, 0, 0}}, // nothing included: nothing to do
        {true, "10", "3", true, "200", "300", {10, 10, 120, 120}},
        {true, "x", "130", true, "-5", "12", {1, 120, 1, 12}},
    };
    for (const auto& c : cases) {
        NetVarRangeDialog dialog(NetVarRanges{});
        retype(child<QLineEdit>(dialog, "inputsFirst"), QString::fromLatin1(c.firstIn));
        retype(child<QLineEdit>(dialog, "inputsLast"), QString::fromLatin1(c.lastIn));
        retype(child<QLineEdit>(dialog, "outputsFirst"), QString::fromLatin1(c.firstOut));
        retype(child<QLineEdit>(dialog, "outputsLast"), QString::fromLatin1(c.lastOut));
        child<QCheckBox>(dialog, "inputsInclude")->setChecked(c.includeIn);
        child<QCheckBox>(dialog, "outputsInclude")->setChecked(c.includeOut);
        QTest::mouseClick(child<QPushButton>(dialog, "ok"), Qt::LeftButton);
        EXPECT_EQ(dialog.answer(), RangeAnswer::Ok);
        EXPECT_EQ(dialog.ranges(), c.expected)
            << c.firstIn << ".." << c.lastIn << " " << c.firstOut << ".." << c.lastOut;
    }
}

TEST(NetVarRangeDialog, AllAndCancelAnswerAsTheyAre) {
    app();
    for (const char* button : {"all", "cancel"}) {
        NetVarRangeDialog dialog(NetVarRanges{1, 5, 1, 6});
        QTest::mouseClick(child<QPushButton>(dialog, button), Qt::LeftButton);
        EXPECT_EQ(dialog.answer(), std::string(button) == "all" ? RangeAnswer::All : RangeAnswer::Cancel);
    }
}

// ALL sends everything: the buttons stand Cancel, ALL, OK whatever the style's habit, and Enter
// in a box answers Cancel.
TEST(RangeDialogs, ButtonsStandCancelAllOkWithCancelTheDefault) {
    app();
    for (const char* styleName : {"Windows", "Fusion"}) {
        const std::unique_ptr<QStyle> style(QStyleFactory::create(QString::fromLatin1(styleName)));
        ASSERT_NE(style, nullptr) << styleName;
        std::unique_ptr<QDialog> dialogs[] = {std::make_unique<RangeDialog>(ObjectRange{1, 400}),
                                              std::make_unique<NetVarRangeDialog>(NetVarRanges{1, 5, 1, 6})};
        for (auto& dialog : dialogs) {
            dialog->setStyle(style.get());
            for (QWidget* w : dialog->findChildren<QWidget*>()) w->setStyle(style.get());
            dialog->show();
            QPushButton* cancel = child<QPushButton>(*dialog, "cancel");
            QPushButton* all = child<QPushButton>(*dialog, "all");
            QPushButton* ok = child<QPushButton>(*dialog, "ok");
            EXPECT_LT(cancel->x(), all->x()) << styleName;
            EXPECT_LT(all->x(), ok->x()) << styleName;
            EXPECT_TRUE(cancel->isDefault()) << styleName;
            EXPECT_FALSE(ok->isDefault()) << styleName;
            QLineEdit* box = dialog->findChild<QLineEdit*>();
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Return);
            EXPECT_FALSE(dialog->isVisible()) << styleName;
            EXPECT_EQ(dialog->result(), QDialog::Rejected) << styleName;
        }
    }
}

} // namespace
} // namespace korvex::ui::test
