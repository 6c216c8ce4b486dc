#pragma once
// Cleaners of the most-recently-used lists that Windows and its accessories keep in the registry.
// Each ignores every registry failure: a missing key is nothing to clean.

void CleanOpenSaveHistory();
void CleanMediaPlayerHistory();
void CleanPaintHistory();
void CleanWordPadHistory();
void CleanRunHistory();
void CleanSearchHistory();
void CleanFindComputerHistory();
void CleanLogonUserName();
