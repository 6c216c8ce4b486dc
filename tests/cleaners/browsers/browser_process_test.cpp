#include "cleaners/browsers/browser_process.h"

#include "cleaners/browsers/chromium_browsers.h"

#include "browser_folders_fixture.h"
#include "common/scoped_handles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

namespace {

using namespace browser_tests;
using testing_support::PathExists;

// A copy of the waiting stand-in program, started under a browser's image name; ended by the test
// when it is still running at the end.
class StandIn {
  public:
    StandIn(const testing_support::TestFolder& folder, const std::wstring& relativePath) {
        const std::wstring path = folder / relativePath;
        testing_support::MakeFolders(path.substr(0, path.rfind(L'\\')));
        if (!CopyFileW(StandInProgram().c_str(), path.c_str(), FALSE)) return;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &started))
            return;
        CloseHandle(started.hThread);
        process_ = scoped::KernelHandle(started.hProcess);
    }
    ~StandIn() {
        if (Running()) TerminateProcess(process_.Get(), 1);
        if (process_) WaitForSingleObject(process_.Get(), 5000);
    }

    bool Running() const { return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }
    // Ended by TerminateBrowser, which ends with exit code 0 (the stand-in itself ends with 3).
    bool EndedByTerminate() const {
        DWORD code = STILL_ACTIVE;
        return process_ && WaitForSingleObject(process_.Get(), 5000) == WAIT_OBJECT_0 &&
               GetExitCodeProcess(process_.Get(), &code) && code == 0;
    }

  private:
    static std::wstring StandInProgram() {
        wchar_t self[MAX_PATH * 4];
        const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
        const std::wstring path(self, length);
        return path.substr(0, path.rfind(L'\\')) + L"\\browser_stand_in.exe";
    }

    scoped::KernelHandle process_;
};

class BrowserProcesses : public BrowserFoldersTest {
  protected:
    const testing_support::TestFolder programs_;
    const std::wstring profile_ = root_.MakeFolder(L"Roaming\\Mozilla\\Firefox\\Profiles\\p.default");

    void SetUp() override {
        root_.Write(L"Roaming\\Mozilla\\Firefox\\profiles.ini", "[Profile0]\r\nPath=Profiles/p.default\r\n");
        for (const auto& name : {L"sessionstore.js", L"cookies.sqlite", L"places.sqlite"})
            root_.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\p.default\\" + std::wstring(name), "{}");
        PlantLinkIn(profile_);
    }
    void TearDown() override { EXPECT_TRUE(sentinel_.Intact()); }

    std::unique_ptr<StandIn> Start(const std::wstring& relativePath) {
        auto standIn = std::make_unique<StandIn>(programs_, relativePath);
        EXPECT_TRUE(standIn->Running()) << testing::PrintToString(relativePath);
        return standIn;
    }
    // TerminateBrowser's result, checking the pause that lets the ended processes release their files.
    int32_t TimedTerminate(BrowserKind kind) {
        const auto start = std::chrono::steady_clock::now();
        const int32_t result = TerminateBrowser(kind);
        // A few milliseconds of slack for the timer's granularity.
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(490));
        return result;
    }
    bool SessionKept() const { return PathExists(profile_ + L"\\sessionstore.js"); }
};

TEST_F(BrowserProcesses, EveryFirefoxEndsAndItsLastSessionGoes) {
    const auto first = Start(L"a\\firefox.exe"), second = Start(L"b\\firefox.exe");
    const auto otherCase = Start(L"c\\Firefox.exe"), chrome = Start(L"d\\chrome.exe"),
               ie = Start(L"e\\iexplore.exe");
    EXPECT_EQ(1, TimedTerminate(BrowserKind::Firefox));
    EXPECT_TRUE(first->EndedByTerminate());
    EXPECT_TRUE(second->EndedByTerminate());
    EXPECT_TRUE(otherCase->Running());
    EXPECT_TRUE(chrome->Running());
    EXPECT_TRUE(ie->Running());
    EXPECT_FALSE(SessionKept());
    EXPECT_TRUE(PathExists(profile_ + L"\\cookies.sqlite"));
    EXPECT_TRUE(PathExists(profile_ + L"\\places.sqlite"));
}

TEST_F(BrowserProcesses, NoMatchingProcessStillPausesAndKeepsTheSession) {
    const auto otherCase = Start(L"c\\Firefox.exe"), ie = Start(L"e\\iexplore.exe");
    EXPECT_EQ(1, TimedTerminate(BrowserKind::Chrome));
    EXPECT_EQ(1, TimedTerminate(BrowserKind::Firefox));
    EXPECT_EQ(1, TimedTerminate(static_cast<BrowserKind>(9)));
    EXPECT_TRUE(otherCase->Running());
    EXPECT_TRUE(ie->Running());
    EXPECT_TRUE(SessionKept());
}

TEST_F(BrowserProcesses, ChromeAndInternetExplorerEndAlone) {
    const auto chrome = Start(L"d\\chrome.exe"), ie = Start(L"e\\iexplore.exe"),
               firefox = Start(L"a\\firefox.exe");
    EXPECT_EQ(1, TimedTerminate(BrowserKind::Chrome));
    EXPECT_TRUE(chrome->EndedByTerminate());
    EXPECT_TRUE(ie->Running());
    EXPECT_EQ(1, TimedTerminate(BrowserKind::InternetExplorer));
    EXPECT_TRUE(ie->EndedByTerminate());
    EXPECT_TRUE(firefox->Running());
    EXPECT_TRUE(SessionKept());
}

// Each Chromium-family row ends every process of its own executables and nothing of the others.
TEST_F(BrowserProcesses, EachChromiumBrowserEndsItsOwnProcessesOnly) {
    const auto edge = Start(L"f\\msedge.exe"), edgeBoost = Start(L"g\\msedge.exe"),
               brave = Start(L"h\\brave.exe"), chrome = Start(L"d\\chrome.exe"),
               firefox = Start(L"a\\firefox.exe");
    EXPECT_EQ(1, TerminateBrowser(*FindChromiumBrowser(7)));
    EXPECT_TRUE(edge->EndedByTerminate());
    EXPECT_TRUE(edgeBoost->EndedByTerminate());
    EXPECT_TRUE(brave->Running());
    EXPECT_TRUE(chrome->Running());
    EXPECT_EQ(1, TerminateBrowser(*FindChromiumBrowser(8)));
    EXPECT_TRUE(brave->EndedByTerminate());
    EXPECT_TRUE(chrome->Running());
    EXPECT_EQ(1, TerminateBrowser(*FindChromiumBrowser(6)));
    EXPECT_TRUE(chrome->EndedByTerminate());
    EXPECT_TRUE(firefox->Running());
    EXPECT_TRUE(SessionKept());
}

} // namespace
