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
// - QThread: the thread releases itself when it emits finished, and a
//   successful wait acquires it.
// - Events: emitting a signal, posting an event, invoking a method, deleting
//   later and waking another thread's glib main context release one sync
//   point, before QtCore queues anything; every delivered event acquires it.
//   This is coarse, as the receiver is not known to the sender.
// - Allocations: QtCore allocates a queued event and its argument copies
//   after the signal's release above, and ThreadSanitizer records an
//   allocation as a write by the allocating thread. Every operator new that
//   QtCore calls therefore releases the same sync point once it returns, so
//   the event's memory is ordered before its delivery too.
//
// What this cannot show (QWaitCondition's destructor, the storage of the
// posted-event queue, and the glib wake-up of a thread's event loop) is named
// in tsan.supp.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMetaObject>
#include <QMutex>
#include <QObject>
#include <QThread>
#include <QVariant>
#include <QWaitCondition>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <link.h>
#include <new>

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

// The executable code of QtCore, found once from the address of one of its
// functions.
struct CodeRange
{
    std::uintptr_t begin = 0;
    std::uintptr_t end = 0;

    bool contains(const void *address) const
    {
        const auto at = reinterpret_cast<std::uintptr_t>(address);
        return at >= begin && at < end;
    }
};

// Looks for the object whose executable segments hold range->begin.
int findExecutableSegments(dl_phdr_info *info, size_t, void *data)
{
    auto *range = static_cast<CodeRange *>(data);
    const std::uintptr_t wanted = range->begin;
    CodeRange code{UINTPTR_MAX, 0};
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr) &header = info->dlpi_phdr[i];
        if (header.p_type != PT_LOAD || !(header.p_flags & PF_X))
            continue;
        const std::uintptr_t begin = info->dlpi_addr + header.p_vaddr;
        code.begin = std::min(code.begin, begin);
        code.end = std::max(code.end, std::uintptr_t(begin + header.p_memsz));
    }
    if (wanted < code.begin || wanted >= code.end)
        return 0;
    *range = code;
    return 1;
}

const CodeRange &qtCoreCode()
{
    static const CodeRange range = [] {
        CodeRange found;
        found.begin = reinterpret_cast<std::uintptr_t>(&qVersion);
        if (dl_iterate_phdr(findExecutableSegments, &found) == 0) {
            std::fprintf(stderr, "tsanqtsync: QtCore's code not found\n");
            std::abort();
        }
        return found;
    }();
    return range;
}

const char threadHookProperty[] = "_tessra_tsan_finished_hook";

void releaseWhenFinished(QThread *thread)
{
    if (thread->property(threadHookProperty).toBool())
        return;
    thread->setProperty(threadHookProperty, true);
    QObject::connect(
        thread, &QThread::finished, thread, [thread] { __tsan_release(thread); }, Qt::DirectConnection);
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
    releaseWhenFinished(this);
    real(this, priority);
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

void QMetaObject::activate(QObject *sender, int signalIndex, void **argv)
{
    static const auto real =
        realFunction<void (*)(QObject *, int, void **)>("_ZN11QMetaObject8activateEP7QObjectiPPv");
    __tsan_release(&eventQueue);
    real(sender, signalIndex, argv);
}

void QMetaObject::activate(QObject *sender, const QMetaObject *meta, int localSignalIndex, void **argv)
{
    static const auto real = realFunction<void (*)(QObject *, const QMetaObject *, int, void **)>(
        "_ZN11QMetaObject8activateEP7QObjectPKS_iPPv");
    __tsan_release(&eventQueue);
    real(sender, meta, localSignalIndex, argv);
}

void QMetaObject::activate(QObject *sender, int signalOffset, int localSignalIndex, void **argv)
{
    static const auto real =
        realFunction<void (*)(QObject *, int, int, void **)>("_ZN11QMetaObject8activateEP7QObjectiiPPv");
    __tsan_release(&eventQueue);
    real(sender, signalOffset, localSignalIndex, argv);
}

bool QMetaObject::invokeMethodImpl(QObject *object, QtPrivate::QSlotObjectBase *slot, Qt::ConnectionType type,
                                   void *ret)
{
    static const auto real =
        realFunction<bool (*)(QObject *, QtPrivate::QSlotObjectBase *, Qt::ConnectionType, void *)>(
            "_ZN11QMetaObject16invokeMethodImplEP7QObjectPN9QtPrivate15QSlotObjectBaseEN2Qt14ConnectionTypeEPv");
    __tsan_release(&eventQueue);
    return real(object, slot, type, ret);
}

void QCoreApplication::postEvent(QObject *receiver, QEvent *event, int priority)
{
    static const auto real =
        realFunction<void (*)(QObject *, QEvent *, int)>("_ZN16QCoreApplication9postEventEP7QObjectP6QEventi");
    __tsan_release(&eventQueue);
    real(receiver, event, priority);
}

void QObject::deleteLater()
{
    static const auto real = realFunction<void (*)(QObject *)>("_ZN7QObject11deleteLaterEv");
    __tsan_release(&eventQueue);
    real(this);
}

// Replaces the global operator new of the test executables; the one behind
// it is ThreadSanitizer's own.
void *operator new(std::size_t size)
{
    static const auto real = realFunction<void *(*)(std::size_t)>("_Znwm");
    void *memory = real(size);
    if (qtCoreCode().contains(__builtin_return_address(0)))
        __tsan_release(&eventQueue);
    return memory;
}
