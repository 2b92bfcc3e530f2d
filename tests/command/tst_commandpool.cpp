// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "command/loopcommandpool.h"
#include "command/oncecommandpool.h"

#include <QTest>

#include <memory>
#include <thread>
#include <vector>

namespace {
QSharedPointer<Command> makeCommand(const QByteArray &name)
{
    return QSharedPointer<Command>::create(name, false, 0, QVariant());
}

QVector<QSharedPointer<Command>> makeCommands(int count)
{
    QVector<QSharedPointer<Command>> commands;
    for (int i = 0; i < count; ++i)
        commands.append(makeCommand("c" + QByteArray::number(i + 1)));
    return commands;
}

std::unique_ptr<CommandPool> makePool(const QString &kind)
{
    if (kind == QLatin1String("once"))
        return std::make_unique<OnceCommandPool>();
    return std::make_unique<LoopCommandPool>();
}
} // namespace

class TestCommandPool : public QObject
{
    Q_OBJECT

private slots:
    void emptyPoolHandsOutNothing_data();
    void emptyPoolHandsOutNothing();
    void oncePoolHandsOutFirstUntilRemoved();
    void loopPoolIsARing_data();
    void loopPoolIsARing();
    void loopPoolCommandAddedMidRingComesLast();
    void loopPoolResetStartsOver();
    void loopPoolClearedBeforeRewindDoesNotOverrun();
    void concurrentAddsKeepEveryCommandInOrder();
};

void TestCommandPool::emptyPoolHandsOutNothing_data()
{
    QTest::addColumn<QString>("kind");

    QTest::newRow("once") << QStringLiteral("once");
    QTest::newRow("loop") << QStringLiteral("loop");
}

void TestCommandPool::emptyPoolHandsOutNothing()
{
    QFETCH(QString, kind);

    const std::unique_ptr<CommandPool> pool = makePool(kind);
    QVERIFY(pool->getCurrentCommand().isNull());
    QVERIFY(pool->getNextCommand().isNull());
    QVERIFY(pool->getNextCommand().isNull());
    QVERIFY(pool->getCurrentCommand().isNull());

    // Emptied again after use, it still hands out nothing, then the newcomer.
    const auto c1 = makeCommand("c1");
    QCOMPARE(pool->add(c1), 1);
    QCOMPARE(pool->getNextCommand(), c1);
    pool->reset();
    QVERIFY(pool->getNextCommand().isNull());
    QVERIFY(pool->getCurrentCommand().isNull());
    const auto c2 = makeCommand("c2");
    QCOMPARE(pool->add(c2), 1);
    QCOMPARE(pool->getNextCommand(), c2);
}

void TestCommandPool::oncePoolHandsOutFirstUntilRemoved()
{
    OnceCommandPool pool;
    const auto commands = makeCommands(2);
    QCOMPARE(pool.add(commands[0]), 1);
    QCOMPARE(pool.add(commands[1]), 2);

    QCOMPARE(pool.getNextCommand(), commands[0]);
    QCOMPARE(pool.getNextCommand(), commands[0]);
    QCOMPARE(pool.getCurrentCommand(), commands[0]);
    pool.removeFirstCommand();
    QCOMPARE(pool.getNextCommand(), commands[1]);
    pool.removeFirstCommand();
    QVERIFY(pool.getNextCommand().isNull());

    pool.removeFirstCommand(); // on an empty pool: nothing happens
    QVERIFY(pool.getCurrentCommand().isNull());
    const auto later = makeCommand("later");
    QCOMPARE(pool.add(later), 1);
    QCOMPARE(pool.getNextCommand(), later);
}

void TestCommandPool::loopPoolIsARing_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QVector<int>>("expected");

    QTest::newRow("one command") << 1 << QVector<int>{0, 0, 0};
    QTest::newRow("two commands") << 2 << QVector<int>{0, 1, 0, 1};
    QTest::newRow("three commands") << 3 << QVector<int>{0, 1, 2, 0, 1};
}

void TestCommandPool::loopPoolIsARing()
{
    QFETCH(int, count);
    QFETCH(QVector<int>, expected);

    LoopCommandPool pool;
    const auto commands = makeCommands(count);
    for (const auto &command : commands)
        pool.add(command);

    QVERIFY(pool.getCurrentCommand().isNull());
    for (int i = 0; i < expected.size(); ++i) {
        const auto next = pool.getNextCommand();
        QVERIFY2(next == commands[expected[i]], qPrintable(QStringLiteral("call %1").arg(i + 1)));
        QCOMPARE(pool.getCurrentCommand(), next);
    }
}

void TestCommandPool::loopPoolCommandAddedMidRingComesLast()
{
    LoopCommandPool pool;
    const auto commands = makeCommands(3);
    pool.add(commands[0]);
    pool.add(commands[1]);

    QCOMPARE(pool.getNextCommand(), commands[0]);
    pool.add(commands[2]);
    QCOMPARE(pool.getNextCommand(), commands[1]);
    QCOMPARE(pool.getNextCommand(), commands[2]);
    QCOMPARE(pool.getNextCommand(), commands[0]);
}

void TestCommandPool::loopPoolResetStartsOver()
{
    LoopCommandPool pool;
    const auto commands = makeCommands(4);
    for (int i = 0; i < 3; ++i)
        pool.add(commands[i]);
    pool.getNextCommand();
    QCOMPARE(pool.getNextCommand(), commands[1]);

    pool.reset();
    QVERIFY(pool.getCurrentCommand().isNull());
    QCOMPARE(pool.add(commands[3]), 1);
    QVERIFY(pool.getCurrentCommand().isNull());
    QCOMPARE(pool.getNextCommand(), commands[3]);
    QCOMPARE(pool.getNextCommand(), commands[3]);
}

// Reset empties the ring and rewinds it in two locked steps; a command added
// and polled in between meets an index beyond the new end.
void TestCommandPool::loopPoolClearedBeforeRewindDoesNotOverrun()
{
    LoopCommandPool pool;
    const auto commands = makeCommands(4);
    for (int i = 0; i < 3; ++i)
        pool.add(commands[i]);
    for (int i = 0; i < 3; ++i)
        pool.getNextCommand();

    pool.CommandPool::reset();
    pool.add(commands[3]);
    QVERIFY(pool.getCurrentCommand().isNull());
    QCOMPARE(pool.getNextCommand(), commands[3]);
    QCOMPARE(pool.getCurrentCommand(), commands[3]);
}

void TestCommandPool::concurrentAddsKeepEveryCommandInOrder()
{
    constexpr int producers = 4;
    constexpr int perProducer = 500;
    OnceCommandPool pool;

    std::vector<std::thread> threads;
    for (int p = 0; p < producers; ++p) {
        threads.emplace_back([&pool, p] {
            for (int i = 0; i < perProducer; ++i)
                pool.add(QSharedPointer<Command>::create(QByteArray(), false, 0, QVariant::fromValue(p * perProducer + i)));
        });
    }

    // Drain while the producers are still adding.
    QVector<int> drained;
    while (drained.size() < producers * perProducer) {
        const auto command = pool.getNextCommand();
        if (!command)
            continue;
        pool.removeFirstCommand();
        drained.append(command->remark().toInt());
    }
    for (auto &thread : threads)
        thread.join();

    QVERIFY(pool.getNextCommand().isNull());
    QVector<int> lastSeen(producers, -1);
    for (const int value : drained) {
        const int producer = value / perProducer;
        QCOMPARE(value % perProducer, lastSeen[producer] + 1);
        lastSeen[producer] = value % perProducer;
    }
    for (const int last : lastSeen)
        QCOMPARE(last, perProducer - 1);
}

QTEST_MAIN(TestCommandPool)
#include "tst_commandpool.moc"
