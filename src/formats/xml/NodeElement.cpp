// The `nd` element: the node's location and program-ID selector.
#include "formats/xml/ElementValues.h"
#include "formats/xml/Elements.h"
#include "model/FixedText.h"

namespace korvex::xml {
namespace {

XmlError setLocation(NodeInfo& node, std::string_view v) {
    setText(node.loc, v, kLocationLength);
    return XmlError::Ok;
}

XmlError setPid(NodeInfo& node, std::string_view v) {
    int64_t n = 0;
    if (const XmlError code = readInteger(v, 0, 255, n); code != XmlError::Ok) return code;
    node.pid = static_cast<uint8_t>(n);
    return XmlError::Ok;
}

constexpr std::array<Attribute<NodeInfo>, 2> kNodeAttributes{{{"loc", setLocation}, {"pid", setPid}}};

} // namespace

XmlError applyNodeElement(ObjectMap& map, UnitCursor& cursor) {
    NodeInfo work = map.node;
    if (const XmlError code = runAttributeLoop<NodeInfo>(cursor, kNodeAttributes, work); code != XmlError::Ok)
        return code;
    map.node = work;
    return XmlError::Ok;
}

} // namespace korvex::xml
