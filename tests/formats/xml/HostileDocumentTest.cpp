// Damaged documents: every truncation and a spread of byte changes of a full document read to a
// result code without crashing, and a failed load leaves nothing of the map behind.
#include "formats/xml/MapDocument.h"
#include "formats/xml/XmlError.h"
#include "support/XmlTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace korvex {
namespace {

std::string fullDocument() {
    auto map = std::make_unique<ObjectMap>();
    test::buildRichMap(*map, 2);
    return renderObjectMap(*map).text;
}

TEST(HostileDocuments, TruncatedAnywhereGivesACode) {
    const std::string text = fullDocument();
    auto map = std::make_unique<ObjectMap>();
    for (std::size_t cut = 0; cut < text.size(); cut += 37) {
        clearAll(*map);
        const int code = codeNumber(test::readDocumentText(*map, text.substr(0, cut)).code);
        EXPECT_GT(code, 0) << cut;
        EXPECT_LT(code, kXmlErrorCount) << cut;
    }
}

TEST(HostileDocuments, ChangedBytesGiveACodeAndKeepListsInBounds) {
    const std::string text = fullDocument();
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::size_t> position(0, text.size() - 1);
    const char replacements[] = {'"', '>', '<', '=', ' ', '/', '0', '9', '-', ',', ':', '\0', '\xFF', 'x'};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof replacements - 1);
    auto map = std::make_unique<ObjectMap>();
    for (int round = 0; round < 400; ++round) {
        std::string damaged = text;
        for (int k = 0; k < 3; ++k) damaged[position(random)] = replacements[pick(random)];
        clearAll(*map);
        const int code = codeNumber(test::readDocumentText(*map, damaged).code);
        EXPECT_GE(code, 0);
        EXPECT_LT(code, kXmlErrorCount);
        EXPECT_LE(map->nvCount, kListCapacity);
        EXPECT_LE(map->registerCount, kListCapacity);
    }
}

} // namespace
} // namespace korvex
