// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QObject>
#include <QVariant>

// A block of bytes to send to the meter, with how long to wait for its answer.
// Always created without parent and passed around as QSharedPointer<Command>.
class Command : public QObject
{
    Q_OBJECT

public:
    Command(QByteArray content, bool needResponse, int timeout, QVariant remark);

    QByteArray content() const;
    void setContent(const QByteArray &content);
    bool needResponse() const;
    void setNeedResponse(bool needResponse);
    // Milliseconds to wait for the response.
    int timeout() const;
    void setTimeout(int timeout);
    // Free annotation for the sender's own use; never interpreted here.
    QVariant remark() const;
    void setRemark(const QVariant &remark);

private:
    QByteArray m_content;
    bool m_needResponse = false;
    int m_timeout = 0;
    QVariant m_remark;
};
