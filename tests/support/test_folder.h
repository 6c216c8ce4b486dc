#pragma once
// A uniquely named folder for one test, removed (without following links) when the test ends.
#include <string>

namespace testing_support {

class TestFolder {
public:
    // Created under `parent`; by default under C:\tracewipe-tests.
    explicit TestFolder(const std::wstring& parent = L"C:\\tracewipe-tests");
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

    // Creates the folders leading to `relative` and a file there holding `content`.
    std::wstring Write(const std::wstring& relative, const std::string& content = "trace") const;
    std::wstring MakeFolder(const std::wstring& relative) const;
    bool Exists(const std::wstring& relative) const;

private:
    std::wstring path_;
};

// Creates every missing folder of `path`.
bool MakeFolders(const std::wstring& path);
std::string ReadAll(const std::wstring& path);
bool PathExists(const std::wstring& path);

} // namespace testing_support
