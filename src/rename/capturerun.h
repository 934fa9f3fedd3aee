#pragma once
// What capture times add to one run: the names made from them (the pattern of textvol) and
// the day counter, with the clock offset added to every capture time. The reading is
// filelist/capturereading.h's; the expanding and counting are capturenames.h's.
#include "filelist/capturecache.h"
#include "filelist/capturereading.h"
#include "rename/capturenames.h"
#include "rename/companions.h"
#include "rename/naming.h"
#include "rename/renameinputs.h"

#include <string>
#include <vector>

// True when the run needs the photos' capture times at all.
bool RunNeedsCaptureTimes(const RenameInputValues& in);

// Adds to options what the looks at the photos give (looks by row, read for every photo):
// the text part of each photo from its capture time when names come from capture times, and
// where the day counter starts again (the capture day, else the local date of the
// modification). marks, when given: by row, the photos that keep their names for want of a
// capture time or of a camera value the pattern names.
void AddCaptureNaming(RenameOptions& options, const RenameInputValues& in, const FileGroups& groups,
                      const std::vector<CaptureLook>& looks, std::vector<CaptureMark>* marks);

// The same, reading the photos of the groups first (each header once a session: the
// capture-date sort shares the cache).
void AddCaptureNaming(RenameOptions& options, const RenameInputValues& in, const std::string& prefix,
                      const std::vector<std::string>& names, const FileGroups& groups,
                      CaptureTimeCache& cache, std::vector<CaptureMark>* marks);
