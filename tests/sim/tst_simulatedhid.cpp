// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sim/simulatedhid.h"

#include <hidapi.h>

#include <QTest>

#include <atomic>
#include <thread>

namespace {
const QString meterPath = QStringLiteral("/dev/hidraw-sim0");

struct ReadResult
{
    int count = 0;
    QByteArray bytes;
};

ReadResult readReport(hid_device *handle, int timeoutMs)
{
    unsigned char buffer[SimulatedHid::reportSize] = {};
    ReadResult result;
    result.count = hid_read_timeout(handle, buffer, sizeof buffer, timeoutMs);
    if (result.count > 0)
        result.bytes = QByteArray(reinterpret_cast<const char *>(buffer), result.count);
    return result;
}

// A read on its own thread, as the program's worker makes it.
class BackgroundRead
{
public:
    BackgroundRead(hid_device *handle, int timeoutMs)
        : m_thread([this, handle, timeoutMs] {
              m_result = readReport(handle, timeoutMs);
              m_done = true;
          })
    {
    }
    ~BackgroundRead() { m_thread.join(); }

    bool done() const { return m_done; }
    ReadResult result() const { return m_result; }

private:
    ReadResult m_result;
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};
} // namespace

class TestSimulatedHid : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void enumerationFiltersByIds_data();
    void enumerationFiltersByIds();
    void enumerationCarriesTheDeviceFields();
    void openFailsForUnknownPathOrOnRequest();
    void readWithNothingPendingTimesOutWithZero();
    void blockedReadWakesForAReport();
    void streamIsSplitIntoCountedReports();
    void rawReportIsReadAsGiven();
    void unplugFailsPendingAndBlockedReads();
    void interruptedReadsFailWhileTheDeviceStays();
    void sourceFeedsTheDeviceAfterItsDelay();
};

void TestSimulatedHid::init()
{
    SimulatedHid::reset();
}

void TestSimulatedHid::enumerationFiltersByIds_data()
{
    QTest::addColumn<int>("vendorId");
    QTest::addColumn<int>("productId");
    QTest::addColumn<QStringList>("paths");

    QTest::newRow("any device") << 0 << 0 << QStringList{"/a", "/b", "/c"};
    QTest::newRow("meter ids") << 0x1A86 << 0xE429 << QStringList{"/a", "/c"};
    QTest::newRow("vendor only") << 0x1A86 << 0 << QStringList{"/a", "/b", "/c"};
    QTest::newRow("product only") << 0 << 0x1234 << QStringList{"/b"};
    QTest::newRow("no match") << 0x0001 << 0x0002 << QStringList{};
}

void TestSimulatedHid::enumerationFiltersByIds()
{
    QFETCH(int, vendorId);
    QFETCH(int, productId);
    QFETCH(QStringList, paths);

    VirtualHidDevice other = VirtualHidDevice::meter(QStringLiteral("/b"));
    other.productId = 0x1234;
    SimulatedHid::setDevices({VirtualHidDevice::meter(QStringLiteral("/a")), other,
                              VirtualHidDevice::meter(QStringLiteral("/c"))});

    hid_device_info *list = hid_enumerate(vendorId, productId);
    QStringList found;
    for (const hid_device_info *info = list; info; info = info->next)
        found.append(QString::fromUtf8(info->path));
    hid_free_enumeration(list);
    QCOMPARE(found, paths);
}

void TestSimulatedHid::enumerationCarriesTheDeviceFields()
{
    VirtualHidDevice device;
    device.path = QStringLiteral("/dev/hidraw7");
    device.serialNumber = QStringLiteral("SN-42");
    device.releaseNumber = 0x0203;
    device.manufacturer = QStringLiteral("Maker");
    device.product = QStringLiteral("Meter Ω");
    device.usagePage = 0xFF00;
    device.usage = 3;
    SimulatedHid::addDevice(device);

    hid_device_info *info = hid_enumerate(0, 0);
    QVERIFY(info);
    QCOMPARE(QString::fromUtf8(info->path), device.path);
    QCOMPARE(info->vendor_id, device.vendorId);
    QCOMPARE(info->product_id, device.productId);
    QCOMPARE(QString::fromWCharArray(info->serial_number), device.serialNumber);
    QCOMPARE(info->release_number, device.releaseNumber);
    QCOMPARE(QString::fromWCharArray(info->manufacturer_string), device.manufacturer);
    QCOMPARE(QString::fromWCharArray(info->product_string), device.product);
    QCOMPARE(info->usage_page, device.usagePage);
    QCOMPARE(info->usage, device.usage);
    QVERIFY(!info->next);
    hid_free_enumeration(info);
}

void TestSimulatedHid::openFailsForUnknownPathOrOnRequest()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    QVERIFY(!hid_open_path("/dev/nowhere"));
    QVERIFY(!QString::fromWCharArray(hid_error(nullptr)).isEmpty());

    QVERIFY(SimulatedHid::setOpenFails(meterPath, true));
    QVERIFY(!hid_open_path(meterPath.toLatin1().constData()));

    QVERIFY(SimulatedHid::setOpenFails(meterPath, false));
    hid_device *handle = hid_open_path(meterPath.toLatin1().constData());
    QVERIFY(handle);
    QCOMPARE(SimulatedHid::openHandleCount(), 1);
    hid_close(handle);
    QCOMPARE(SimulatedHid::openHandleCount(), 0);
    QCOMPARE(SimulatedHid::openCount(), 1);
    QCOMPARE(SimulatedHid::closeCount(), 1);
}

void TestSimulatedHid::readWithNothingPendingTimesOutWithZero()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    hid_device *handle = hid_open_path(meterPath.toLatin1().constData());
    QVERIFY(handle);
    QCOMPARE(readReport(handle, 20).count, 0);
    QCOMPARE(readReport(handle, 0).count, 0);
    QCOMPARE(SimulatedHid::readCount(), 2);
    hid_close(handle);
}

void TestSimulatedHid::blockedReadWakesForAReport()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    hid_device *handle = hid_open_path(meterPath.toLatin1().constData());
    QVERIFY(handle);
    {
        const BackgroundRead read(handle, -1);
        QTRY_COMPARE_WITH_TIMEOUT(SimulatedHid::readCount(), 1, 10000);
        QVERIFY(SimulatedHid::queueReport(meterPath, QByteArray("\x01\x02", 2)));
        QTRY_VERIFY_WITH_TIMEOUT(read.done(), 10000);
        QCOMPARE(read.result().count, SimulatedHid::reportSize);
        QCOMPARE(read.result().bytes.left(3), QByteArray("\x02\x01\x02", 3));
    }
    hid_close(handle);
}

void TestSimulatedHid::streamIsSplitIntoCountedReports()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    hid_device *handle = hid_open_path(meterPath.toLatin1().constData());
    QVERIFY(handle);
    QByteArray stream;
    for (int i = 0; i < 130; ++i)
        stream.append(static_cast<char>(i));
    QVERIFY(SimulatedHid::queueStream(meterPath, stream));

    QByteArray reassembled;
    QList<int> counts;
    for (ReadResult report = readReport(handle, 0); report.count > 0; report = readReport(handle, 0)) {
        QCOMPARE(report.count, SimulatedHid::reportSize);
        const int carried = static_cast<unsigned char>(report.bytes.at(0));
        counts.append(carried);
        reassembled.append(report.bytes.mid(1, carried));
    }
    QCOMPARE(counts, (QList<int>{63, 63, 4}));
    QCOMPARE(reassembled, stream);
    hid_close(handle);
}

void TestSimulatedHid::rawReportIsReadAsGiven()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    hid_device *handle = hid_open_path(meterPath.toLatin1().constData());
    QVERIFY(handle);
    const QByteArray lying("\x0a\x01\x02\x03", 4);
    QVERIFY(SimulatedHid::queueRawReport(meterPath, lying));
    const ReadResult report = readReport(handle, 0);
    QCOMPARE(report.count, lying.size());
    QCOMPARE(report.bytes, lying);
    hid_close(handle);
}

void TestSimulatedHid::unplugFailsPendingAndBlockedReads()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    hid_device *handle = hid_open_path(meterPath.toLatin1().constData());
    QVERIFY(handle);
    {
        const BackgroundRead read(handle, -1);
        QTRY_COMPARE_WITH_TIMEOUT(SimulatedHid::readCount(), 1, 10000);
        QVERIFY(SimulatedHid::unplug(meterPath));
        QTRY_VERIFY_WITH_TIMEOUT(read.done(), 10000);
        QCOMPARE(read.result().count, -1);
    }
    QVERIFY(SimulatedHid::queueReport(meterPath, "x") == false);
    QCOMPARE(readReport(handle, 0).count, -1);
    QVERIFY(!QString::fromWCharArray(hid_error(nullptr)).isEmpty());
    QVERIFY(!hid_enumerate(0, 0));
    QVERIFY(!hid_open_path(meterPath.toLatin1().constData()));
    hid_close(handle);
    QCOMPARE(SimulatedHid::openHandleCount(), 0);
}

void TestSimulatedHid::interruptedReadsFailWhileTheDeviceStays()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    hid_device *handle = hid_open_path(meterPath.toLatin1().constData());
    QVERIFY(handle);
    QVERIFY(!SimulatedHid::failReads(QStringLiteral("/dev/nowhere"), 1));
    {
        const BackgroundRead read(handle, -1);
        QTRY_COMPARE_WITH_TIMEOUT(SimulatedHid::readCount(), 1, 10000);
        QVERIFY(SimulatedHid::failReads(meterPath, 2));
        QTRY_VERIFY_WITH_TIMEOUT(read.done(), 10000);
        QCOMPARE(read.result().count, -1);
    }
    QCOMPARE(QString::fromWCharArray(hid_error(handle)), QStringLiteral("Interrupted system call"));
    QVERIFY(SimulatedHid::queueReport(meterPath, QByteArray("x")));
    QCOMPARE(readReport(handle, 0).count, -1);

    hid_device_info *list = hid_enumerate(0, 0);
    QVERIFY(list);
    QCOMPARE(QString::fromUtf8(list->path), meterPath);
    hid_free_enumeration(list);
    QCOMPARE(readReport(handle, 0).bytes.left(2), QByteArray("\x01x", 2));
    QCOMPARE(readReport(handle, 0).count, 0);
    hid_close(handle);
}

void TestSimulatedHid::sourceFeedsTheDeviceAfterItsDelay()
{
    class TwoChunks : public StreamSource
    {
    public:
        Chunk nextChunk() override
        {
            ++m_calls;
            if (m_calls > 2)
                return {};
            return {QByteArray(70, static_cast<char>(m_calls)), std::chrono::milliseconds(20)};
        }

    private:
        int m_calls = 0;
    };

    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    QVERIFY(SimulatedHid::attachSource(meterPath, std::make_shared<TwoChunks>()));
    hid_device *handle = hid_open_path(meterPath.toLatin1().constData());
    QVERIFY(handle);

    QByteArray received;
    for (ReadResult report = readReport(handle, 10000); report.count > 0; report = readReport(handle, 50))
        received.append(report.bytes.mid(1, static_cast<unsigned char>(report.bytes.at(0))));
    QCOMPARE(received, QByteArray(70, 1) + QByteArray(70, 2));
    hid_close(handle);
}

QTEST_GUILESS_MAIN(TestSimulatedHid)
#include "tst_simulatedhid.moc"
