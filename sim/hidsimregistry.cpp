// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sim/hidsimregistry.h"

#include "sim/simulatedhid.h"

#include <algorithm>
#include <cstring>

namespace {
// hidapi's global error text belongs to the thread that made the failing
// call, which is the thread that asks for it right after.
thread_local std::wstring globalError = L"Success";

char *copyText(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    char *copy = new char[bytes.size() + 1];
    std::memcpy(copy, bytes.constData(), bytes.size() + 1);
    return copy;
}

wchar_t *copyWideText(const QString &text)
{
    const std::wstring wide = text.toStdWString();
    wchar_t *copy = new wchar_t[wide.size() + 1];
    std::copy(wide.c_str(), wide.c_str() + wide.size() + 1, copy);
    return copy;
}

hid_device_info *newDeviceInfo(const VirtualHidDevice &device)
{
    auto *info = new hid_device_info{};
    info->path = copyText(device.path);
    info->vendor_id = device.vendorId;
    info->product_id = device.productId;
    info->serial_number = copyWideText(device.serialNumber);
    info->release_number = device.releaseNumber;
    info->manufacturer_string = copyWideText(device.manufacturer);
    info->product_string = copyWideText(device.product);
    info->usage_page = device.usagePage;
    info->usage = device.usage;
    info->interface_number = 0;
    info->next = nullptr;
    info->bus_type = HID_API_BUS_USB;
    return info;
}

bool matches(unsigned short wanted, unsigned short actual)
{
    return wanted == 0 || wanted == actual;
}
} // namespace

HidSimRegistry &HidSimRegistry::instance()
{
    static HidSimRegistry registry;
    return registry;
}

int HidSimRegistry::init()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    ++m_inits;
    m_initialized = true;
    return 0;
}

int HidSimRegistry::exit()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    ++m_exits;
    m_initialized = false;
    return 0;
}

hid_device_info *HidSimRegistry::enumerate(unsigned short vendorId, unsigned short productId)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    hid_device_info *first = nullptr;
    hid_device_info **tail = &first;
    for (const auto &device : m_devices) {
        if (!matches(vendorId, device->info.vendorId) || !matches(productId, device->info.productId))
            continue;
        *tail = newDeviceInfo(device->info);
        tail = &(*tail)->next;
    }
    if (!first)
        setGlobalError(L"No HID devices found in the system.");
    return first;
}

void HidSimRegistry::freeEnumeration(hid_device_info *devices)
{
    while (devices) {
        hid_device_info *next = devices->next;
        delete[] devices->path;
        delete[] devices->serial_number;
        delete[] devices->manufacturer_string;
        delete[] devices->product_string;
        delete devices;
        devices = next;
    }
}

hid_device *HidSimRegistry::openPath(const char *path)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto device = path ? findLocked(QString::fromUtf8(path)) : nullptr;
    if (!device || device->openFails) {
        setGlobalError(L"Failed to open a device with that path");
        return nullptr;
    }
    auto *handle = new hid_device_;
    handle->device = device;
    m_handles.insert(handle);
    ++m_opens;
    return handle;
}

int HidSimRegistry::setNonBlocking(hid_device *handle, int nonBlock)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!isOpenLocked(handle))
        return -1;
    handle->nonBlocking = nonBlock != 0;
    return 0;
}

int HidSimRegistry::readTimeout(hid_device *handle, unsigned char *data, size_t length, int milliseconds)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    ++m_reads;
    m_changed.notify_all();
    const bool waitsForever = milliseconds < 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(milliseconds, 0));
    for (;;) {
        if (!isOpenLocked(handle)) {
            setGlobalError(L"The device is not open");
            return -1;
        }
        // A copy, so that the state outlives a close by another thread.
        const std::shared_ptr<SimulatedDeviceState> device = handle->device;
        if (device->unplugged)
            return failReadLocked(handle, L"The device has been disconnected");
        if (device->failingReads > 0) {
            --device->failingReads;
            return failReadLocked(handle, L"Interrupted system call");
        }
        if (device->pending.empty())
            pullFromSourceLocked(*device);
        const Clock::time_point now = Clock::now();
        if (!device->pending.empty() && device->pending.front().due <= now)
            return takeReportLocked(*device, data, length);
        if (!waitsForever && now >= deadline)
            return 0;
        Clock::time_point wakeAt = waitsForever ? Clock::time_point::max() : deadline;
        if (!device->pending.empty())
            wakeAt = std::min(wakeAt, device->pending.front().due);
        if (wakeAt == Clock::time_point::max())
            m_changed.wait(lock);
        else
            m_changed.wait_until(lock, wakeAt);
    }
}

int HidSimRegistry::write(hid_device *handle, const unsigned char *data, size_t length)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!isOpenLocked(handle) || handle->device->unplugged) {
        setGlobalError(L"The device is not available for writing");
        return -1;
    }
    handle->device->written.append(
        QByteArray(reinterpret_cast<const char *>(data), static_cast<int>(length)));
    return static_cast<int>(length);
}

void HidSimRegistry::close(hid_device *handle)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_handles.erase(handle) == 0)
        return;
    delete handle;
    ++m_closes;
    m_changed.notify_all();
}

const wchar_t *HidSimRegistry::error(hid_device *handle)
{
    if (!handle)
        return globalError.c_str();
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!isOpenLocked(handle))
        return L"The device is not open";
    return handle->lastError.empty() ? L"Success" : handle->lastError.c_str();
}

void HidSimRegistry::reset()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    // Handles left open by an earlier test must not read a later test's data.
    for (const auto &device : m_devices)
        device->unplugged = true;
    m_devices.clear();
    m_reads = 0;
    m_opens = 0;
    m_closes = 0;
    m_inits = 0;
    m_exits = 0;
    m_changed.notify_all();
}

void HidSimRegistry::addDevice(const VirtualHidDevice &device)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    auto state = std::make_shared<SimulatedDeviceState>();
    state->info = device;
    const auto samePath = [&device](const std::shared_ptr<SimulatedDeviceState> &other) {
        return other->info.path == device.path;
    };
    const auto existing = std::find_if(m_devices.begin(), m_devices.end(), samePath);
    if (existing != m_devices.end()) {
        (*existing)->unplugged = true;
        *existing = state;
    } else {
        m_devices.push_back(state);
    }
    m_changed.notify_all();
}

bool HidSimRegistry::setOpenFails(const QString &path, bool fails)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto device = findLocked(path);
    if (!device)
        return false;
    device->openFails = fails;
    return true;
}

bool HidSimRegistry::queueReports(const QString &path, const QList<QByteArray> &reports)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto device = findLocked(path);
    if (!device)
        return false;
    const Clock::time_point now = Clock::now();
    for (const QByteArray &report : reports)
        device->pending.push_back({report, now});
    m_changed.notify_all();
    return true;
}

bool HidSimRegistry::attachSource(const QString &path, std::shared_ptr<StreamSource> source)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto device = findLocked(path);
    if (!device)
        return false;
    device->source = std::move(source);
    m_changed.notify_all();
    return true;
}

bool HidSimRegistry::unplug(const QString &path)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto device = findLocked(path);
    if (!device)
        return false;
    device->unplugged = true;
    device->pending.clear();
    m_devices.erase(std::find(m_devices.begin(), m_devices.end(), device));
    m_changed.notify_all();
    return true;
}

bool HidSimRegistry::failReads(const QString &path, int count)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto device = findLocked(path);
    if (!device)
        return false;
    device->failingReads = std::max(0, count);
    m_changed.notify_all();
    return true;
}

QList<QByteArray> HidSimRegistry::written(const QString &path)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto device = findLocked(path);
    return device ? device->written : QList<QByteArray>();
}

int HidSimRegistry::readCount()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_reads;
}

int HidSimRegistry::openCount()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_opens;
}

int HidSimRegistry::closeCount()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_closes;
}

int HidSimRegistry::openHandleCount()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_handles.size());
}

int HidSimRegistry::initCount()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_inits;
}

int HidSimRegistry::exitCount()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_exits;
}

bool HidSimRegistry::initialized()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_initialized;
}

std::shared_ptr<SimulatedDeviceState> HidSimRegistry::findLocked(const QString &path) const
{
    const auto samePath = [&path](const std::shared_ptr<SimulatedDeviceState> &device) {
        return device->info.path == path;
    };
    const auto found = std::find_if(m_devices.begin(), m_devices.end(), samePath);
    return found == m_devices.end() ? nullptr : *found;
}

bool HidSimRegistry::isOpenLocked(hid_device *handle) const
{
    return handle && m_handles.count(handle) != 0;
}

void HidSimRegistry::pullFromSourceLocked(SimulatedDeviceState &device)
{
    if (!device.source)
        return;
    const StreamSource::Chunk chunk = device.source->nextChunk();
    if (chunk.bytes.isEmpty()) {
        device.source.reset();
        return;
    }
    const Clock::time_point due = Clock::now() + chunk.delay;
    for (const QByteArray &report : SimulatedHid::streamReports(chunk.bytes))
        device.pending.push_back({report, due});
}

int HidSimRegistry::takeReportLocked(SimulatedDeviceState &device, unsigned char *data, size_t length)
{
    const QByteArray report = device.pending.front().bytes;
    device.pending.pop_front();
    const size_t count = std::min(length, static_cast<size_t>(report.size()));
    std::memcpy(data, report.constData(), count);
    return static_cast<int>(count);
}

int HidSimRegistry::failReadLocked(hid_device *handle, const wchar_t *text)
{
    handle->lastError = text;
    setGlobalError(text);
    return -1;
}

void HidSimRegistry::setGlobalError(const wchar_t *text)
{
    globalError = text;
}
