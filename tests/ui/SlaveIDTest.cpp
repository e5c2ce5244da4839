// Slave ID Change: the typed address (held to 1..255) given to every entry of the import list.
#include "ui/support/EditorTestSupport.h"

#include "ui/dialogs/SlaveID.h"

namespace korvex::ui::test {
namespace {

TEST(SlaveID, GivesEveryImportEntryTheAddress) {
    const struct {
        const char* typed;
        int slave;
    } cases[] = {{"7", 7}, {"300", 255}, {"x", 1}, {"0", 1}};
    for (const auto& c : cases) {
        EditorBench bench;
        RegisterImportList list;
        list.count = 3;
        for (int i = 0; i < 4; ++i) list.entries[i].slave = 9;
        SlaveID dialog(bench.context(), list);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Slave ID Change"));
        EXPECT_EQ(textOfBox(dialog, "slave"), QStringLiteral("1"));
        QTest::keyClicks(child<QLineEdit>(dialog, "slave"), QString()); // no change: stays 1
        typeInto(dialog, "slave", QString::fromLatin1(c.typed));
        click(dialog, "apply");
        for (int i = 0; i < 3; ++i) EXPECT_EQ(list.entries[i].slave, c.slave) << c.typed;
        EXPECT_EQ(list.entries[3].slave, 9); // beyond the list
    }
    EditorBench bench;
    RegisterImportList list;
    list.count = 1;
    list.entries[0].slave = 9;
    SlaveID dialog(bench.context(), list);
    typeInto(dialog, "slave", QStringLiteral("4"));
    click(dialog, "cancel");
    EXPECT_EQ(list.entries[0].slave, 9);
}

} // namespace
} // namespace korvex::ui::test
