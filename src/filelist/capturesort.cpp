#include "filelist/capturesort.h"

#include "filelist/capturetime.h"
#include "filelist/sortkeys.h"
#include "platform/filestamp.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <system_error>
#include <thread>

namespace {
// Below this many files per core a second thread costs more than it saves.
constexpr std::size_t kFilesPerWorker = 512;

struct Looked {
    std::optional<platform::FileStamp> Stamp;
    std::optional<CaptureTime> Time;
    bool Read = false; // the header was read now, so the cache learns it
};

// One stat per file tells whether the cache still holds its time; only a file the cache does
// not know is opened. Anything but a regular file is never opened. A large folder is looked
// at on every core: each worker fills only its own slice, the cache is only read meanwhile,
// and all are joined before anything else reads the slices.
std::vector<Looked> LookAtFiles(const std::string& folderPrefix, const std::vector<std::string>& names,
                                const CaptureTimeCache& cache)
{
    const std::size_t n = names.size();
    std::vector<Looked> looked(n);
    std::vector<std::exception_ptr> failures;
    const auto readSlice = [&](std::size_t from, std::size_t to, std::exception_ptr& failure) {
        try {
            for (std::size_t i = from; i < to; ++i) {
                const std::string path = folderPrefix + names[i];
                Looked& l = looked[i];
                l.Stamp = platform::StampOfFile(path);
                if (!l.Stamp || !l.Stamp->Regular)
                    continue;
                if (const auto known = cache.Find(*l.Stamp)) {
                    l.Time = *known;
                    continue;
                }
                l.Time = CaptureTimeOfFile(path, {l.Stamp->Device, l.Stamp->Inode, l.Stamp->Link});
                l.Read = true;
            }
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
    return looked;
}
} // namespace

CaptureSortResult CaptureSortOfFolder(const std::string& folderPrefix,
                                      const std::vector<std::string>& names, CaptureTimeCache& cache)
{
    const std::vector<Looked> looked = LookAtFiles(folderPrefix, names, cache);
    std::vector<std::optional<CaptureTime>> times(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        times[i] = looked[i].Time;
        if (looked[i].Read)
            cache.Store(*looked[i].Stamp, looked[i].Time);
    }
    CaptureSortResult result;
    result.Keys.resize(names.size());
    // A file without a capture time is dated from the stat already made.
    result.Order = CaptureOrder(times, [&](std::size_t i) {
        return result.Keys[i] = looked[i].Stamp ? DateKeyOfTime(looked[i].Stamp->Modified) : DateKey(-1);
    });
    for (std::size_t i = 0; i < names.size(); ++i)
        if (times[i])
            result.Keys[i] = CaptureTimeText(*times[i]);
    return result;
}
