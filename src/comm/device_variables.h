#pragma once
// Device variables: 16-bit ids, each with one wire type.
#include <optional>

#include "platform/sys/wintypes.h"

enum class WireType { UInt8, UInt16, UInt32, Float32 };

// The wire type of a device variable the program uses; none for another id.
std::optional<WireType> VariableType(WORD id);
int WireWidth(WireType type);
