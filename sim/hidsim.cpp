// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// The hidapi functions the program calls, answered by virtual devices. Only
// these are defined: a call to any other hidapi function fails to link.
#include "sim/hidsimregistry.h"

#include <hidapi.h>

namespace {
HidSimRegistry &registry()
{
    return HidSimRegistry::instance();
}
} // namespace

extern "C" {

int HID_API_EXPORT HID_API_CALL hid_init(void)
{
    return registry().init();
}

int HID_API_EXPORT HID_API_CALL hid_exit(void)
{
    return registry().exit();
}

struct hid_device_info HID_API_EXPORT *HID_API_CALL hid_enumerate(unsigned short vendor_id,
                                                                  unsigned short product_id)
{
    return registry().enumerate(vendor_id, product_id);
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info *devs)
{
    HidSimRegistry::freeEnumeration(devs);
}

HID_API_EXPORT hid_device *HID_API_CALL hid_open_path(const char *path)
{
    return registry().openPath(path);
}

int HID_API_EXPORT HID_API_CALL hid_set_nonblocking(hid_device *dev, int nonblock)
{
    return registry().setNonBlocking(dev, nonblock);
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(hid_device *dev, unsigned char *data, size_t length,
                                                 int milliseconds)
{
    return registry().readTimeout(dev, data, length, milliseconds);
}

int HID_API_EXPORT HID_API_CALL hid_write(hid_device *dev, const unsigned char *data, size_t length)
{
    return registry().write(dev, data, length);
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device *dev)
{
    registry().close(dev);
}

HID_API_EXPORT const wchar_t *HID_API_CALL hid_error(hid_device *dev)
{
    return registry().error(dev);
}

} // extern "C"
