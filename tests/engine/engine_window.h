#pragma once
// A real (message-only) window with a page loaded through the C interface, and a recording callback.

#include "engine/include/htmlayout.h"

#include <map>
#include <string>
#include <vector>

namespace engine_test {

class EngineWindow {
public:
    EngineWindow();
    ~EngineWindow();
    EngineWindow(const EngineWindow&) = delete;
    EngineWindow& operator=(const EngineWindow&) = delete;

    HWND Hwnd() const { return hwnd_; }
    void Load(const std::string& html, const wchar_t* baseUrl = nullptr);
    HELEMENT Root() const;
    // First match of a selector under the root, or null.
    HELEMENT Find(const char* selector) const;
    std::wstring Attribute(HELEMENT he, const char* name) const;
    unsigned State(HELEMENT he) const;

    std::vector<std::wstring> loadRequests;
    std::map<std::wstring, std::string> answers;
    std::vector<std::string> behaviorRequests;
    std::map<std::string, std::pair<ElementEventProc, void*>> behaviors;

private:
    static LRESULT CALLBACK Notify(NMHDR* notification, void* param);
    HWND hwnd_;
};

} // namespace engine_test
