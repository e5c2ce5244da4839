// The checker's pass over the registers the objects use together: shared writes, shared
// reads, formats spanning several registers that overlap another object's register, and slave
// addresses that no TCP device entry maps.
#include "model/RegisterObjectCopy.h"
#include "model/check/MapCheckSupport.h"
#include "vocab/RegisterCodes.h"
#include "vocab/RegisterNames.h"

#include <algorithm>
#include <bit>
#include <tuple>

namespace korvex::check {
namespace {

// Coils and holding registers each come in two write flavours that address the same register.
enum class Family : uint8_t { None, Coil, Discrete, Input, Holding };

Family familyOf(int32_t type) {
    switch (type) {
    case RegisterType::Coil:
    case RegisterType::Coil1:
        return Family::Coil;
    case RegisterType::Discrete:
        return Family::Discrete;
    case RegisterType::Input:
        return Family::Input;
    case RegisterType::Holding:
    case RegisterType::Holding1:
        return Family::Holding;
    default:
        return Family::None;
    }
}

struct Use {
    uint8_t slave;
    Family family;
    uint16_t number;
    int object;
    uint32_t bits; // the bits of the register the object uses
    int width;     // registers its format spans
    bool writes;
    int32_t type;
    int32_t format;

    auto key() const { return std::tie(slave, family, number, object); }
    bool sameRegister(const Use& o) const {
        return slave == o.slave && family == o.family && number == o.number;
    }
};

// A BIT object, or a member of a packed register, uses only the bits of its mask.
Use useOf(const DataObject& o, int n) {
    Use use{o.slave, familyOf(o.modtype), o.modreg, n, ~0u, 1, writesRegister(o), o.modtype, o.moddata};
    if (use.family == Family::Input || use.family == Family::Holding) {
        use.width = registersTaken(o.moddata);
        const bool partial = o.moddata == RegisterFormat::BIT || (o.flags & ObjectFlag::Packed) != 0;
        if (partial && o.mask != 0) use.bits = o.mask;
    }
    return use;
}

std::string useText(const Use& use) {
    std::string text = registerText(use.type, use.number, use.slave);
    if (use.bits == ~0u) return text;
    if (std::has_single_bit(use.bits)) return textf("bit %d of ", std::countr_zero(use.bits)) + text;
    return textf("bits %08X of ", use.bits) + text;
}

// Groups the uses of one register into sets joined by shared bits; with writersOnly, readers
// stay out. Each set lists indices into `group` in object order.
std::vector<std::vector<int>> sharingSets(std::span<const Use> group, bool writersOnly) {
    const int count = static_cast<int>(group.size());
    std::vector<int> set(group.size(), -1);
    std::vector<std::vector<int>> sets;
    for (int first = 0; first < count; ++first) {
        if (set[first] >= 0 || (writersOnly && !group[first].writes)) continue;
        set[first] = static_cast<int>(sets.size());
        sets.push_back({first});
        auto& members = sets.back();
        for (std::size_t k = 0; k < members.size(); ++k) {
            for (int other = 0; other < count; ++other) {
                if (set[other] >= 0 || (writersOnly && !group[other].writes)) continue;
                if ((group[members[k]].bits & group[other].bits) == 0) continue;
                set[other] = set[first];
                members.push_back(other);
            }
        }
        std::sort(members.begin(), members.end());
    }
    return sets;
}

std::vector<int> objectsOf(std::span<const Use> group, const std::vector<int>& members, bool skipFirst) {
    std::vector<int> objects;
    for (std::size_t i = skipFirst ? 1 : 0; i < members.size(); ++i)
        objects.push_back(group[members[i]].object);
    return objects;
}

void reportSharedWrites(std::span<const Use> group, Findings& findings) {
    for (const auto& members : sharingSets(group, true)) {
        if (members.size() < 2) continue;
        const Use& first = group[members[0]];
        const auto others = objectsOf(group, members, true);
        findings.add(Rule::RegisterSharedWrite, PlaceKind::Object, first.object,
                     "writes " + useText(first) + (others.size() == 1 ? ", as does " : ", as do ") +
                         objectsText(others));
    }
}

void reportSharedReads(std::span<const Use> group, Findings& findings) {
    for (const auto& members : sharingSets(group, false)) {
        std::vector<int> writers, readers;
        for (std::size_t i = 1; i < members.size(); ++i)
            (group[members[i]].writes ? writers : readers).push_back(group[members[i]].object);
        const Use& first = group[members[0]];
        if (members.size() < 2 || (first.writes && readers.empty())) continue;
        std::string text = (first.writes ? "writes " : "reads ") + useText(first) + ", which ";
        if (!writers.empty()) text += objectsText(writers) + (writers.size() == 1 ? " writes" : " write");
        if (!writers.empty() && !readers.empty()) text += " and ";
        if (!readers.empty())
            text += objectsText(readers) + (readers.size() == 1 ? " also reads" : " also read");
        findings.add(Rule::RegisterShared, PlaceKind::Object, first.object, std::move(text));
    }
}

// `uses` sorted by register: each use spanning several registers against the uses that start
// inside its span (those starting at the same register share it instead).
void reportOverlaps(std::span<const Use> uses, Findings& findings) {
    for (std::size_t i = 0; i < uses.size(); ++i) {
        const Use& wide = uses[i];
        if (wide.width < 2) continue;
        const int last = wide.number + wide.width - 1;
        std::vector<int> covered;
        bool writes = wide.writes;
        for (std::size_t j = i + 1; j < uses.size(); ++j) {
            const Use& u = uses[j];
            if (u.slave != wide.slave || u.family != wide.family || u.number > last) break;
            if (u.number == wide.number) continue;
            covered.push_back(u.object);
            writes = writes || u.writes;
        }
        if (covered.empty()) continue;
        std::sort(covered.begin(), covered.end());
        findings.add(Rule::RegisterOverlap, writes ? Severity::Error : Severity::Warning, PlaceKind::Object,
                     wide.object,
                     textf("%s at %s spans registers %u to %d and overlaps ",
                           register_format_keyword(wide.format), useText(wide).c_str(), unsigned(wide.number),
                           last) +
                         objectsText(covered));
    }
}

// Korvex-C as master with a TCP device map in use: every slave address should fall into the
// unit range of an entry.
void reportUnmappedSlaves(const ObjectMap& map, int deviceModel, std::span<const Use> uses,
                          Findings& findings) {
    if (deviceModel != kTcpDeviceModel || !gatewayIsMaster(map) || tcpMapEntriesInUse(map.tcpMap) == 0)
        return;
    auto mapped = [&](int slave) {
        for (const TcpDeviceMap& e : map.tcpMap) {
            if (!e.inUse()) continue;
            const TcpDeviceMap n = normalisedEntry(e);
            if (slave >= n.firstUnit && slave <= n.lastUnit) return true;
        }
        return false;
    };
    for (std::size_t i = 0; i < uses.size();) {
        std::size_t end = i;
        std::vector<int> objects;
        for (; end < uses.size() && uses[end].slave == uses[i].slave; ++end)
            objects.push_back(uses[end].object);
        if (!mapped(uses[i].slave)) {
            std::sort(objects.begin(), objects.end());
            objects.erase(std::unique(objects.begin(), objects.end()), objects.end());
            std::string text =
                textf("uses slave %u, which no TCP device entry maps", unsigned(uses[i].slave));
            const std::span<const int> others(objects.data() + 1, objects.size() - 1);
            if (!others.empty()) text += " (" + objectsText(others) + " too)";
            findings.add(Rule::TcpSlaveUnmapped, PlaceKind::Object, objects[0], std::move(text));
        }
        i = end;
    }
}

} // namespace

void checkRegisterUse(const ObjectMap& map, int deviceModel, Findings& findings) {
    std::vector<Use> uses;
    uses.reserve(kObjectCount);
    for (int n = 1; n <= kObjectCount; ++n) {
        const DataObject& o = map.objects[static_cast<std::size_t>(n - 1)];
        if (!hasModbusRegister(o) || familyOf(o.modtype) == Family::None) continue;
        uses.push_back(useOf(o, n));
    }
    std::sort(uses.begin(), uses.end(), [](const Use& a, const Use& b) { return a.key() < b.key(); });
    for (std::size_t i = 0; i < uses.size();) {
        std::size_t end = i + 1;
        while (end < uses.size() && uses[end].sameRegister(uses[i])) ++end;
        if (end - i > 1) {
            const std::span<const Use> group(uses.data() + i, end - i);
            reportSharedWrites(group, findings);
            reportSharedReads(group, findings);
        }
        i = end;
    }
    reportOverlaps(uses, findings);
    reportUnmappedSlaves(map, deviceModel, uses, findings);
}

} // namespace korvex::check
