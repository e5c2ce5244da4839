#include "model/lists/ListRows.h"

#include <algorithm>
#include <array>

namespace korvex {
namespace {

template <typename Row>
bool makeRoom(std::array<Row, kListCapacity>& rows, int& count, int p, int n, int rowLimit) {
    const int limit = std::min(rowLimit, kListCapacity);
    if (count < 0 || count > kListCapacity) return false;
    if (p < 0 || p > count || n < 1 || count + n > limit) return false;
    std::move_backward(rows.begin() + p, rows.begin() + count, rows.begin() + count + n);
    std::fill(rows.begin() + p, rows.begin() + p + n, Row{});
    count += n;
    return true;
}

template <typename Row> bool removeRows(std::array<Row, kListCapacity>& rows, int& count, int p, int n) {
    if (count < 0 || count > kListCapacity) return false;
    if (p < 0 || n < 1 || n > count - p) return false;
    std::move(rows.begin() + p + n, rows.begin() + count, rows.begin() + p);
    std::fill(rows.begin() + count - n, rows.begin() + count, Row{});
    count -= n;
    return true;
}

} // namespace

bool makeNVRoom(ObjectMap& map, int p, int n, int rowLimit) {
    return makeRoom(map.nvs, map.nvCount, p, n, rowLimit);
}

bool makeRegisterRoom(ObjectMap& map, int p, int n, int rowLimit) {
    return makeRoom(map.registers, map.registerCount, p, n, rowLimit);
}

bool removeNVRows(ObjectMap& map, int p, int n) {
    return removeRows(map.nvs, map.nvCount, p, n);
}

bool removeRegisterRows(ObjectMap& map, int p, int n) {
    return removeRows(map.registers, map.registerCount, p, n);
}

} // namespace korvex
