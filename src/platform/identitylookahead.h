#pragma once

#include "platform/filesystem.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace platform {

// The identities of a run's names, taken in the order the run visits them by a thread of
// their own a short way ahead of the run, so that the run's renames don't wait for them. Never
// more than kWindow names ahead: a look is at most some milliseconds old when it is used, and
// a look that does not show the recorded file is to be made again at once by the caller.
class IdentityLookahead {
public:
    static constexpr std::size_t kWindow = 256;

    // nameAt(i): the i-th name visited, i < count; called on the lookahead's thread, so it
    // must read only what the run does not change.
    IdentityLookahead(const FolderHandle& folder, std::size_t count, std::function<const std::string&(std::size_t)> nameAt);
    ~IdentityLookahead();
    IdentityLookahead(const IdentityLookahead&) = delete;
    IdentityLookahead& operator=(const IdentityLookahead&) = delete;

    // The identity of the i-th name; i never goes down from one call to the next.
    std::optional<FileIdentity> Take(std::size_t i);

private:
    void Run();

    const FolderHandle& folder_;
    const std::size_t count_;
    const std::function<const std::string&(std::size_t)> nameAt_;
    std::vector<std::optional<FileIdentity>> ring_;
    std::atomic<std::size_t> ready_{0}; // looks done
    std::atomic<std::size_t> taken_{0}; // looks used
    std::size_t woken_ = 0;             // taken_ when the thread was last woken
    std::atomic<bool> stop_{false};
    std::optional<std::thread> thread_;
};

} // namespace platform
