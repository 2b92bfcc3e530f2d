// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/templatewindow.h"

#include "app/dlgoption.h"
#include "app/settingskeys.h"
#include "window/windowsync.h"
#include "ui_dlgoption.h"
#include "window/windowsync.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>

#include <limits>

namespace {
const int noSampleLimit = -1;
// The largest number the options dialog's spin boxes take.
const int largestDialogValue = 999999999;
const QString chineseLanguage = QStringLiteral("zh_CN");
const QString englishLanguage = QStringLiteral("en_US");

QSettings openSettings()
{
    return QSettings(QString::fromLatin1(SettingsKeys::fileName), QSettings::IniFormat);
}
} // namespace

// A hand-edited or damaged value that is no number, or none an int holds,
// would otherwise read as 0 or as its cut-off bits and silently stop all
// recording; it takes the default instead.
int TemplateWindow::readIntSetting(const QSettings &settings, const char *key, int defaultValue)
{
    bool ok = false;
    const qlonglong value = settings.value(QLatin1String(key), defaultValue).toLongLong(&ok);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return defaultValue;
    return static_cast<int>(value);
}

// Only the words a settings file writes for a bool count; anything else
// (which QVariant would read as true) takes the default.
bool TemplateWindow::readBoolSetting(const QSettings &settings, const char *key, bool defaultValue)
{
    const QVariant value = settings.value(QLatin1String(key), defaultValue);
    if (value.type() == QVariant::Bool)
        return value.toBool();
    const QString word = value.toString().trimmed().toLower();
    if (word == QLatin1String("true") || word == QLatin1String("1"))
        return true;
    if (word == QLatin1String("false") || word == QLatin1String("0"))
        return false;
    return defaultValue;
}

void TemplateWindow::loadSetting()
{
    const QSettings settings = openSettings();
    restoreGeometry(settings.value(QLatin1String(SettingsKeys::geometry)).toByteArray());
    m_language = settings.value(QLatin1String(SettingsKeys::language), 0).toString();
    m_samplePoints = readIntSetting(settings, SettingsKeys::samplePoints, noSampleLimit);
    m_sampleInterval = readIntSetting(settings, SettingsKeys::sampleInterval, 0);
    // A value the options dialog could not have written (an interval below
    // 0, no sample points at all) would stop every live reading from being
    // recorded while the dialog showed values that record; it takes the
    // default, and the dialog shows what is in effect.
    if (m_samplePoints != noSampleLimit && (m_samplePoints < 1 || m_samplePoints > largestDialogValue))
        m_samplePoints = noSampleLimit;
    if (m_sampleInterval < 0 || m_sampleInterval > largestDialogValue)
        m_sampleInterval = 0;
    m_recordAtTesttime = readBoolSetting(settings, SettingsKeys::recordAtTesttime, false);
}

void TemplateWindow::saveSetting()
{
    QSettings settings = openSettings();
    settings.setValue(QLatin1String(SettingsKeys::geometry), saveGeometry());
    settings.setValue(QLatin1String(SettingsKeys::language), m_language);
    settings.setValue(QLatin1String(SettingsKeys::samplePoints), m_samplePoints);
    settings.setValue(QLatin1String(SettingsKeys::sampleInterval), m_sampleInterval);
    settings.setValue(QLatin1String(SettingsKeys::recordAtTesttime), m_recordAtTesttime);
    settings.sync();
}

void TemplateWindow::on_actionOptions_triggered()
{
    DlgOption dialog(nullptr);
    dialog.setWindowTitle(tr("Options"));
    fillOptionsDialog(*dialog.ui);
    // The team server's options are a dialog of their own, kept at once.
    WindowSync *sync = m_sync;
    dialog.ui->btnSyncServer->setEnabled(sync != nullptr);
    if (sync)
        connect(dialog.ui->btnSyncServer, &QPushButton::clicked, sync, [sync, &dialog] { sync->showOptions(&dialog); });
    if (dialog.exec() == QDialog::Accepted)
        takeOptionsFrom(*dialog.ui);
    saveSetting();
}

// The program runs in Chinese only when "zh_CN" was stored; any other value
// (none at all on a first start) means English, and the dialog says so.
void TemplateWindow::fillOptionsDialog(Ui::DlgOption &form) const
{
    form.cbbLanguage->addItem(tr("Chinese"), chineseLanguage);
    form.cbbLanguage->addItem(tr("English"), englishLanguage);
    const int languageIndex = form.cbbLanguage->findData(m_language == chineseLanguage ? chineseLanguage
                                                                                       : englishLanguage);
    form.cbbLanguage->setCurrentIndex(languageIndex);

    if (m_samplePoints == noSampleLimit) {
        form.cbInfinite->setChecked(true);
        form.spinSamplePoints->setEnabled(false);
    } else {
        form.spinSamplePoints->setValue(m_samplePoints);
    }
    form.spinSampleInterval->setValue(m_sampleInterval);
    form.cbRecordAtTesttimg->setChecked(m_recordAtTesttime);
}

void TemplateWindow::takeOptionsFrom(const Ui::DlgOption &form)
{
    m_samplePoints = form.cbInfinite->isChecked() ? noSampleLimit : form.spinSamplePoints->value();
    m_sampleInterval = form.spinSampleInterval->value();
    stopSampleTimer();
    if (m_sampleInterval > 0) {
        m_sampleDue = false;
        startSampleTimer();
    }
    m_language = form.cbbLanguage->currentData().toString();
    m_recordAtTesttime = form.cbRecordAtTesttimg->isChecked();
}
