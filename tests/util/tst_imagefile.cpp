// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/tempworkdir.h"
#include "util/imagefile.h"

#include <QBuffer>
#include <QFile>
#include <QTest>
#include <QtEndian>

#include <sys/stat.h>

namespace {
quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray chunk(const QByteArray &type, const QByteArray &data)
{
    QByteArray out(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), out.data());
    out += type + data;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(crc32(type + data), crc.data());
    return out + crc;
}

// A PNG whose header claims `width` × `height` pixels, with no picture
// behind it: a reader that believed the header would allocate it all.
QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(width, header.data());
    qToBigEndian<quint32>(height, header.data() + 4);
    header[8] = 8; // bit depth
    header[9] = 2; // truecolour
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", QByteArray(16, '\0'))
        + chunk("IEND", QByteArray());
}

bool writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray pngOf(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}
} // namespace

class TestImageFile : public QObject
{
    Q_OBJECT

private slots:
    void boundsHold_data();
    void boundsHold();
};

void TestImageFile::boundsHold_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("fitInto");
    QTest::addColumn<QSize>("size"); // 0 × 0: refused
    QTest::addColumn<QString>("reason");

    QTest::newRow("a picture") << "picture.png" << QSize() << QSize(400, 200) << QString();
    QTest::newRow("scaled as it is decoded") << "picture.png" << QSize(100, 100) << QSize(100, 50) << QString();
    QTest::newRow("smaller than the box stays") << "picture.png" << QSize(800, 800) << QSize(400, 200) << QString();
    QTest::newRow("a header of 20 000 × 20 000") << "huge.png" << QSize() << QSize(0, 0) << "million pixels";
    QTest::newRow("larger than the byte limit") << "large.png" << QSize() << QSize(0, 0) << "larger than";
    QTest::newRow("a pipe") << "pipe.png" << QSize() << QSize(0, 0) << "no regular file";
    QTest::newRow("a directory") << "folder.png" << QSize() << QSize(0, 0) << "no regular file";
    QTest::newRow("a device") << "/dev/zero" << QSize() << QSize(0, 0) << "no regular file";
    QTest::newRow("no picture") << "notes.png" << QSize() << QSize(0, 0) << "no picture";
    QTest::newRow("damaged") << "damaged.png" << QSize() << QSize(0, 0) << "damaged";
    QTest::newRow("missing") << "missing.png" << QSize() << QSize(0, 0) << "cannot be read";
}

// A pipe with no writer would block a plain open for ever; refused at once.
void TestImageFile::boundsHold()
{
    QFETCH(QString, file);
    QFETCH(QSize, fitInto);
    QFETCH(QSize, size);
    QFETCH(QString, reason);
    TempWorkDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeFile(QStringLiteral("picture.png"), pngOf(400, 200)));
    QVERIFY(writeFile(QStringLiteral("huge.png"), pngClaiming(20000, 20000)));
    QVERIFY(writeFile(QStringLiteral("large.png"), pngOf(400, 200) + QByteArray(300 * 1024, '\0')));
    QVERIFY(writeFile(QStringLiteral("notes.png"), "not a picture at all"));
    QVERIFY(writeFile(QStringLiteral("damaged.png"), pngOf(400, 200).left(120)));
    QCOMPARE(::mkfifo("pipe.png", 0600), 0);
    QVERIFY(QDir().mkdir(QStringLiteral("folder.png")));

    ImageFile::Limits limits;
    limits.maxBytes = 256 * 1024;
    limits.maxPixels = 4 * 1000 * 1000;
    limits.fitInto = fitInto;
    QString error;
    const QImage image = ImageFile::read(file, limits, &error);
    QCOMPARE(image.size(), size);
    QVERIFY2(error.contains(reason), qPrintable(error));
}

QTEST_MAIN(TestImageFile)
#include "tst_imagefile.moc"
