// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

// The USB identity by which the meter is found among the HID devices.
namespace MeterUsbId {
inline constexpr unsigned short vendorId = 0x1A86;
inline constexpr unsigned short productId = 0xE429;
} // namespace MeterUsbId
