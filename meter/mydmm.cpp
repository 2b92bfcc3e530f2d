// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/mydmm.h"

#include "meter/framedecoder.h"
#include "meter/numbertext.h"

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
    NumberText::fieldFor(value, fieldWidth, precision);
}

double MyDMM::getCutValue(double value, int precision)
{
    return NumberText::cut(value, precision);
}

void MyDMM::decodeLiveData(const QByteArray &frame)
{
    const QSharedPointer<DMMData> record = FrameDecoder::liveRecordOf(frame);
    if (!record)
        return;
    emit frameDecoded(record, frame);
    emit updateLiveData(record);
}

void MyDMM::decodeStoreData(const QByteArray &frame)
{
    const QSharedPointer<DMMData> record = FrameDecoder::storedRecordOf(frame);
    if (!record)
        return;
    emit frameDecoded(record, frame);
    emit updateStoreData(record);
}
