#pragma once

// How a listening socket takes its port on this system.

namespace tavu {

// Whether a listening socket asks to reuse its address. On POSIX systems this
// only lets a hub start again at once on the port it left, while connections
// of the last run still wait out their close; on Windows the same option lets
// a second program take a port already in use, so it is never asked for there.
bool listeningReusesAddress();

} // namespace tavu
