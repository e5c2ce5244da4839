// The `nd` element: the node's location and program-ID selector.
#include "formats/xml/ElementValues.h"
#include "formats/xml/Elements.h"
#include "model/FixedText.h"

namespace korvex::xml {
namespace {

using Attr = Attribute<NodeInfo>;

int setLocation(NodeInfo& node, std::string_view v) {
    setText(node.loc, v, kLocationLength);
    return XmlError::Ok;
}

int setPid(NodeInfo& node, std::string_view v) {
    int64_t n = 0;
    if (const int code = readInteger(v, 0, 255, n)) return code;
    node.pid = static_cast<uint8_t>(n);
    return XmlError::Ok;
}

constexpr std::array<Attr, 2> kNodeAttributes{{{"loc", setLocation}, {"pid", setPid}}};

} // namespace

int applyNodeElement(ObjectMap& map, UnitCursor& cursor) {
    NodeInfo work = map.node;
    if (const int code = runAttributeLoop<NodeInfo>(cursor, kNodeAttributes, work)) return code;
    map.node = work;
    return XmlError::Ok;
}

} // namespace korvex::xml
