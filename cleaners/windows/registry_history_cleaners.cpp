#include "cleaners/windows/registry_history_cleaners.h"

#include "cleaners/windows/registry_targets.h"

void CleanOpenSaveHistory() { RemoveRegistryTargets(RegistryItem::OpenSaveHistory); }
void CleanMediaPlayerHistory() { RemoveRegistryTargets(RegistryItem::MediaPlayerHistory); }
void CleanPaintHistory() { RemoveRegistryTargets(RegistryItem::PaintHistory); }
void CleanWordPadHistory() { RemoveRegistryTargets(RegistryItem::WordPadHistory); }
void CleanRunHistory() { RemoveRegistryTargets(RegistryItem::RunHistory); }
void CleanSearchHistory() { RemoveRegistryTargets(RegistryItem::SearchHistory); }
void CleanFindComputerHistory() { RemoveRegistryTargets(RegistryItem::FindComputerHistory); }
void CleanLogonUserName() { RemoveRegistryTargets(RegistryItem::LogonUserName); }
