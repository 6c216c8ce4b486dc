#pragma once
// Counts what an item's step would remove, from the same target descriptions its cleaner reads. Reads
// only: no file, key or clipboard is opened for writing, and no link is followed.
#include "cleaning/cleaning_steps.h"
#include "cleaning/item_figures.h"

// The Windows items, Internet Explorer's history, cache and cookies, the Chromium-family items of the step's
// browser and every Firefox item; any other item comes back not measured. A folder walk stops with the thread's walk stop (walk_stop.h).
ItemFigures MeasureItem(const CleaningStep& step);
