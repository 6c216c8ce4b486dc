#pragma once
// Every function of the C interface holds this lock: the engine is single-threaded inside, but the
// program's worker thread also calls it (it disables a button when a cleaning run starts).

#include <mutex>

namespace engine {

std::recursive_mutex& ApiMutex();
using ApiLock = std::lock_guard<std::recursive_mutex>;

} // namespace engine
