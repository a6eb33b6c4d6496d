// The numbers of the LibreOffice backend's failures, one range per kind, so a
// number in an operator's report says which step failed:
//   1xx CannotStart, 2xx FileMissing, 3xx SheetMissing, 4xx WorkbookLocked,
//   5xx TimedOut, 6xx Other, 7xx Damaged, 8xx NoRoom.
#pragma once

#include <string>

#include "export/spreadsheet.h"

namespace cubrix::lo {

enum FailureNumber : int {
    kNoProgram = 101,           // soffice not found or not executable
    kSpawnFailed = 102,         // the hidden office could not be started
    kEndedAtStart = 103,        // it ended before it answered
    kNoAnswer = 104,            // it did not answer within the start bound
    kNoProfile = 105,           // its profile folder cannot be made
    kLaunchFailed = 106,        // the visible window's command cannot run
    kNoUnoRuntime = 107,        // this process cannot set up UNO
    kNoWorkbook = 201,          // no workbook file at the path
    kUnreadableWorkbook = 202,  // the file to show is missing or unreadable
    kNoSheet = 301,
    kLockedElsewhere = 401,  // the office reported a lock held by another
    kReadOnly = 402,         // the file or its folder is not writable
    kOpenedReadOnly = 403,   // the office could only open it read-only
    kStoreRefused = 404,     // saving failed for want of write access
    kCallOverran = 501,      // a call did not return in time
    kQuitOverran = 502,      // the office did not end in time after terminate
    kLoadFailed = 601,
    kStoreFailed = 602,
    kCallFailed = 603,       // any other call into the office
    kOutOfOrder = 604,       // an operation without the instance it needs
    kEmptyWorkbook = 701,    // the file at the path has no bytes
    kUnreadableAsXls = 702,  // the office could not read the file as a workbook
    kNoRoomToStore = 801,    // saving failed with the disk (or the quota) full
};

[[noreturn]] inline void fail(SpreadsheetError kind, FailureNumber number,
                              const std::string& detail) {
    throw SpreadsheetFailure(kind, number, detail);
}

}  // namespace cubrix::lo
