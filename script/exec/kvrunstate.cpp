#include "script/exec/kvrunstate.h"

#include "script/engine/kvmessages.h"
#include "script/engine/kvrunerror.h"

#include <pthread.h>

std::atomic<int> kvRunLineHooks{0};

namespace {

// The lowest frame address a script call may reach on this thread: what
// is left below it is kept for the code a call runs (host methods, error
// handling), a quarter of the stack but at least 256 KiB.
const char *stackLimit()
{
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) != 0)
        return nullptr;
    void *base = nullptr;
    size_t size = 0;
    const bool ok = pthread_attr_getstack(&attr, &base, &size) == 0;
    pthread_attr_destroy(&attr);
    if (!ok || !base)
        return nullptr;
    const size_t reserve = std::max<size_t>(size / 4, 256 * 1024);
    return size > reserve ? static_cast<const char *>(base) + reserve : nullptr;
}

} // namespace

void kvCheckStack()
{
    thread_local const char *const limit = stackLimit();
    if (Q_UNLIKELY(static_cast<const char *>(__builtin_frame_address(0)) < limit))
        throw TkvRunError(kvMessage("SStackOverflow"), QStringLiteral("EStackOverflow"));
}
