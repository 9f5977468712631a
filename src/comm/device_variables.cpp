#include "comm/device_variables.h"

#include <algorithm>
#include <iterator>

namespace {

struct VariableInfo {
  WORD id;
  WireType type;
};

using enum WireType;

// Every device variable the program reads or writes, by id.
constexpr VariableInfo kVariables[] = {
    {1, Float32},  {2, Float32},  {3, Float32},   {6, Float32},   {8, UInt8},     {10, Float32},  {12, Float32},
    {14, UInt8},   {17, Float32}, {42, UInt8},    {43, Float32},  {48, Float32},  {49, Float32},  {55, UInt8},
    {56, UInt8},   {62, Float32}, {63, Float32},  {69, UInt16},   {71, UInt16},   {72, UInt16},   {73, UInt16},
    {74, UInt16},  {78, UInt16},  {80, UInt16},   {81, UInt16},   {83, UInt16},   {85, UInt16},   {86, UInt16},
    {87, UInt16},  {88, UInt16},  {116, Float32}, {117, Float32}, {118, Float32}, {119, Float32}, {120, Float32},
    {126, UInt16}, {132, Float32}, {135, Float32}, {141, UInt8},  {142, Float32}, {143, Float32}, {144, UInt8},
    {145, Float32}, {146, Float32}, {147, UInt8},  {149, Float32}, {150, UInt8},  {152, UInt8},   {167, UInt8},
    {170, UInt8},  {179, UInt8},  {189, UInt8},   {196, UInt8},   {211, UInt8},   {212, UInt8},   {228, UInt8},
    {229, UInt8},  {230, UInt8},  {231, UInt8},   {264, UInt8},   {265, UInt8},   {285, Float32}, {287, Float32},
    {288, UInt8},  {289, Float32}, {295, Float32}, {296, Float32}, {297, Float32}, {301, UInt32},  {302, UInt32},
    {303, UInt32}, {305, UInt32}, {306, UInt32},  {307, UInt32},  {309, Float32}, {310, Float32}, {331, UInt32},
    {332, UInt32}, {333, UInt32}, {335, UInt32},  {336, UInt32},  {337, UInt32},  {391, Float32}, {410, UInt8},
    {454, UInt8},  {455, UInt8},  {457, UInt8},   {459, UInt8},   {461, UInt8},   {462, UInt8},   {490, Float32},
};

}  // namespace

std::optional<WireType> VariableType(WORD id) {
  const auto it = std::lower_bound(std::begin(kVariables), std::end(kVariables), id,
                                   [](const VariableInfo& v, WORD wanted) { return v.id < wanted; });
  if (it == std::end(kVariables) || it->id != id) return std::nullopt;
  return it->type;
}

int WireWidth(WireType type) {
  switch (type) {
    case WireType::UInt8: return 1;
    case WireType::UInt16: return 2;
    case WireType::UInt32:
    case WireType::Float32: return 4;
  }
  return 0;
}
