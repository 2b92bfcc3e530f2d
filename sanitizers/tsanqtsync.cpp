// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// Linked into the tests of the ThreadSanitizer build only. The distribution's
// Qt is not instrumented, so ThreadSanitizer cannot see the ordering that
// Qt's own synchronization guarantees: QMutex locks with atomics and futexes
// inside QtCore, QWaitCondition::wait gives up and retakes the caller's mutex
// there, QThread::wait learns that a thread has finished under a QMutex of
// QtCore, and a queued signal travels through QtCore's posted-event queue.
// Every race then looks like one between the program's own objects.
//
// Instead of suppressing such reports wholesale, the functions through which
// the program reaches that synchronization are wrapped here: each calls the
// real one and tells ThreadSanitizer the ordering it provides. The program's
// memory accesses stay fully checked.
//
// - QMutex: lock and a successful tryLock acquire the mutex, unlock releases
//   it; the same for the slow path of the inline QBasicMutex operations.
// - QWaitCondition::wait: releases the mutex before and acquires it after.
// - QThread: start returns once the thread runs its event dispatcher; the
//   thread releases itself when it emits finished, and a successful wait
//   acquires it.
// - Events: QtCore queues an event (a queued signal with its arguments) and
//   then wakes the receiving thread's glib main context; the wake-up releases
//   one sync point that every delivered event acquires. This is coarse, as
//   the receiver is not known at the wake-up. The wake-up writes to an
//   eventfd that the receiving thread creates and closes, handed over under
//   QtCore's lock; that access to Qt's own descriptor is not recorded.

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QMutex>
#include <QObject>
#include <QSemaphore>
#include <QThread>
#include <QVariant>
#include <QWaitCondition>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <memory>

extern "C" {
void __tsan_acquire(void *addr);
void __tsan_release(void *addr);
}

namespace {

// The definition of a function this file wraps (in QtCore or glib), looked
// up by its mangled name behind the wrapper's.
template <typename Function>
Function realFunction(const char *mangledName)
{
    void *symbol = dlsym(RTLD_NEXT, mangledName);
    if (!symbol) {
        std::fprintf(stderr, "tsanqtsync: %s not found\n", mangledName);
        std::abort();
    }
    return reinterpret_cast<Function>(symbol);
}

char eventQueue;

bool acquireOnDelivery(void **)
{
    __tsan_acquire(&eventQueue);
    return false; // the event is delivered as usual
}

// Registered before main, before any thread or event exists.
[[maybe_unused]] const bool deliveryHooked =
    QInternal::registerCallback(QInternal::EventNotifyCallback, acquireOnDelivery);

const char threadHookProperty[] = "_tessra_tsan_finished_hook";

void releaseWhenFinished(QThread *thread)
{
    if (thread->property(threadHookProperty).toBool())
        return;
    thread->setProperty(threadHookProperty, true);
    QObject::connect(
        thread, &QThread::finished, thread, [thread] { __tsan_release(thread); }, Qt::DirectConnection);
}

// Until a thread has its event dispatcher, QtCore queues events for it
// without a wake-up; waiting for started keeps every later event on the
// path that the wake-up orders.
template <typename Start>
void startAndAwaitDispatcher(QThread *thread, Start start)
{
    const auto started = std::make_shared<QSemaphore>();
    const auto signal = [started] {
        QSemaphore *const semaphore = started.get();
        __tsan_release(semaphore);
        semaphore->release();
    };
    const QMetaObject::Connection connection =
        QObject::connect(thread, &QThread::started, thread, signal, Qt::DirectConnection);
    start();
    for (;;) {
        if (started->tryAcquire(1, 100)) {
            __tsan_acquire(started.get());
            break;
        }
        if (!thread->isRunning())
            break;
    }
    QObject::disconnect(connection);
}

} // namespace

extern "C" void g_main_context_wakeup(struct _GMainContext *context)
{
    static const auto real = realFunction<void (*)(_GMainContext *)>("g_main_context_wakeup");
    __tsan_release(&eventQueue);
    real(context);
}

void QMutex::lock() QT_MUTEX_LOCK_NOEXCEPT
{
    static const auto real = realFunction<void (*)(QMutex *)>("_ZN6QMutex4lockEv");
    real(this);
    __tsan_acquire(this);
}

bool QMutex::tryLock(int timeout) QT_MUTEX_LOCK_NOEXCEPT
{
    static const auto real = realFunction<bool (*)(QMutex *, int)>("_ZN6QMutex7tryLockEi");
    const bool locked = real(this, timeout);
    if (locked)
        __tsan_acquire(this);
    return locked;
}

void QMutex::unlock() noexcept
{
    static const auto real = realFunction<void (*)(QMutex *)>("_ZN6QMutex6unlockEv");
    __tsan_release(this);
    real(this);
}

void QBasicMutex::lockInternal() QT_MUTEX_LOCK_NOEXCEPT
{
    static const auto real = realFunction<void (*)(QBasicMutex *)>("_ZN11QBasicMutex12lockInternalEv");
    real(this);
    __tsan_acquire(this);
}

bool QBasicMutex::lockInternal(int timeout) QT_MUTEX_LOCK_NOEXCEPT
{
    static const auto real = realFunction<bool (*)(QBasicMutex *, int)>("_ZN11QBasicMutex12lockInternalEi");
    const bool locked = real(this, timeout);
    if (locked)
        __tsan_acquire(this);
    return locked;
}

void QBasicMutex::unlockInternal() noexcept
{
    static const auto real = realFunction<void (*)(QBasicMutex *)>("_ZN11QBasicMutex14unlockInternalEv");
    __tsan_release(this);
    real(this);
}

bool QWaitCondition::wait(QMutex *lockedMutex, QDeadlineTimer deadline)
{
    static const auto real = realFunction<bool (*)(QWaitCondition *, QMutex *, QDeadlineTimer)>(
        "_ZN14QWaitCondition4waitEP6QMutex14QDeadlineTimer");
    __tsan_release(lockedMutex);
    const bool woken = real(this, lockedMutex, deadline);
    __tsan_acquire(lockedMutex);
    return woken;
}

bool QWaitCondition::wait(QMutex *lockedMutex, unsigned long time)
{
    static const auto real =
        realFunction<bool (*)(QWaitCondition *, QMutex *, unsigned long)>("_ZN14QWaitCondition4waitEP6QMutexm");
    __tsan_release(lockedMutex);
    const bool woken = real(this, lockedMutex, time);
    __tsan_acquire(lockedMutex);
    return woken;
}

void QThread::start(Priority priority)
{
    static const auto real = realFunction<void (*)(QThread *, Priority)>("_ZN7QThread5startENS_8PriorityE");
    if (isRunning()) {
        real(this, priority); // does nothing
        return;
    }
    releaseWhenFinished(this);
    startAndAwaitDispatcher(this, [this, priority] { real(this, priority); });
}

bool QThread::wait(QDeadlineTimer deadline)
{
    static const auto real = realFunction<bool (*)(QThread *, QDeadlineTimer)>("_ZN7QThread4waitE14QDeadlineTimer");
    const bool finished = real(this, deadline);
    if (finished)
        __tsan_acquire(this);
    return finished;
}

bool QThread::wait(unsigned long time)
{
    static const auto real = realFunction<bool (*)(QThread *, unsigned long)>("_ZN7QThread4waitEm");
    const bool finished = real(this, time);
    if (finished)
        __tsan_acquire(this);
    return finished;
}
