#include "settings/clean_selection.h"

SelectionRecord CleanSelection{};
