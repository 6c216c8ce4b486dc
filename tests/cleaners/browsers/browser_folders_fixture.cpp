#include "browser_folders_fixture.h"

namespace browser_tests {
namespace {
std::vector<ShownMessage> shown;

int WINAPI Record(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
    shown.push_back({caption, text, type});
    return IDOK;
}
} // namespace

MessageRecorder::MessageRecorder() : replaced_(ReplaceIndexFileMessageBox(&Record)) {
    shown.clear();
}
MessageRecorder::~MessageRecorder() {
    ReplaceIndexFileMessageBox(replaced_);
}
const std::vector<ShownMessage>& MessageRecorder::Shown() const {
    return shown;
}

std::vector<std::wstring> MessageRecorder::Texts() const {
    std::vector<std::wstring> texts;
    for (const auto& message : shown)
        texts.push_back(message.text);
    return texts;
}

std::wstring ProgramPath() {
    wchar_t path[MAX_PATH * 4];
    GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return path;
}

void BrowserFoldersTest::PlantLinkIn(const std::wstring& folder) {
    testing_support::MakeFolders(folder);
    ASSERT_TRUE(sentinel_.PlantLinkAt(folder + L"\\outside link"));
}

} // namespace browser_tests
