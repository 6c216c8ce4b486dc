// "Tracewipe.exe -clean ...": the real program under Wine on seeded history, its standard output and error
// caught in files, its windows watched for the whole run; and the window while such a run holds the lock.
#include "app_fixture.h"
#include "box_look.h"
#include "dialog_stage.h"
#include "real_input.h"

#include "app/unattended_command.h"
#include "cleaning/cleaning_run_lock.h"
#include "common/scoped_handles.h"
#include "settings/clean_item_catalogue.h"
#include "support/child_process.h"
#include "support/outside_sentinel.h"
#include "support/shell_folder_redirect.h"
#include "support/unix_side.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string_view>
#include <thread>

namespace app_test {
namespace {

using namespace testing_support;

const std::wstring kIeKey = kSettingsRoot + L"\\Browser\\IE";
const std::wstring kFfKey = kSettingsRoot + L"\\Browser\\FF";
const std::wstring kRunMru = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
const std::wstring kTypedUrls = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";

struct RunResult {
    DWORD exitCode = STILL_ACTIVE;
    std::string out, err;
    size_t windowsSeen = 0;    // top-level windows of the process, visible or not, at any poll
    std::string windowClasses; // the class of each, for a failure's message
};

struct WindowSearch {
    DWORD processId;
    RunResult* result;
};

BOOL CALLBACK CountWindowOf(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) return TRUE;
    char name[128] = {};
    GetClassNameA(window, name, static_cast<int>(std::size(name)));
    // COM gives each thread that enters a single-threaded apartment a hidden top-level window of this
    // class; it is never shown. Counted only if it ever becomes visible.
    if (std::string_view(name) == "OleMainThreadWndClass" && !IsWindowVisible(window)) return TRUE;
    ++search->result->windowsSeen;
    search->result->windowClasses.append(name).append(IsWindowVisible(window) ? " (visible) " : " ");
    return TRUE;
}

void CountWindowsOf(DWORD processId, RunResult& result) {
    WindowSearch search{processId, &result};
    EnumWindows(CountWindowOf, reinterpret_cast<LPARAM>(&search));
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

uint64_t SizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

class UnattendedClean : public AppTest {
  protected:
    UnattendedClean() {
        local_ = root_.MakeFolder(L"Local");
        roaming_ = root_.MakeFolder(L"Roaming");
        temp_ = root_.MakeFolder(L"Local\\Temp");
        folders_.push_back(std::make_unique<ScopedShellFolder>(L"Local AppData", local_));
        folders_.push_back(std::make_unique<ScopedShellFolder>(L"AppData", roaming_));
        // Both temporary-file passes reach the one folder, as on most systems.
        for (const wchar_t* name : {L"TMP", L"TEMP"}) {
            wchar_t previous[MAX_PATH] = L"";
            GetEnvironmentVariableW(name, previous, MAX_PATH);
            environment_.emplace_back(name, previous);
            SetEnvironmentVariableW(name, temp_.c_str());
        }
        root_.Write(
            L"Roaming\\Mozilla\\Firefox\\profiles.ini",
            "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
            "Path=Profiles/abc.default\r\n");
        cookies_ = root_.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\cookies.sqlite");
        tempFile_ = root_.Write(L"Local\\Temp\\trace.tmp");
        root_.Write(L"Local\\Temp\\sub\\deeper.tmp");
        SetString(HKEY_CURRENT_USER, kRunMru, L"a", L"notepad\\1");
        for (const CatalogueEntry& entry : Catalogue())
            if (entry.IsCleanItem())
                SetDword(HKEY_CURRENT_USER, std::wstring(SettingsKeyPath(entry.key)),
                         std::wstring(entry.valueName), 0);
    }
    ~UnattendedClean() override {
        for (const auto& [name, value] : environment_)
            SetEnvironmentVariableW(name.c_str(), value.empty() ? nullptr : value.c_str());
        DeleteTree(HKEY_CURRENT_USER, kRunMru);
        DeleteTree(HKEY_CURRENT_USER, kTypedUrls);
    }

    // Runs the program with `arguments` to its end, its output and error caught in files.
    RunResult Run(const std::wstring& arguments, DWORD timeoutMs = 120000) {
        static std::atomic<int> runs{0};
        const int run = runs++;
        const std::wstring outPath = root_ / (L"out" + std::to_wstring(run)),
                           errPath = root_ / (L"err" + std::to_wstring(run));
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        scoped::FileHandle out(CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           &inherit, CREATE_ALWAYS, 0, nullptr));
        scoped::FileHandle err(CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           &inherit, CREATE_ALWAYS, 0, nullptr));
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = out.Get();
        si.hStdError = err.Get();
        PROCESS_INFORMATION pi{};
        std::wstring line = L"\"" + program_ + L"\" " + arguments;
        RunResult result;
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
            ADD_FAILURE() << "not started: " << GetLastError();
            return result;
        }
        CloseHandle(pi.hThread);
        out.Reset();
        err.Reset();
        const DWORD start = GetTickCount();
        while (WaitForSingleObject(pi.hProcess, 2) == WAIT_TIMEOUT) {
            CountWindowsOf(pi.dwProcessId, result);
            if (GetTickCount() - start > timeoutMs) {
                ADD_FAILURE() << "still running after " << timeoutMs << " ms";
                TerminateProcess(pi.hProcess, 99);
                WaitForSingleObject(pi.hProcess, 5000);
            }
        }
        GetExitCodeProcess(pi.hProcess, &result.exitCode);
        CloseHandle(pi.hProcess);
        result.out = ReadAll(outPath);
        result.err = ReadAll(errPath);
        return result;
    }

    void Select(const std::wstring& key, const wchar_t* valueName) {
        SetDword(HKEY_CURRENT_USER, key, valueName, 1);
    }
    std::wstring LogFolder() const { return local_ + L"\\Tracewipe"; }
    std::wstring LogPath() const { return LogFolder() + L"\\clean.log"; }

    TestFolder root_;
    std::wstring local_, roaming_, temp_, cookies_, tempFile_;
    std::vector<std::unique_ptr<ScopedShellFolder>> folders_;
    std::vector<std::pair<std::wstring, std::wstring>> environment_;
};

TEST(UnattendedCommandLine, IsTakenApartStrictlyAndEachGroupCountsOnce) {
    const auto parse = [](std::vector<std::wstring> args) { return ParseUnattendedCommand(args); };
    EXPECT_FALSE(IsUnattendedCommand(std::vector<std::wstring>{L"-startup"}));
    EXPECT_FALSE(IsUnattendedCommand(std::vector<std::wstring>{L"clean"}));
    EXPECT_TRUE(IsUnattendedCommand(std::vector<std::wstring>{L"-Keep-Running-Browsers"}));

    auto groups = parse({L"-CLEAN", L"Firefox", L"ie", L"firefox", L"-keep-running-browsers"});
    ASSERT_TRUE(groups.command);
    EXPECT_EQ(groups.command->scope, UnattendedCommand::Scope::Groups);
    EXPECT_EQ(groups.command->groups, (std::vector{CleanGroup::Firefox, CleanGroup::InternetExplorer}));
    EXPECT_TRUE(groups.command->keepRunningBrowsers);
    EXPECT_EQ(parse({L"-clean", L"all", L"all"}).command->scope, UnattendedCommand::Scope::Everything);
    EXPECT_EQ(parse({L"-clean"}).command->scope, UnattendedCommand::Scope::SavedSelection);

    for (std::vector<std::wstring> bad : {std::vector<std::wstring>{L"-clean", L"-startup"},
                                          {L"-clean", L"/S"},
                                          {L"-clean", L"edgy"},
                                          {L"-clean", L""},
                                          {L"-clean", L"all", L"ie"},
                                          {L"-clean", L"-clean"},
                                          {L"-keep-running-browsers", L"ie"}}) {
        const ParsedCommand parsed = parse(bad);
        EXPECT_FALSE(parsed.command) << Narrow(bad.back());
        EXPECT_FALSE(parsed.error.empty());
    }
    // An argument is quoted back shortened, whatever its length.
    EXPECT_LT(parse({L"-clean", std::wstring(30000, L'x')}).error.size(), 100u);
}

// The saved selection and nothing else; the folder link in the temporary folder is never followed and is
// reported as what stayed (Wine cannot remove a unix link). No window at any moment, no launcher, no Run
// value, no setting written.
TEST_F(UnattendedClean, CleanRunsTheSavedSelectionWithoutAWindowAndLogsWhatRanAndWhatStayed) {
    OutsideSentinel sentinel;
    ASSERT_TRUE(sentinel.PlantLinkAt(temp_ + L"\\outside-link"));
    Select(kWindowsKey, L"TempFiles");
    Select(kWindowsKey, L"RunHistory");
    SetDword(HKEY_CURRENT_USER, kSettingKey, L"HotKey", 1);

    const RunResult run = Run(L"-clean");
    EXPECT_EQ(run.exitCode, 1u) << run.out << run.err;
    EXPECT_EQ(run.windowsSeen, 0u) << run.windowClasses;
    EXPECT_FALSE(PathExists(tempFile_));
    EXPECT_FALSE(PathExists(temp_ + L"\\sub"));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));
    EXPECT_TRUE(PathExists(cookies_)) << "Firefox is not in the saved selection";
    EXPECT_TRUE(sentinel.Intact());
    EXPECT_TRUE(Launchers().empty());
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, kRunKey, L"Tracewipe") ||
                 ReadString(HKEY_LOCAL_MACHINE, kRunKey, L"TracewipeHK"));
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kWindowsKey, L"TempFiles"), 1u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kWindowsKey, L"Clipboard"), 0u);

    EXPECT_NE(
        run.out.find(
            "Tracewipe -clean\r\nWindows Cleaning\r\n  TEMP Files / folders: removed "),
        std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("    stayed: " + Narrow(temp_) + "\\outside-link\r\n"), std::string::npos)
        << run.out;
    // The link the walk could not remove is what the re-check still counts.
    EXPECT_NE(run.out.find(" stayed\r\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Start Menu Cleaning\r\n  Run History: removed "), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("Clipboard"), std::string::npos);
    EXPECT_EQ(run.out.find("Firefox"), std::string::npos);
    EXPECT_NE(run.out.find("Result: something stayed (exit code 1)"), std::string::npos);
    EXPECT_TRUE(run.err.empty()) << run.err;
    EXPECT_EQ(ReadAll(LogPath()), run.out) << "the log holds the same block";
}

// Everything, as Clean All; the stored selection stays as it was. A file held open without sharing stays,
// named in the report, exit code 1; the run itself goes on to its end. The Internet Explorer index-file
// message is a line of the report, not a message box.
TEST_F(UnattendedClean, EveryItemLeavesTheSavedSelectionAndAHeldFileIsReportedWithExitCode1) {
    Select(kFfKey, L"Cache");
    const std::wstring held = root_.Write(L"Local\\Temp\\held.txt");
    scoped::FileHandle holder(CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);

    // An index file that cannot be opened (a folder of its name): its message goes into the report, no box.
    root_.MakeFolder(L"Cookies\\index.dat");
    const ScopedShellFolder cookies(L"Cookies", root_ / L"Cookies");

    const RunResult run = Run(L"-clean all");
    EXPECT_EQ(run.exitCode, 1u) << run.out << run.err;
    EXPECT_EQ(run.windowsSeen, 0u) << run.windowClasses;
    EXPECT_NE(
        run.out.find(
            "  Cookies: nothing found, Error IE Cookies: File could not be opened\r\n"
            "    stayed: Error IE Cookies: File could not be opened\r\n"),
        std::string::npos)
        << run.out;
    EXPECT_TRUE(PathExists(held));
    EXPECT_NE(run.out.find("    stayed: " + Narrow(held) + "\r\n"), std::string::npos) << run.out;
    EXPECT_FALSE(PathExists(tempFile_));
    EXPECT_FALSE(PathExists(cookies_));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));
    for (const char* group : {"Windows Cleaning", "Programs / Applications", "Start Menu Cleaning",
                              "Internet Explorer", "Mozilla Firefox", "Google Chrome"})
        EXPECT_NE(run.out.find(std::string(group) + "\r\n"), std::string::npos) << group;
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kFfKey, L"Cache"), 1u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kFfKey, L"Cookies"), 0u) << "the selection is never saved";
}

// Exit code 0 when everything went; a group named 10,000 times runs once; 10,000 unknown arguments are
// refused at once with the usage, and nothing is cleaned.
TEST_F(UnattendedClean, GroupsRunOnceAndBadCommandLinesExitWith2CleaningNothing) {
    Select(kIeKey, L"TypeURLS");
    Select(kWindowsKey, L"RunHistory");
    SetString(HKEY_CURRENT_USER, kTypedUrls, L"url1", L"http://example.com/");
    std::wstring many = L"-clean";
    for (int i = 0; i < 10000; ++i)
        many += L" x";
    for (const std::wstring& bad :
         {std::wstring(L"-clean bogus"), std::wstring(L"-clean -force"), std::wstring(L"-clean all ie"),
          std::wstring(L"-keep-running-browsers"), many}) {
        const RunResult run = Run(bad);
        EXPECT_EQ(run.exitCode, 2u) << Narrow(bad.substr(0, 40));
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(run.err.find("Usage: Tracewipe.exe -clean"), std::string::npos) << run.err;
        EXPECT_EQ(run.windowsSeen, 0u) << run.windowClasses;
    }
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kTypedUrls, L"url1"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));
    EXPECT_FALSE(PathExists(LogPath())) << "a refused command writes no log";

    std::wstring repeated = L"-clean";
    for (int i = 0; i < 10000; ++i)
        repeated += L" ie";
    const RunResult run = Run(repeated);
    EXPECT_EQ(run.exitCode, 0u) << run.out << run.err;
    EXPECT_EQ(Count(run.out, "Type URLs: removed 1 entry"), 1u) << run.out;
    EXPECT_EQ(run.out.find("Start Menu"), std::string::npos) << "only the group named";
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kTypedUrls, L"url1"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));
    EXPECT_NE(run.out.find("Result: cleaned (exit code 0)"), std::string::npos);
    EXPECT_LT(run.out.size(), 1000u) << "the arguments are not all copied into the log";
}

// A running browser: with -keep-running-browsers its group is left out and the report says so; without, the
// browser is ended as in a run from the window and its group is cleaned.
TEST_F(UnattendedClean, KeepRunningBrowsersLeavesARunningBrowsersGroupAndSaysSo) {
    Select(kFfKey, L"Cookies");
    Select(kWindowsKey, L"RunHistory");
    const std::wstring firefox = root_ / L"browser\\firefox.exe";
    MakeFolders(root_ / L"browser");
    ASSERT_TRUE(CopyFileW(DosPathOf(IDLE_PROGRAM_EXE).c_str(), firefox.c_str(), FALSE));
    ChildProcess browser(L"\"" + firefox + L"\"");
    ASSERT_TRUE(browser.Started());

    const RunResult kept = Run(L"-clean -keep-running-browsers");
    EXPECT_EQ(kept.exitCode, 0u) << kept.out;
    EXPECT_NE(
        kept.out.find("Mozilla Firefox\r\n  skipped: firefox.exe is running (-keep-running-browsers)\r\n"),
        std::string::npos)
        << kept.out;
    EXPECT_NE(kept.out.find("Run History: removed "), std::string::npos) << kept.out;
    EXPECT_TRUE(browser.Running());
    EXPECT_TRUE(PathExists(cookies_));

    const RunResult ended = Run(L"-clean firefox");
    EXPECT_EQ(ended.exitCode, 0u) << ended.out;
    EXPECT_TRUE(browser.WaitForExit(5000));
    EXPECT_FALSE(PathExists(cookies_));
    // The seeded file holds no cookie rows: it goes, and the line counts no cookies.
    EXPECT_NE(ended.out.find("Mozilla Firefox\r\n  Cookies: nothing found\r\n"), std::string::npos) << ended.out;
}

// Exit code 3 while another run holds the lock, nothing cleaned; the window's Clean Now meanwhile says so
// instead of cleaning; once the window's own progress dialog is open, an unattended run gets 3 in turn.
// A plain start opens the window meanwhile as usual.
TEST_F(UnattendedClean, OneRunAtATimeBetweenUnattendedRunsAndTheWindow) {
    Select(kWindowsKey, L"RunHistory");
    {
        // Held as another unattended run holds it.
        scoped::KernelHandle other(CreateMutexW(nullptr, TRUE, CleaningRunLock::kMutexName));
        ASSERT_TRUE(other);
        const RunResult run = Run(L"-clean");
        EXPECT_EQ(run.exitCode, 3u);
        EXPECT_NE(run.err.find("Another cleaning run is going on"), std::string::npos) << run.err;
        EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));

        RunningApp& app = StartShown();
        ASSERT_NE(app.Window(), nullptr);
        const DWORD uiThread = GetWindowThreadProcessId(app.Window(), nullptr);
        ASSERT_TRUE(app.Click(L"btn_QuickClean"));
        HWND box = cleaning_test::WaitForDialog(uiThread);
        ASSERT_NE(box, nullptr);
        Sleep(300);
        RECT rc{};
        GetWindowRect(box, &rc);
        SaveScreenshot("app_cleaning_in_progress", rc);
        const BoxLook seen = Look(box);
        EXPECT_EQ(cleaning_test::VisibleDialogsOf(uiThread).size(), 1u) << "no progress dialog";
        PostMessageW(box, WM_CLOSE, 0, 0);
        EXPECT_TRUE(cleaning_test::WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 8000));
        EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));
        EXPECT_TRUE(IsWindowEnabled(app.Window()));

        const BoxLook expected =
            ExpectedBox(L"Cleaning In Progress",
                        L"Tracewipe is already cleaning, started from the command line or a scheduled "
                        L"task. Please try again when it has finished.");
        EXPECT_TRUE(SamePixels(seen.title, expected.title));
        EXPECT_TRUE(SamePixels(seen.whole, expected.whole));

        ReleaseMutex(other.Get());
        // The lock is free: Clean Now opens the progress dialog, which holds it until it closes.
        ASSERT_TRUE(app.Click(L"btn_QuickClean"));
        HWND progress = cleaning_test::WaitForDialog(uiThread, box);
        ASSERT_NE(progress, nullptr);
        const RunResult during = Run(L"-clean windows");
        EXPECT_EQ(during.exitCode, 3u);
        EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));
        PostMessageW(progress, WM_CLOSE, 0, 0);
        EXPECT_TRUE(
            cleaning_test::WaitFor([&] { return !IsWindow(progress) || !IsWindowVisible(progress); }, 8000));
        app.Process().Stop();
    }

    // Two unattended runs started at once over 20,000 files, and a plain start meanwhile: one run cleans, the
    // other exits with 3 at once, and the window opens.
    ASSERT_TRUE(RunUnixShell("cd '" + UnixPathOf(temp_) +
                                 "' && seq 1 20000 | sed 's/^/f/' | xargs touch && touch done",
                             temp_ + L"\\done", 60000));
    Select(kWindowsKey, L"TempFiles");
    RunResult first, second;
    std::thread a([&] { first = Run(L"-clean windows"); });
    std::thread b([&] { second = Run(L"-clean windows"); });
    ASSERT_TRUE(cleaning_test::WaitFor(
        [&] { return !ProcessesUnder(folder_.Path(), L"Tracewipe.exe").empty(); }, 10000));
    RunningApp& window = Start();
    EXPECT_NE(window.WaitForWindow(), nullptr);
    const bool overlapped = ProcessesUnder(folder_.Path(), L"Tracewipe.exe").size() >= 2;
    a.join();
    b.join();
    EXPECT_TRUE(overlapped) << "the unattended run ended before the window came";
    EXPECT_EQ(std::min(first.exitCode, second.exitCode), 0u) << first.out << second.out;
    EXPECT_EQ(std::max(first.exitCode, second.exitCode), 3u) << first.err << second.err;
    EXPECT_FALSE(PathExists(temp_ + L"\\f1"));
}

// The log: one block per run appended; at 1 MiB it becomes clean.log.1 (a 2 GB log is renamed, not read or
// copied); a log folder that is a link, or a log that is a folder, is refused with a message while the run
// still cleans; a read-only folder is written as Windows writes it.
TEST_F(UnattendedClean, TheLogIsAppendedRotatedAndNeverFollowedThroughALink) {
    Select(kWindowsKey, L"RunHistory");
    ASSERT_EQ(Run(L"-clean").exitCode, 0u);
    ASSERT_EQ(Run(L"-clean startmenu").exitCode, 0u);
    const std::string twice = ReadAll(LogPath());
    EXPECT_EQ(Count(twice, "=== "), 2u) << twice;
    EXPECT_NE(twice.find("Tracewipe -clean startmenu\r\n"), std::string::npos);

    {
        scoped::FileHandle log(
            CreateFileW(LogPath().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        LARGE_INTEGER size{};
        size.QuadPart = 2LL << 30;
        ASSERT_TRUE(SetFilePointerEx(log.Get(), size, nullptr, FILE_BEGIN) && SetEndOfFile(log.Get()));
    }
    root_.Write(L"Local\\Tracewipe\\clean.log.1", "an older rotation");
    const RunResult rotated = Run(L"-clean");
    EXPECT_EQ(rotated.exitCode, 0u) << rotated.err;
    EXPECT_EQ(SizeOf(LogPath() + L".1"), 2ull << 30);
    EXPECT_EQ(ReadAll(LogPath()), rotated.out);

    SetFileAttributesW(LogFolder().c_str(), FILE_ATTRIBUTE_READONLY);
    const RunResult readOnly = Run(L"-clean");
    SetFileAttributesW(LogFolder().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(readOnly.err.empty()) << readOnly.err;
    EXPECT_EQ(Count(ReadAll(LogPath()), "=== "), 2u);

    DeleteFileW(LogPath().c_str());
    ASSERT_TRUE(CreateDirectoryW(LogPath().c_str(), nullptr));
    SetString(HKEY_CURRENT_USER, kRunMru, L"a", L"notepad\\1");
    const RunResult folderLog = Run(L"-clean");
    EXPECT_EQ(folderLog.exitCode, 0u);
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kRunMru, L"a")) << "the run still cleans";
    EXPECT_NE(folderLog.err.find("was not written"), std::string::npos) << folderLog.err;
    EXPECT_NE(folderLog.out.find("Run History: "), std::string::npos);

    ASSERT_TRUE(RemoveTreeUnix(LogFolder()));
    OutsideSentinel sentinel;
    ASSERT_TRUE(sentinel.PlantLinkAt(LogFolder()));
    SetString(HKEY_CURRENT_USER, kRunMru, L"a", L"notepad\\1");
    const RunResult linked = Run(L"-clean");
    EXPECT_EQ(linked.exitCode, 0u);
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));
    EXPECT_NE(linked.err.find("its folder is a link"), std::string::npos) << linked.err;
    EXPECT_TRUE(sentinel.Intact()) << "nothing written through the link";
}

} // namespace
} // namespace app_test
