#pragma once
// One Tracewipe per log-on: a named mutex marks the first instance; a later start brings it forward.

// Creates the instance mutex (kept open for the life of the process). True when another instance made it
// first, or holds it with rights that keep this process from opening it.
bool AnotherInstanceRuns();

// Shows the first instance's main window (restoring it when minimized) and brings it to the front. The first instance may still be
// creating its window, so this waits for it up to `timeoutMs`.
void BringFirstInstanceForward(unsigned timeoutMs = 5000);
