// The process's standard streams as the command line sees them.
#pragma once

namespace pylomir::platform {

// Whether standard error is an interactive terminal (progress lines go there
// only then, so logs and pipes stay clean).
bool stderrIsTerminal();

} // namespace pylomir::platform
