// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "command/command.h"

#include <utility>

Command::Command(QByteArray content, bool needResponse, int timeout, QVariant remark)
    : m_content(std::move(content))
    , m_needResponse(needResponse)
    , m_timeout(timeout)
    , m_remark(std::move(remark))
{
}

QByteArray Command::content() const { return m_content; }
void Command::setContent(const QByteArray &content) { m_content = content; }
bool Command::needResponse() const { return m_needResponse; }
void Command::setNeedResponse(bool needResponse) { m_needResponse = needResponse; }
int Command::timeout() const { return m_timeout; }
void Command::setTimeout(int timeout) { m_timeout = timeout; }
QVariant Command::remark() const { return m_remark; }
void Command::setRemark(const QVariant &remark) { m_remark = remark; }
