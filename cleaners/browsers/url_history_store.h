#pragma once
// The COM store behind Internet Explorer's address-bar history.
#include <windows.h>

// Initialises COM on the calling thread for the call only. The status of ClearHistory, or the failure of
// creating the store.
HRESULT ClearUrlHistoryStore();
