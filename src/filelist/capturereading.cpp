#include "filelist/capturereading.h"

#include "metadata/filefacts.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>

namespace {
// Below this many files per core a second thread costs more than it saves.
constexpr std::size_t kFilesPerWorker = 512;
} // namespace

// A large folder is looked at on every core: each worker fills only its own slice, the cache
// is only read meanwhile, and all are joined before anything reads the slices or the cache
// learns what was read.
CaptureLooks LookForCaptureTimes(const std::string& folderPrefix, const std::vector<std::string>& names,
                                 const std::vector<bool>* wanted, CaptureTimeCache& cache,
                                 const LookProgress& progress)
{
    const std::size_t n = names.size();
    CaptureLooks result;
    result.Files.resize(n);
    std::vector<char> read(n, 0); // the header was read now, so the cache learns it
    std::vector<std::exception_ptr> failures;
    std::atomic<std::size_t> done{0};
    std::atomic<bool> stop{false};
    const std::thread::id caller = std::this_thread::get_id();
    std::size_t toLook = 0;
    const auto readSlice = [&](std::size_t from, std::size_t to, std::exception_ptr& failure) {
        try {
            for (std::size_t i = from; i < to && !stop; ++i) {
                if (wanted && !(*wanted)[i])
                    continue;
                ++done;
                if (progress && std::this_thread::get_id() == caller)
                    progress(done, toLook);
                const std::string path = folderPrefix + names[i];
                CaptureLook& l = result.Files[i];
                l.Stamp = platform::StampOfFile(path);
                if (!l.Stamp || !l.Stamp->Regular)
                    continue;
                if (auto known = cache.FindFacts(*l.Stamp)) {
                    l.Time = known->Time;
                    l.Taken = std::move(known->Taken);
                    continue;
                }
                metadata::FileFacts facts =
                    metadata::FactsOfFile(path, {l.Stamp->Device, l.Stamp->Inode, l.Stamp->Link});
                l.Time = facts.Time;
                l.Taken = std::move(facts.Taken);
                read[i] = 1;
            }
        } catch (...) {
            failure = std::current_exception();
            stop = true;
        }
    };
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    toLook = wanted ? static_cast<std::size_t>(std::count(wanted->begin(), wanted->end(), true)) : n;
    const std::size_t workers = std::clamp<std::size_t>(toLook / kFilesPerWorker, 1, cores);
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
    for (std::size_t i = 0; i < n; ++i) {
        if (read[i]) {
            cache.Store(*result.Files[i].Stamp, metadata::FileFacts{result.Files[i].Time, result.Files[i].Taken});
            ++result.HeadersRead;
        }
    }
    return result;
}

SelectedCaptureTimes CaptureTimesOfSelected(const std::string& folderPrefix,
                                            const std::vector<std::string>& names,
                                            const std::vector<bool>& selected, CaptureTimeCache& cache)
{
    std::vector<bool> wanted(names.size(), false);
    std::copy_n(selected.begin(), std::min(selected.size(), names.size()), wanted.begin());
    CaptureLooks looks = LookForCaptureTimes(folderPrefix, names, &wanted, cache);
    SelectedCaptureTimes result;
    result.Times.reserve(names.size());
    result.Cameras.reserve(names.size());
    for (CaptureLook& l : looks.Files) {
        result.Times.push_back(l.Time);
        result.Cameras.push_back(std::move(l.Taken));
    }
    result.HeadersRead = looks.HeadersRead;
    return result;
}
