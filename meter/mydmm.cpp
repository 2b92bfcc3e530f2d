// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/mydmm.h"

#include "meter/unittable.h"
#include "util/utils.h"

#include <QDebug>

#include <climits>
#include <cmath>

// Frame: AB CD, length L (16 bits, big-endian: type byte, payload and checksum),
// type byte, payload, checksum (16-bit sum of type byte and payload,
// big-endian). The whole frame is L + 4 bytes, taken in 16 bits.

namespace {
const QByteArray &frameHeader()
{
    static const QByteArray header("\xAB\xCD", 2);
    return header;
}

constexpr int headerSize = 2;
constexpr int lengthOffset = 2;
constexpr int typeOffset = 4;
constexpr int lengthFieldOverhead = 4;
// Header, length, type byte and checksum: anything shorter is no frame.
constexpr int minFrameSize = 7;
// The buffer is searched for a header only once it holds more than this.
constexpr int minSearchSize = 3;

quint16 frameSizeAtFront(const QByteArray &buffer)
{
    const quint16 length = quint16(quint8(buffer.at(lengthOffset)) << 8 | quint8(buffer.at(lengthOffset + 1)));
    return quint16(length + lengthFieldOverhead);
}

bool checksumMatches(const QByteArray &buffer, int frameSize)
{
    const int summed = frameSize - typeOffset - 2;
    const quint16 sum = quint16(Utils::getCheckSum(buffer.constData() + typeOffset, summed));
    const int at = frameSize - 2;
    const quint16 sent = quint16(quint8(buffer.at(at)) << 8 | quint8(buffer.at(at + 1)));
    return sum == sent;
}
} // namespace

void MyDMM::slotSerialDeviceRead(const uint8_t *data, uint len)
{
    if (data && len > 0) {
        const QByteArray bytes(reinterpret_cast<const char *>(data), int(qMin<uint>(len, INT_MAX)));
        emit streamReceived(bytes);
        m_recvBuffer.append(bytes);
    }
    while (getOneFrameData())
        dispatchFrame();
    boundReceiveBuffer();
}

bool MyDMM::getOneFrameData()
{
    for (;;) {
        if (m_recvBuffer.size() <= minSearchSize)
            return false;
        const int start = m_recvBuffer.indexOf(frameHeader());
        if (start < 0)
            return false;
        if (start > 0) {
            m_recvBuffer.remove(0, start);
            if (m_recvBuffer.size() <= minSearchSize)
                return false;
        }
        const int frameSize = frameSizeAtFront(m_recvBuffer);
        // A length that describes no frame must not stall assembly: skip the
        // header and look for the next one.
        if (frameSize < minFrameSize) {
            m_recvBuffer.remove(0, headerSize);
            continue;
        }
        if (m_recvBuffer.size() < frameSize)
            return false;
        // A damaged frame is dropped and the good frames behind it go on in
        // the same pass: waiting for the next chunk would let a backlog pile
        // up behind every damaged frame until the buffer's bound cut it off.
        if (!checksumMatches(m_recvBuffer, frameSize)) {
            m_recvBuffer.remove(0, frameSize);
            continue;
        }
        m_frameData = m_recvBuffer.left(frameSize);
        m_recvBuffer.remove(0, frameSize);
        return true;
    }
}

void MyDMM::dispatchFrame()
{
    switch (quint8(m_frameData.at(typeOffset))) {
    case liveFrameType:
        decodeLiveData(m_frameData);
        break;
    case storedFrameType:
        qDebug().noquote() << QStringLiteral("Stored Data: ") + QString::fromLatin1(m_frameData.toHex())
                                  + QStringLiteral("--------------------------------");
        decodeStoreData(m_frameData);
        break;
    default:
        break;
    }
}

// Headerless bytes are useless except for a last 0xAB that may begin a header,
// so a stream of noise is cut back to that. A header in an oversized buffer
// can only be one whose length promises more than has arrived; its oldest
// bytes go too, so that such a promise cannot grow the buffer for ever.
void MyDMM::boundReceiveBuffer()
{
    if (m_recvBuffer.size() <= receiveBufferLimit)
        return;
    m_recvBuffer.remove(0, m_recvBuffer.size() - receiveBufferLimit);
    if (m_recvBuffer.contains(frameHeader()))
        return;
    const char headerStart = frameHeader().at(0);
    m_recvBuffer = m_recvBuffer.endsWith(headerStart) ? QByteArray(1, headerStart) : QByteArray();
}

int MyDMM::bufferedByteCount() const
{
    return m_recvBuffer.size();
}

QString MyDMM::getCurrUnit(int type) const
{
    return UnitTable::currentUnit(type);
}

QString MyDMM::getResUnit(int type) const
{
    return UnitTable::resistanceUnit(type);
}

void MyDMM::getDoubleParam(double value, int &fieldWidth, int &precision)
{
    if (value == 0.0) {
        fieldWidth = 3;
        precision = 0;
    } else if (value < 10.0) {
        fieldWidth = 4;
        precision = 2;
    } else if (value < 100.0) {
        fieldWidth = 4;
        precision = 1;
    } else {
        // 100 and above, and NaN, which compares as neither.
        fieldWidth = 3;
        precision = 0;
    }
}

// Truncating in floating point keeps large values intact, where a cast to a
// 32-bit integer would turn them (and NaN) into its minimum.
double MyDMM::getCutValue(double value, int precision)
{
    const double scale = std::pow(10.0, precision);
    const double scaled = value * scale;
    if (!std::isfinite(scaled))
        return value; // non-finite, or too large to carry any decimals
    // Decimal fractions are inexact in binary (0.29 * 100 is 28.999999999999996):
    // a tolerance far below the meter's resolution keeps them from losing a digit.
    const double tolerance = std::abs(scaled) * 1e-12;
    const double cut = std::trunc(scaled + std::copysign(tolerance, scaled)) / scale;
    return cut == 0.0 ? 0.0 : cut;
}
