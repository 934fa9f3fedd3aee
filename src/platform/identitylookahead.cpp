#include "platform/identitylookahead.h"

#include <algorithm>
#include <system_error>

namespace platform {
namespace {
// Below some thousands of names a thread costs more than it saves.
constexpr std::size_t kWorthAThread = 4096;
} // namespace

IdentityLookahead::IdentityLookahead(const FolderHandle& folder, std::size_t count,
                                     std::function<const std::string&(std::size_t)> nameAt)
    : folder_(folder), count_(count), nameAt_(std::move(nameAt))
{
    if (count_ < kWorthAThread || std::thread::hardware_concurrency() < 2)
        return;
    ring_.resize(kWindow);
    try {
        thread_.emplace([this] { Run(); });
    } catch (const std::system_error&) {
        // no thread to be had: every look is made by Take itself
    }
}

IdentityLookahead::~IdentityLookahead()
{
    if (!thread_)
        return;
    stop_ = true;
    taken_.store(count_);
    taken_.notify_one();
    thread_->join();
}

void IdentityLookahead::Run()
{
    for (std::size_t j = 0; j < count_ && !stop_; ++j) {
        // The slot is free once the run has used the look kWindow places back; names the run
        // has passed over are not looked at.
        std::size_t taken = taken_.load();
        for (; j >= taken + kWindow; taken = taken_.load())
            taken_.wait(taken);
        j = std::max(j, taken);
        if (stop_ || j >= count_)
            return;
        ring_[j % kWindow] = folder_.IdentityOf(nameAt_(j));
        ready_.store(j + 1);
        ready_.notify_one();
    }
}

std::optional<FileIdentity> IdentityLookahead::Take(std::size_t i)
{
    if (!thread_)
        return folder_.IdentityOf(nameAt_(i));
    // The looks passed over are not wanted: their slots are free for the thread.
    if (i > taken_.load()) {
        taken_.store(i);
        woken_ = i;
        taken_.notify_one();
    }
    for (std::size_t ready = ready_.load(); ready <= i; ready = ready_.load())
        ready_.wait(ready);
    std::optional<FileIdentity> id = std::move(ring_[i % kWindow]);
    taken_.store(i + 1);
    // A wake-up now and then is enough: the thread has half a window still to do.
    if (i + 1 >= woken_ + kWindow / 2) {
        woken_ = i + 1;
        taken_.notify_one();
    }
    return id;
}

} // namespace platform
