#include "filelist/capturesort.h"

#include "filelist/capturetime.h"
#include "filelist/sortkeys.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <system_error>
#include <thread>

namespace {
// Below this many files per core a second thread costs more than it saves.
constexpr std::size_t kFilesPerWorker = 512;

// Reading a header is a few system calls and a short parse per file, so a large folder is
// read on every core: each worker fills only its own slice of the result, and all are joined
// before anything reads it.
std::vector<std::optional<CaptureTime>> CaptureTimesOf(const std::string& folderPrefix,
                                                       const std::vector<std::string>& names)
{
    const std::size_t n = names.size();
    std::vector<std::optional<CaptureTime>> times(n);
    std::vector<std::exception_ptr> failures;
    const auto readSlice = [&](std::size_t from, std::size_t to, std::exception_ptr& failure) {
        try {
            for (std::size_t i = from; i < to; ++i)
                times[i] = CaptureTimeOfFile(folderPrefix + names[i]);
        } catch (...) {
            failure = std::current_exception();
        }
    };
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t workers = std::clamp<std::size_t>(n / kFilesPerWorker, 1, cores);
    const std::size_t slice = (n + workers - 1) / workers;
    failures.resize(workers);
    std::vector<std::thread> threads;
    std::size_t started = 1;
    for (; started < workers; ++started) {
        try {
            threads.emplace_back(readSlice, started * slice, std::min(n, (started + 1) * slice),
                                 std::ref(failures[started]));
        } catch (const std::system_error&) {
            break; // no thread to be had: the rest is read here
        }
    }
    readSlice(0, std::min(n, slice), failures[0]);
    readSlice(std::min(n, started * slice), n, failures[0]);
    for (std::thread& t : threads)
        t.join();
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
    return times;
}
} // namespace

CaptureSortResult CaptureSortOfFolder(const std::string& folderPrefix,
                                      const std::vector<std::string>& names)
{
    const std::vector<std::optional<CaptureTime>> times = CaptureTimesOf(folderPrefix, names);
    CaptureSortResult result;
    result.Keys.resize(names.size());
    result.Order = CaptureOrder(times, [&](std::size_t i) {
        return result.Keys[i] = DateKeyOfFile(folderPrefix + names[i]);
    });
    for (std::size_t i = 0; i < names.size(); ++i)
        if (times[i])
            result.Keys[i] = CaptureTimeText(*times[i]);
    return result;
}
