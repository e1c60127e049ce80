// A test-only probe for the start-up benchmark. With RANOVEH_PROBE=paint in the environment
// the program prints "painted" once its window has first been painted and quits; with
// RANOVEH_PROBE=memory it then opens documents until ten 1920 x 1080 pictures are shown,
// prints "rss <kB>" and quits. Without the variable nothing happens.
#pragma once

namespace rv {

class TMainForm;

void InstallStartupProbe(TMainForm& form);

}  // namespace rv
