// The [AutoRun] decisions of program start-up.
#pragma once

#include "app/ini_file.h"
#include "app/schedule.h"
#include "app/settings.h"

namespace app {

// For a "bootup" start: whether the automatic scan runs now. A pending scan (`switch` true)
// runs regardless of the date; otherwise the frequency and the date of the last automatic run
// decide, and a due scan stores today's date. `switch` is then written with the result.
// A stored date that is no calendar date counts as absent and is replaced by today's, so the
// interval is counted from now instead of never coming due.
bool DecideBootupAutoScan(TIniFile& ini, const Date& today);

}  // namespace app
