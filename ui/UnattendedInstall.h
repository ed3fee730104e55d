#pragma once

// The installation without a window or a prompt ("-silent=true"): the checks of an install
// started from the window, in the same order, the earlier installation handled as if its
// user had chosen to install the latest version, the pipeline and the records; the product
// is never started and no page opened. Returns the process exit code (UnattendedExitCode).
int RunUnattendedInstall();
