// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "command/commandctrl.h"
#include "command/commandpump.h"
#include "support/pacedloop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <QThread>

#include <functional>
#include <memory>

namespace {
constexpr int eventWait = 10000;      // ms; generous for a loaded machine
constexpr int answeredTimeout = 10000; // for commands whose answer must not be missed
constexpr int longTimeout = 3600000;   // longer than any test may run
constexpr int shortTimeout = 50;       // where the time-out itself is under test

// A command named `name` whose remark scripts the replies to its attempts:
// 'a' answers, 'r' rejects at once (a response other than success), 's' stays
// silent. The last letter holds for every later attempt.
QSharedPointer<Command> makeCommand(const QString &name, const QString &replies, int timeout)
{
    return QSharedPointer<Command>::create(name.toUtf8(), true, timeout, replies);
}

// "A" is answered at once; "A:rra" carries its own reply script.
QSharedPointer<Command> commandFromToken(const QString &token, int timeout = answeredTimeout)
{
    const QStringList parts = token.split(QLatin1Char(':'));
    return makeCommand(parts.first(), parts.value(1, QStringLiteral("a")), timeout);
}

void addTokens(CommandCtrl &ctrl, const QStringList &tokens, Pump::PoolMode mode)
{
    for (const QString &token : tokens)
        ctrl.add(commandFromToken(token), mode);
}

// Delivers the pump's signals that are still queued for the controller.
void flushSignals(CommandCtrl &ctrl)
{
    QCoreApplication::sendPostedEvents(&ctrl, QEvent::MetaCall);
}

// Once stop returns the pump has ended, so afterwards nothing more arrives.
void stopAndFlush(CommandCtrl &ctrl)
{
    ctrl.stop();
    flushSignals(ctrl);
}

// Stands in for the device side: records every command the controller sends
// and replies through CommandCtrl::response as the command's script says.
class Responder : public QObject
{
public:
    explicit Responder(CommandCtrl &ctrl)
        : m_ctrl(ctrl)
    {
        connect(&ctrl, &CommandCtrl::nextCommand, this, &Responder::onCommand);
    }

    QStringList received;
    // Runs before the reply, with the attempt number starting at 1.
    std::function<void(const QString &name, int attempt)> onReceive;

private:
    void onCommand(QSharedPointer<Command> command)
    {
        const QString name = QString::fromUtf8(command->content());
        received.append(name);
        const int attempt = ++m_attempts[name];
        if (onReceive)
            onReceive(name, attempt);
        const QString script = command->remark().toString();
        const QChar reply = script.at(qMin(attempt, script.size()) - 1);
        if (reply == QLatin1Char('a'))
            m_ctrl.response(Pump::rrSuccess);
        else if (reply == QLatin1Char('r'))
            m_ctrl.response(Pump::rrNone);
    }

    CommandCtrl &m_ctrl;
    QHash<QString, int> m_attempts;
};

// The controller's four outward signals, counted.
struct Spies
{
    explicit Spies(CommandCtrl &ctrl)
        : started(&ctrl, &CommandCtrl::started)
        , stoped(&ctrl, &CommandCtrl::stoped)
        , timeout(&ctrl, &CommandCtrl::communicationTimeout)
        , next(&ctrl, &CommandCtrl::nextCommand)
    {
    }

    QSignalSpy started;
    QSignalSpy stoped;
    QSignalSpy timeout;
    QSignalSpy next;
};
} // namespace

class TestCommandCtrl : public QObject
{
    Q_OBJECT

private slots:
    void idlePumpEmitsOnlyStartedUntilStopped_data();
    void idlePumpEmitsOnlyStartedUntilStopped();
    void startWhileRunningIsRefused();
    void commandsAreSentInOrder_data();
    void commandsAreSentInOrder();
    void unansweredCommandEndsTheLoop_data();
    void unansweredCommandEndsTheLoop();
    void pauseHoldsTheCommandBeingRetried();
    void startClearsPause();
    void stopEndsALongWait_data();
    void stopEndsALongWait();
    void stopRequestedBeforeRunEndsThePump();
    void startStopRepeatedly_data();
    void startStopRepeatedly();
    void poolsOutliveRestartButNotReset();
    void destroyingARunningControllerFreesThePump();
    void pumpSleepsBetweenCycles_data();
    void pumpSleepsBetweenCycles();
};

void TestCommandCtrl::idlePumpEmitsOnlyStartedUntilStopped_data()
{
    QTest::addColumn<int>("interval");

    QTest::newRow("usual interval") << 10;
    QTest::newRow("interval longer than the test") << longTimeout;
}

void TestCommandCtrl::idlePumpEmitsOnlyStartedUntilStopped()
{
    QFETCH(int, interval);

    CommandCtrl ctrl;
    ctrl.setInterval(interval);
    Spies spies(ctrl);

    QVERIFY(ctrl.start());
    QVERIFY(spies.started.wait(eventWait));
    ctrl.stop(); // must not sit out the interval
    QTRY_COMPARE_WITH_TIMEOUT(spies.stoped.count(), 1, eventWait);

    QCOMPARE(spies.started.count(), 1);
    QCOMPARE(spies.next.count(), 0);
    QCOMPARE(spies.timeout.count(), 0);
}

void TestCommandCtrl::startWhileRunningIsRefused()
{
    CommandCtrl ctrl;
    QVERIFY(ctrl.start());
    QVERIFY(!ctrl.start());
    ctrl.stop();
    ctrl.stop(); // a second stop is harmless
    QVERIFY(ctrl.start());
    ctrl.stop();
}

void TestCommandCtrl::commandsAreSentInOrder_data()
{
    QTest::addColumn<QStringList>("once");
    QTest::addColumn<QStringList>("loop");
    QTest::addColumn<QStringList>("expected");

    // The loop commands also show that nothing else is sent in between.
    QTest::newRow("answered once command is sent once")
        << QStringList{"A"} << QStringList{"L"} << QStringList{"A", "L", "L", "L"};
    QTest::newRow("once commands keep their order")
        << QStringList{"A", "B"} << QStringList{"L"} << QStringList{"A", "B", "L", "L"};
    QTest::newRow("answered on third attempt, removed once")
        << QStringList{"A:rra", "B"} << QStringList{"L"} << QStringList{"A", "A", "A", "B", "L", "L"};
    QTest::newRow("once first, then the loop ring repeats")
        << QStringList{"A"} << QStringList{"L1", "L2"} << QStringList{"A", "L1", "L2", "L1", "L2"};
    QTest::newRow("loop command retried before the ring moves on")
        << QStringList() << QStringList{"L1:ra", "L2"} << QStringList{"L1", "L1", "L2", "L1", "L2"};
}

void TestCommandCtrl::commandsAreSentInOrder()
{
    QFETCH(QStringList, once);
    QFETCH(QStringList, loop);
    QFETCH(QStringList, expected);

    CommandCtrl ctrl;
    Responder responder(ctrl);
    Spies spies(ctrl);
    addTokens(ctrl, once, Pump::pmOnce);
    addTokens(ctrl, loop, Pump::pmLoop);

    QVERIFY(ctrl.start());
    QTRY_VERIFY_WITH_TIMEOUT(responder.received.size() >= expected.size(), eventWait);
    stopAndFlush(ctrl);

    QCOMPARE(responder.received.mid(0, expected.size()), expected);
    QCOMPARE(spies.timeout.count(), 0);
}

void TestCommandCtrl::unansweredCommandEndsTheLoop_data()
{
    QTest::addColumn<QString>("replies");
    QTest::addColumn<int>("timeout");

    QTest::newRow("never answered") << QStringLiteral("s") << shortTimeout;
    QTest::newRow("rejected every time") << QStringLiteral("r") << answeredTimeout;
}

void TestCommandCtrl::unansweredCommandEndsTheLoop()
{
    QFETCH(QString, replies);
    QFETCH(int, timeout);

    CommandCtrl ctrl;
    Responder responder(ctrl);
    Spies spies(ctrl);
    ctrl.add(makeCommand(QStringLiteral("N"), replies, timeout), Pump::pmOnce);
    ctrl.add(commandFromToken(QStringLiteral("L")), Pump::pmLoop);

    QVERIFY(ctrl.start());
    QVERIFY(spies.timeout.wait(eventWait));
    // The pump ends by itself; everything it sent is queued before `stoped`.
    QTRY_COMPARE_WITH_TIMEOUT(spies.stoped.count(), 1, eventWait);
    QCOMPARE(responder.received, (QStringList{"N", "N", "N"}));
    QCOMPARE(spies.timeout.count(), 1);

    // It counts as running until its owner stops it; then it starts afresh
    // with what is left in the pools.
    QVERIFY(!ctrl.start());
    stopAndFlush(ctrl);
    responder.received.clear();
    QVERIFY(ctrl.start());
    QTRY_VERIFY_WITH_TIMEOUT(responder.received.size() >= 2, eventWait);
    ctrl.stop();
    QCOMPARE(responder.received.mid(0, 2), (QStringList{"L", "L"}));
}

void TestCommandCtrl::pauseHoldsTheCommandBeingRetried()
{
    CommandCtrl ctrl;
    Responder responder(ctrl);
    Spies spies(ctrl);
    addTokens(ctrl, {QStringLiteral("R:rra"), QStringLiteral("B")}, Pump::pmOnce);
    // Paused before the first attempt is rejected, so the pump sees the pause
    // at its very next cycle.
    responder.onReceive = [&ctrl](const QString &name, int attempt) {
        if (name == QLatin1String("R") && attempt == 1)
            ctrl.setPause(true);
    };

    QVERIFY(ctrl.start());
    QTRY_COMPARE_WITH_TIMEOUT(responder.received.size(), 1, eventWait);
    // Nothing can prove a silence; a pump that ignored the pause would have
    // sent the rest within this window on any machine.
    QTest::qWait(300);
    QCOMPARE(responder.received, QStringList{"R"});

    ctrl.setPause(false);
    QTRY_VERIFY_WITH_TIMEOUT(responder.received.size() >= 4, eventWait);
    stopAndFlush(ctrl);
    QCOMPARE(responder.received, (QStringList{"R", "R", "R", "B"}));
    QCOMPARE(spies.timeout.count(), 0);
}

void TestCommandCtrl::startClearsPause()
{
    CommandCtrl ctrl;
    Responder responder(ctrl);
    addTokens(ctrl, {QStringLiteral("L")}, Pump::pmLoop);

    ctrl.setPause(true);
    QVERIFY(ctrl.start());
    QTRY_VERIFY_WITH_TIMEOUT(!responder.received.isEmpty(), eventWait);
    ctrl.stop();
}

void TestCommandCtrl::stopEndsALongWait_data()
{
    QTest::addColumn<QString>("replies");
    QTest::addColumn<int>("attempts");

    QTest::newRow("first attempt") << QStringLiteral("s") << 1;
    // A stop is no failed attempt: stopping on the last one reports no time-out.
    QTest::newRow("last attempt") << QStringLiteral("rrs") << 3;
}

void TestCommandCtrl::stopEndsALongWait()
{
    QFETCH(QString, replies);
    QFETCH(int, attempts);

    CommandCtrl ctrl;
    Responder responder(ctrl);
    Spies spies(ctrl);
    ctrl.add(makeCommand(QStringLiteral("W"), replies, longTimeout), Pump::pmOnce);

    QVERIFY(ctrl.start());
    QTRY_COMPARE_WITH_TIMEOUT(responder.received.size(), attempts, eventWait);
    stopAndFlush(ctrl); // returns long before the command's time-out

    QCOMPARE(spies.stoped.count(), 1);
    QCOMPARE(spies.timeout.count(), 0);
    QCOMPARE(responder.received.size(), attempts);
}

// The controller's stop usually beats its queued start to the pump thread;
// here the pump is made to begin its loop after the request, every time.
void TestCommandCtrl::stopRequestedBeforeRunEndsThePump()
{
    CommandPump pump(longTimeout);
    QSignalSpy started(&pump, &CommandPump::started);
    QSignalSpy stoped(&pump, &CommandPump::stoped);
    pump.requestStop();

    const std::unique_ptr<QThread> thread(QThread::create([&pump] { pump.doRun(); }));
    thread->start();
    const bool ended = thread->wait(eventWait);
    if (!ended) {
        pump.requestStop();
        thread->wait();
    }
    QVERIFY(ended);
    QCOMPARE(started.count(), 1);
    QCOMPARE(stoped.count(), 1);
}

void TestCommandCtrl::startStopRepeatedly_data()
{
    QTest::addColumn<bool>("waitForCommand");

    // Stopping at once usually lands before the pump loop has begun.
    QTest::newRow("stop right after start") << false;
    QTest::newRow("stop after a command") << true;
}

void TestCommandCtrl::startStopRepeatedly()
{
    QFETCH(bool, waitForCommand);
    constexpr int rounds = 30;

    CommandCtrl ctrl;
    Responder responder(ctrl);
    Spies spies(ctrl);
    addTokens(ctrl, {QStringLiteral("L")}, Pump::pmLoop);

    for (int round = 0; round < rounds; ++round) {
        const int sent = responder.received.size();
        QVERIFY(ctrl.start());
        if (waitForCommand)
            QTRY_VERIFY_WITH_TIMEOUT(responder.received.size() > sent, eventWait);
        stopAndFlush(ctrl); // so the next round counts only its own commands
    }
    // A pump that ran announced both its start and its end.
    QCOMPARE(spies.started.count(), spies.stoped.count());
    if (waitForCommand)
        QCOMPARE(spies.started.count(), rounds);

    // Nothing left over from the quick rounds runs with the next start.
    const int startedBefore = spies.started.count();
    responder.received.clear();
    QVERIFY(ctrl.start());
    QTRY_VERIFY_WITH_TIMEOUT(!responder.received.isEmpty(), eventWait);
    stopAndFlush(ctrl);
    QCOMPARE(spies.started.count(), startedBefore + 1);
    QCOMPARE(spies.stoped.count(), startedBefore + 1);
    QCOMPARE(spies.timeout.count(), 0);
}

void TestCommandCtrl::poolsOutliveRestartButNotReset()
{
    CommandCtrl ctrl;
    Responder responder(ctrl);
    addTokens(ctrl, {QStringLiteral("L")}, Pump::pmLoop);

    QVERIFY(ctrl.start());
    QTRY_VERIFY_WITH_TIMEOUT(!responder.received.isEmpty(), eventWait);
    stopAndFlush(ctrl);
    responder.received.clear();
    QVERIFY(ctrl.start());
    QTRY_VERIFY_WITH_TIMEOUT(!responder.received.isEmpty(), eventWait);
    stopAndFlush(ctrl);
    QCOMPARE(responder.received.first(), QStringLiteral("L"));

    addTokens(ctrl, {QStringLiteral("A")}, Pump::pmOnce);
    QTest::ignoreMessage(QtDebugMsg, "CommandPump::reset() ==========================================");
    ctrl.reset();
    addTokens(ctrl, {QStringLiteral("M")}, Pump::pmLoop);
    responder.received.clear();
    QVERIFY(ctrl.start());
    QTRY_VERIFY_WITH_TIMEOUT(responder.received.size() >= 2, eventWait);
    stopAndFlush(ctrl);
    QCOMPARE(responder.received.mid(0, 2), (QStringList{"M", "M"}));
}

void TestCommandCtrl::destroyingARunningControllerFreesThePump()
{
    auto ctrl = std::make_unique<CommandCtrl>();
    Responder responder(*ctrl);
    QWeakPointer<Command> watched;
    {
        const auto command = makeCommand(QStringLiteral("W"), QStringLiteral("s"), longTimeout);
        watched = command;
        ctrl->add(command, Pump::pmLoop);
    }

    QVERIFY(ctrl->start());
    QTRY_COMPARE_WITH_TIMEOUT(responder.received.size(), 1, eventWait);
    ctrl.reset(); // stops the waiting pump, then frees it with its pools
    QVERIFY(watched.isNull());
}

void TestCommandCtrl::pumpSleepsBetweenCycles_data()
{
    QTest::addColumn<QStringList>("loop");
    QTest::addColumn<bool>("paused");

    QTest::newRow("nothing to send") << QStringList() << false;
    QTest::newRow("loop command answered at once") << QStringList{"L"} << false;
    QTest::newRow("paused") << QStringList{"L"} << true;
}

void TestCommandCtrl::pumpSleepsBetweenCycles()
{
    QFETCH(QStringList, loop);
    QFETCH(bool, paused);
    constexpr int interval = 10;

    CommandCtrl ctrl;
    Responder responder(ctrl);
    addTokens(ctrl, loop, Pump::pmLoop);
    ctrl.setInterval(interval);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(ctrl.start());
    ctrl.setPause(paused); // start clears the pause
    QTRY_VERIFY_WITH_TIMEOUT(ctrl.cycleCount() >= 1, eventWait);
    PacedLoop::watch();
    stopAndFlush(ctrl);

    const qint64 elapsedMs = clock.elapsed();
    const quint64 cycles = ctrl.cycleCount();
    QVERIFY2(cycles <= PacedLoop::mostPasses(elapsedMs, interval),
             qPrintable(QStringLiteral("%1 cycles in %2 ms").arg(cycles).arg(elapsedMs)));
}

QTEST_MAIN(TestCommandCtrl)
#include "tst_commandctrl.moc"
