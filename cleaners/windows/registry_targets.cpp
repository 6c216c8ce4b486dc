#include "cleaners/windows/registry_targets.h"

#include "cleaners/windows/removed_tally.h"
#include "common/scoped_handles.h"

#include <shlwapi.h>

#include <string>
#include <vector>

namespace {

#define EXPLORER L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
#define EXPLORER_BARS L"Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\"
#define USER_WINLOGON L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon"

using R = RegistryRule;

// HKEY constants are casts, not constants: the table is built once, at start-up.
const RegistryTarget kOpenSave[] = {{HKEY_CURRENT_USER, EXPLORER L"ComDlg32\\LastVisitedPidlMRU", R::KeyTree},
                                    {HKEY_CURRENT_USER, EXPLORER L"ComDlg32\\OpenSavePidlMRU", R::KeyTree}};
const RegistryTarget kMediaPlayer[] = {
    {HKEY_CURRENT_USER, L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList", R::KeyTree},
    {HKEY_CURRENT_USER, L"Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList", R::KeyTree}};
const RegistryTarget kPaint[] = {
    {HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List", R::KeyTree}};
const RegistryTarget kWordPad[] = {
    {HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List", R::KeyTree}};
const RegistryTarget kRecentDocs[] = {{HKEY_CURRENT_USER, EXPLORER L"RecentDocs", R::KeyTree}};
const RegistryTarget kRun[] = {{HKEY_CURRENT_USER, EXPLORER L"RunMRU", R::RunMruEntries}};
const RegistryTarget kSearch[] = {{HKEY_CURRENT_USER, EXPLORER L"Doc Find Spec MRU", R::KeyTree},
                                  {HKEY_CURRENT_USER, EXPLORER_BARS L"ContainingTextMRU", R::KeyTree},
                                  {HKEY_CURRENT_USER, EXPLORER_BARS L"FilesNamedMRU", R::KeyTree},
                                  {HKEY_CURRENT_USER, L"Software\\Microsoft\\Search Assistant\\ACMru\\5603", R::KeyTree},
                                  {HKEY_CURRENT_USER, EXPLORER L"WordWheelQuery", R::KeyTree}};
const RegistryTarget kFindComputer[] = {{HKEY_CURRENT_USER, EXPLORER L"FindComputerMRU", R::KeyTree},
                                        {HKEY_CURRENT_USER, EXPLORER_BARS L"ComputerNameMRU", R::KeyTree}};
// The machine-wide key has no "NT" in its path.
const RegistryTarget kLogon[] = {
    {HKEY_CURRENT_USER, USER_WINLOGON, R::Value, L"DefaultUserName"},
    {HKEY_CURRENT_USER, USER_WINLOGON, R::Value, L"AltDefaultUserName"},
    {HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Winlogon", R::Value, L"DefaultUserName"}};

#define IE L"Software\\Microsoft\\Internet Explorer\\"
const RegistryTarget kIeTypedUrls[] = {{HKEY_CURRENT_USER, IE L"TypedURLs", R::NumberedList, L"url"}};
// Storage2 holds the form data on systems that no longer have SPW, so it goes whatever became of SPW.
const RegistryTarget kIeAutoForms[] = {{HKEY_CURRENT_USER, IE L"IntelliForms\\SPW", R::LeafKey},
                                       {HKEY_CURRENT_USER, IE L"IntelliForms\\Storage2", R::LeafKey}};

#undef IE
#undef EXPLORER
#undef EXPLORER_BARS
#undef USER_WINLOGON

// The names of the RunMRU entries: "a" to "z", then the order list.
std::vector<std::wstring> RunMruValueNames() {
    std::vector<std::wstring> names;
    for (wchar_t letter = L'a'; letter <= L'z'; ++letter) names.emplace_back(1, letter);
    names.emplace_back(L"MRUList");
    return names;
}

scoped::RegKey OpenToRead(HKEY root, const std::wstring& path) {
    scoped::RegKey key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.Out()) != ERROR_SUCCESS) return {};
    return key;
}

bool CountsOf(HKEY key, DWORD& subkeys, DWORD& values, DWORD& longestSubkey) {
    return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr, &values, nullptr,
                            nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// Values and subkeys below `path`, at any depth; a list of keys still to read instead of a recursion, so a
// deep tree costs no stack.
uint64_t CountTree(HKEY root, const std::wstring& path) {
    uint64_t count = 0;
    std::vector<std::wstring> pending{path};
    while (!pending.empty()) {
        const std::wstring current = std::move(pending.back());
        pending.pop_back();
        scoped::RegKey key = OpenToRead(root, current);
        DWORD subkeys = 0, values = 0, longest = 0;
        if (!key || !CountsOf(key.Get(), subkeys, values, longest)) continue;
        count += uint64_t{subkeys} + values;
        std::wstring name(longest + 1, L'\0');
        for (DWORD i = 0; i < subkeys; ++i) {
            DWORD length = static_cast<DWORD>(name.size());
            if (RegEnumKeyExW(key.Get(), i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                continue;
            pending.push_back(current + L'\\' + std::wstring(name.data(), length));
        }
    }
    return count;
}

bool ValueThere(HKEY key, const std::wstring& name) {
    return RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::wstring NumberedName(const RegistryTarget& target, unsigned n) { return std::wstring(target.value) + std::to_wstring(n); }

uint64_t CountTarget(const RegistryTarget& target) {
    const std::wstring path(target.path);
    switch (target.rule) {
    case R::KeyTree: return CountTree(target.root, path);
    case R::Value: {
        scoped::RegKey key = OpenToRead(target.root, path);
        return key && ValueThere(key.Get(), std::wstring(target.value)) ? 1 : 0;
    }
    case R::RunMruEntries: {
        scoped::RegKey key = OpenToRead(target.root, path);
        DWORD subkeys = 0, values = 0, longest = 0;
        if (!key || !CountsOf(key.Get(), subkeys, values, longest)) return 0;
        if (subkeys == 0) return values;
        uint64_t count = 0;
        for (const std::wstring& name : RunMruValueNames()) count += ValueThere(key.Get(), name) ? 1 : 0;
        return count;
    }
    case R::LeafKey: {
        scoped::RegKey key = OpenToRead(target.root, path);
        DWORD subkeys = 0, values = 0, longest = 0;
        return key && CountsOf(key.Get(), subkeys, values, longest) && subkeys == 0 ? values : 0;
    }
    case R::NumberedList: {
        scoped::RegKey key = OpenToRead(target.root, path);
        uint64_t count = 0;
        while (key && ValueThere(key.Get(), NumberedName(target, static_cast<unsigned>(count + 1)))) ++count;
        return count;
    }
    }
    return 0;
}

// What goes is counted as it goes (removed_tally.h).
void RemoveTarget(const RegistryTarget& target) {
    const std::wstring path(target.path);
    switch (target.rule) {
    case R::KeyTree: {
        // The tree is read just before it goes; a deletion that fails part-way counts what it took.
        const uint64_t tree = CountTree(target.root, path);
        const bool gone = SHDeleteKeyW(target.root, path.c_str()) == ERROR_SUCCESS;
        const uint64_t left = gone ? 0 : CountTree(target.root, path);
        TallyRemovedEntries(WentBetween(tree, left));
        break;
    }
    case R::Value:
        if (SHDeleteValueW(target.root, path.c_str(), std::wstring(target.value).c_str()) == ERROR_SUCCESS)
            TallyRemovedEntries(1);
        break;
    case R::RunMruEntries: {
        // Goes whole only without subkeys; one that has subkeys keeps them and any other value.
        const uint64_t values = CountTarget(target);
        if (RegDeleteKeyW(target.root, path.c_str()) == ERROR_SUCCESS) {
            TallyRemovedEntries(values);
            return;
        }
        scoped::RegKey key;
        if (RegOpenKeyW(target.root, path.c_str(), key.Out()) != ERROR_SUCCESS) return;
        for (const std::wstring& name : RunMruValueNames())
            if (RegDeleteValueW(key.Get(), name.c_str()) == ERROR_SUCCESS) TallyRemovedEntries(1);
        break;
    }
    case R::LeafKey: {
        const uint64_t values = CountTarget(target);
        if (RegDeleteKeyW(target.root, path.c_str()) == ERROR_SUCCESS) TallyRemovedEntries(values);
        break;
    }
    case R::NumberedList: {
        scoped::RegKey key;
        if (RegOpenKeyW(target.root, path.c_str(), key.Out()) != ERROR_SUCCESS) return;
        // The list runs without gaps; the first missing number ends it.
        for (unsigned n = 1; RegDeleteValueW(key.Get(), NumberedName(target, n).c_str()) == ERROR_SUCCESS; ++n)
            TallyRemovedEntries(1);
        break;
    }
    }
}

} // namespace

std::span<const RegistryTarget> RegistryTargets(RegistryItem item) {
    using I = RegistryItem;
    switch (item) {
    case I::OpenSaveHistory: return kOpenSave;
    case I::MediaPlayerHistory: return kMediaPlayer;
    case I::PaintHistory: return kPaint;
    case I::WordPadHistory: return kWordPad;
    case I::RecentDocuments: return kRecentDocs;
    case I::RunHistory: return kRun;
    case I::SearchHistory: return kSearch;
    case I::FindComputerHistory: return kFindComputer;
    case I::LogonUserName: return kLogon;
    case I::IeTypedUrls: return kIeTypedUrls;
    case I::IeAutoForms: return kIeAutoForms;
    }
    return {};
}

void RemoveRegistryTargets(RegistryItem item) {
    for (const RegistryTarget& target : RegistryTargets(item)) RemoveTarget(target);
}

uint64_t CountRegistryEntries(RegistryItem item) {
    uint64_t count = 0;
    for (const RegistryTarget& target : RegistryTargets(item)) count += CountTarget(target);
    return count;
}
