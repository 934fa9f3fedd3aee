#include "platform/mappingguard.h"

#include <atomic>
#include <csignal>
#include <cstdint>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace platform {
namespace {

struct Guarded {
    std::atomic<std::uintptr_t> Begin{0};
    std::atomic<std::uintptr_t> End{0};
};

// The preview maps one file at a time; a few slots leave room for overlapping readers.
constexpr int kSlots = 16;
Guarded slots[kSlots];
struct sigaction before{};

bool InGuardedMapping(std::uintptr_t address)
{
    for (const Guarded& g : slots) {
        const std::uintptr_t begin = g.Begin.load(std::memory_order_acquire);
        if (begin != 0 && address >= begin && address < g.End.load(std::memory_order_acquire))
            return true;
    }
    return false;
}

void OnBusError(int signal, siginfo_t* info, void* context)
{
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    if (InGuardedMapping(address)) {
        // A zero page over the page that is gone; the read that faulted then goes on.
        const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
        void* at = reinterpret_cast<void*>(address & ~(page - 1));
        if (mmap(at, page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED)
            return;
    }
    // Not ours: as it was before the guard.
    if ((before.sa_flags & SA_SIGINFO) && before.sa_sigaction) {
        before.sa_sigaction(signal, info, context);
        return;
    }
    if (before.sa_handler != SIG_DFL && before.sa_handler != SIG_IGN && before.sa_handler) {
        before.sa_handler(signal);
        return;
    }
    std::signal(SIGBUS, SIG_DFL); // the fault repeats on return and ends the program as before
}

void InstallOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction on{};
        on.sa_sigaction = OnBusError;
        on.sa_flags = SA_SIGINFO | SA_ONSTACK;
        sigemptyset(&on.sa_mask);
        sigaction(SIGBUS, &on, &before);
    });
}

} // namespace

bool GuardMapping(void* begin, std::size_t size)
{
    InstallOnce();
    const auto b = reinterpret_cast<std::uintptr_t>(begin);
    for (Guarded& g : slots) {
        std::uintptr_t free = 0;
        if (g.Begin.compare_exchange_strong(free, b, std::memory_order_acq_rel)) {
            g.End.store(b + size, std::memory_order_release);
            return true;
        }
    }
    return false;
}

void UnguardMapping(void* begin)
{
    const auto b = reinterpret_cast<std::uintptr_t>(begin);
    for (Guarded& g : slots)
        if (g.Begin.load(std::memory_order_acquire) == b) {
            g.End.store(0, std::memory_order_release);
            g.Begin.store(0, std::memory_order_release);
            return;
        }
}

} // namespace platform
