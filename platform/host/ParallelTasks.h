// Runs numbered tasks on a few threads of their own, for the work of one
// call (a large load) that splits into independent parts.
#pragma once

#include <cstddef>
#include <functional>

namespace host {

// Runs task(0) .. task(count - 1), each once, on at most `threads` threads
// (the calling one among them) and returns when all are done. Tasks are
// taken in order as threads come free. The first exception a task throws is
// rethrown here once every thread has stopped; tasks not yet begun are then
// skipped.
void RunTasks(size_t count, unsigned threads, const std::function<void(size_t)>& task);

// Threads worth using for such work on this machine (at least 1).
unsigned WorkThreads();

}  // namespace host
