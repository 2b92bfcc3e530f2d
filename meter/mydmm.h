// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "command/command.h"
#include "meter/dmmdata.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QSharedPointer>
#include <QString>

#include <cstdint>
#include <memory>

class CommandCtrl;
class HIDDevice;

// The meter connection: opens and closes the meter, cuts its byte stream
// into frames, decodes live and stored frames into records and emits them.
class MyDMM : public QObject
{
    Q_OBJECT

public:
    // Frame types that carry a record.
    static constexpr quint8 liveFrameType = 0x02;
    static constexpr quint8 storedFrameType = 0x03;
    // Without a header in sight the receive buffer never holds more than this.
    static constexpr int receiveBufferLimit = 64 * 1024;

    explicit MyDMM(QObject *parent = nullptr);
    ~MyDMM() override;

    // False when already active or when the meter at `path` cannot be opened.
    bool open(const QString &path);
    void close();
    bool actived() const;
    // Pauses the command pump only; frames keep arriving and being decoded.
    void setPause(bool pause);

    // Cuts the frame at the front of the receive buffer into m_frameData; true
    // only for a complete frame with a correct checksum.
    bool getOneFrameData();
    void decodeLiveData(const QByteArray &frame);
    void decodeStoreData(const QByteArray &frame);

    QString getCurrUnit(int type) const;
    QString getResUnit(int type) const;

    // Field width and decimals of a number text for `value`.
    static void getDoubleParam(double value, int &fieldWidth, int &precision);
    // `value` truncated toward zero to `precision` decimals; a zero result is
    // +0 and a non-finite value stays as it is.
    static double getCutValue(double value, int precision);

    // Bytes waiting in the receive buffer for the rest of their frame.
    int bufferedByteCount() const;

signals:
    void updateLiveData(QSharedPointer<DMMData> data);
    void updateStoreData(QSharedPointer<DMMData> data);
    void opened();
    void closed();
    void communicationTimeout();
    // The stream bytes of each chunk as they arrive, before frame assembly.
    void streamReceived(const QByteArray &bytes);
    // Each record with the frame it was decoded from, just before the record
    // goes out through updateLiveData or updateStoreData.
    void frameDecoded(const QSharedPointer<DMMData> &record, const QByteArray &frame);

public slots:
    void slotSerialDeviceRead(const uint8_t *data, uint len);
    void sltCommunicationTimeout();
    void nextCommand(QSharedPointer<Command> command);

private:
    void readReport(const QByteArray &data);
    void dispatchFrame();
    void boundReceiveBuffer();

    QByteArray m_recvBuffer;
    QByteArray m_frameData;
    std::unique_ptr<HIDDevice> m_hid;
    CommandCtrl *m_ctrl = nullptr;
    bool m_actived = false;
};
