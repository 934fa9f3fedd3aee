#pragma once
// Shared by the benchmarks: a QApplication on the offscreen platform, big test folders, and
// the program's main window on such a folder.
#include "app/windows.h"

#include <QString>
#include <benchmark/benchmark.h>
#include <stdexcept>
#include <string>
#include <vector>

// A control of a window, found by its name as the tests find it.
template <typename T>
T* Control(QObject* window, const char* name)
{
    T* c = window->findChild<T*>(QString::fromLatin1(name));
    if (!c)
        throw std::logic_error(std::string("no control named ") + name);
    return c;
}

// A folder of `count` empty files named prefix + zero-padded number + extension, created
// once per process in a temporary folder and removed at exit.
std::string MakeBenchFolder(const std::string& tag, int count, const std::string& prefix,
                            const std::string& extension);

// The windows started on folder (it becomes the start folder through a settings file).
Windows StartOn(const std::string& folder);

// Resident memory of this process in bytes.
long ResidentBytes();

// The counters tools/bench-check.sh reads: "ratio" is measured over baseline (both measured in
// the same run) and "target" the largest ratio allowed.
void ReportRatio(benchmark::State& state, double measured, double baseline, double target);

// The floor of every listing: readdir of folder (dot names left out) and the case-blind sort
// of the names, with nothing else around them.
std::vector<std::string> BareReadAndSort(const std::string& folder);

// Processor time of the calling thread, system calls included.
double ThreadCpuSeconds();
// Processor time of every thread of the program, system calls included.
double ProcessCpuSeconds();

// The rename floor of 100,000-file benchmarks: renames every file of folder named
// "<from>NNNNNN.jpg" (N below files) to "<to>NNNNNN.jpg" with renameat2 and reads the listing
// again; the seconds it took.
double RenameFloor(const std::string& folder, int files, char from, char to);

// Throws unless oldfile lists `files` names, each starting with first.
void ExpectAllNamesStartWith(TMain* m, int files, char first);
