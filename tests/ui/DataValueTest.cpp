// Object Data Update: values shown and parsed by the object's data format (hexadecimal entry,
// the 16-bit low half), Apply storing the value and asking for the write, Cancel storing nothing.
#include "ui/support/EditorTestSupport.h"

#include "vocab/RegisterCodes.h"
#include "ui/dialogs/DataValue.h"

#include <bit>

namespace korvex::ui::test {
namespace {

TEST(DataValue, ShowsAndParsesByTheDataFormat) {
    const struct {
        uint8_t datatype;
        uint32_t cached;
        const char* shownFirst;
        const char* typed;
        uint32_t value;
        const char* shown;
    } cases[] = {
        {ObjectDataType::U32, 0, "0", "x1F", 31, "31"},
        {ObjectDataType::U32, 0, "0", "0xFFFFFFFF", 0xFFFFFFFFu, "4294967295"},
        {ObjectDataType::U32, 7, "7", "12", 12, "12"},
        {ObjectDataType::U16, 0, "0", "70000", 70000 & 0xFFFF, "4464"},
        {ObjectDataType::U16, 0, "0", "X12345", 0x2345, "9029"},
        {ObjectDataType::S16, 0xFFFF, "-1", "-2", 0xFFFE, "-2"},
        {ObjectDataType::S16, 0, "0", "40000", 40000 & 0xFFFF, "-25536"},
        {ObjectDataType::S32, 0, "0", "-7", static_cast<uint32_t>(-7), "-7"},
        {ObjectDataType::BIT, 0, "0", "x10", 1, "1"},
        {ObjectDataType::BIT, 1, "1", "", 0, "0"},
        {ObjectDataType::FP, std::bit_cast<uint32_t>(1.5f), "1.500000", "abc", 0, "0.000000"},
        {ObjectDataType::None, 5, "Undef", "9", 0, "Undef"},
    };
    for (const auto& c : cases) {
        EditorBench bench;
        bench.map->object(5)->datatype = c.datatype;
        uint32_t cached = c.cached;
        DataValue dialog(bench.context(), 5, cached);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Object 5 Data Update"));
        EXPECT_EQ(textOfBox(dialog, "value"), QString::fromLatin1(c.shownFirst)) << c.typed;
        typeInto(dialog, "value", QString::fromLatin1(c.typed));
        EXPECT_EQ(dialog.value(), c.value) << c.typed;
        EXPECT_EQ(textOfBox(dialog, "value"), QString::fromLatin1(c.shown)) << c.typed;
        EXPECT_EQ(cached, c.cached); // nothing stored before Apply
    }
}

TEST(DataValue, ApplyStoresAndAsksForTheWrite) {
    EditorBench bench;
    bench.map->object(9)->datatype = ObjectDataType::U16;
    uint32_t cached = 3;
    {
        DataValue dialog(bench.context(), 9, cached);
        typeInto(dialog, "value", QStringLiteral("44"));
        click(dialog, "cancel");
    }
    EXPECT_EQ(cached, 3u);
    EXPECT_TRUE(bench.raised.empty());
    DataValue dialog(bench.context(), 9, cached);
    QTest::keyClicks(child<QLineEdit>(dialog, "value"), QStringLiteral("0")); // "30", left typed
    click(dialog, "apply");
    EXPECT_EQ(cached, 30u);
    EXPECT_EQ(bench.raised,
              (std::vector<std::pair<EditorRequest, int>>{{EditorRequest::ValueWriteRequest, 9}}));
}

} // namespace
} // namespace korvex::ui::test
