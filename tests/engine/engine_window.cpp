#include "engine_window.h"

#include <gtest/gtest.h>

namespace engine_test {

EngineWindow::EngineWindow()
    : hwnd_(CreateWindowExW(0, L"STATIC", L"engine test", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {
    EXPECT_NE(hwnd_, nullptr);
    HTMLayoutSetCallback(hwnd_, Notify, this);
}

EngineWindow::~EngineWindow() {
    HTMLayoutReleaseWindow(hwnd_);
    DestroyWindow(hwnd_);
}

void EngineWindow::Load(const std::string& html, const wchar_t* baseUrl) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(html.data());
    auto size = static_cast<unsigned>(html.size());
    EXPECT_TRUE(baseUrl ? HTMLayoutLoadHtmlEx(hwnd_, bytes, size, baseUrl) : HTMLayoutLoadHtml(hwnd_, bytes, size));
}

HELEMENT EngineWindow::Root() const {
    HELEMENT root = nullptr;
    HTMLayoutGetRootElement(hwnd_, &root);
    return root;
}

namespace {

int HLCALL KeepFirst(HELEMENT he, void* param) {
    *static_cast<HELEMENT*>(param) = he;
    return 1;
}

} // namespace

HELEMENT EngineWindow::Find(const char* selector) const {
    HELEMENT found = nullptr;
    HTMLayoutSelectElements(Root(), selector, KeepFirst, &found);
    return found;
}

std::wstring EngineWindow::Attribute(HELEMENT he, const char* name) const {
    const wchar_t* value = nullptr;
    if (HTMLayoutGetAttributeByName(he, name, &value) != HL_OK || !value) return L"<none>";
    return value;
}

unsigned EngineWindow::State(HELEMENT he) const {
    unsigned state = 0;
    HTMLayoutGetElementState(he, &state);
    return state;
}

LRESULT CALLBACK EngineWindow::Notify(NMHDR* notification, void* param) {
    auto& self = *static_cast<EngineWindow*>(param);
    if (notification->code == HLN_LOAD_DATA) {
        auto* nm = reinterpret_cast<HL_NM_LOAD_DATA*>(notification);
        self.loadRequests.push_back(nm->uri);
        auto it = self.answers.find(nm->uri);
        if (it != self.answers.end())
            HTMLayoutDataReady(self.hwnd_, nm->uri, reinterpret_cast<const unsigned char*>(it->second.data()),
                               static_cast<unsigned>(it->second.size()));
        return 0;
    }
    if (notification->code == HLN_ATTACH_BEHAVIOR) {
        auto* nm = reinterpret_cast<HL_NM_ATTACH_BEHAVIOR*>(notification);
        self.behaviorRequests.push_back(nm->behaviorName);
        auto it = self.behaviors.find(nm->behaviorName);
        if (it == self.behaviors.end()) return FALSE;
        nm->elementProc = it->second.first;
        nm->elementTag = it->second.second;
        nm->elementEvents = HANDLE_ALL;
        return TRUE;
    }
    return 0;
}

} // namespace engine_test
