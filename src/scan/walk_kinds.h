// How a folder walk treats a tree, and which test a file listing applies.
#pragma once

namespace scan {

enum TFolderWalkKind {
    fwFullWalk = 0,          // the drive walk
    fwUserFolder = 3,        // user rule type 4: every file below a folder
    fwBrowserFolder = 6,     // browser cache, history and cookie folders
    fwWholeFolder = 12,      // folders searched as a whole (Temp, Tmp, setup folders, ...)
    fwRecycleBin = 16,       // recycle bin folders
    fwTempFolder = 18,       // TEMP, TMP and the download, log and installer folders
    fwOnlineServices = 22,   // Program Files\Online Services
    fwRestorePoints = 23,    // the "RP*" entries of a restore folder
    fwUninstallBackup = 24,  // $NTUNINSTALL* folders
    fwFirefoxCache = 25,
    fwFirefoxHistory = 26,
    fwFirefoxCookies = 27,
};

enum TFileTestKind {
    ftMask = 3,  // name matches the name part of the pattern
    ftBadShortcut = 5,
    ftOldSince1999 = 7,
    ftOldSince2000 = 8,
    ftOldSince2001 = 9,
    ftOldSince2002 = 10,
    ftEmptyFile = 11,
    ftWebShortcut = 14,
    ftCdShortcut = 15,
    ftOlderThanDay = 18,
    ftOlderThanWeek = 20,
    ftEmptyFolder = 21,  // the listed folder itself, when it has no entries
};

}  // namespace scan
