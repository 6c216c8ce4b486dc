// The window functions of the C interface: one page per window, and the host that turns the engine's
// requests into notifications to the program's callback.

#include "engine/api/api_lock.h"
#include "engine/api/api_support.h"
#include "engine/dom/handle_table.h"
#include "engine/include/htmlayout.h"
#include "engine/view/view.h"
#include "engine/win32/accessible_element.h"
#include "engine/win32/drawing_warm_up.h"
#include "engine/win32/window_dpi.h"
#include "engine/win32/window_layer.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>

using namespace engine;

namespace {

class WindowPage final : public Host {
public:
    explicit WindowPage(HWND hwnd) : hwnd_(hwnd), view_(*this) {
        view_.SetScale(float(win32::WindowDpi(hwnd)) / USER_DEFAULT_SCREEN_DPI);
        win32::WarmUpDrawing();
    }

    View& GetView() { return view_; }
    void SetCallback(HtmlNotifyCallback callback, void* param) {
        callback_ = callback;
        param_ = param;
    }

    void RequestData(View&, const std::u16string& url, unsigned dataType, Element* initiator) override {
        HL_NM_LOAD_DATA nm{Header(HLN_LOAD_DATA), Wide(url), dataType, initiator ? initiator->Handle() : nullptr};
        Notify(nm.hdr);
    }

    bool FindBehavior(View&, Element& element, const std::string& name, HandlerEntry& handler) override {
        HL_NM_ATTACH_BEHAVIOR nm{Header(HLN_ATTACH_BEHAVIOR), element.Handle(), name.c_str(), nullptr, nullptr, 0};
        if (!Notify(nm.hdr) || !nm.elementProc) return false;
        handler = {nm.elementProc, nm.elementTag, nm.elementEvents};
        return true;
    }

    void DataArrived(View&, const std::u16string& url, unsigned dataType) override {
        HL_NM_LOAD_DATA nm{Header(HLN_DATA_LOADED), Wide(url), dataType, nullptr};
        Notify(nm.hdr);
        Invalidation sizes; // an image's size is known now
        sizes.relayout = true;
        win32::PageChanged(hwnd_, sizes);
    }

    void DocumentComplete(View&) override {
        NMHDR hdr = Header(HLN_DOCUMENT_COMPLETE);
        Notify(hdr);
    }

    // The window layer delivers on this message; see HTMLayoutDeliverPostedEvents.
    void PostedEventsWaiting(View&) override {
        if (IsWindow(hwnd_)) PostMessageW(hwnd_, win32::DeliverPostedEventsMessage(), 0, 0);
    }

    void Invalidated(View&, const Invalidation& what) override { win32::PageChanged(hwnd_, what); }

    void ElementOrigin(View&, Element& element, int& x, int& y) override {
        if (!win32::ElementOrigin(hwnd_, element, x, y)) x = y = 0;
    }

    void Announce(View&, Element& element, Announcement what) override {
        win32::AnnounceChange(hwnd_, element, what);
    }

private:
    NMHDR Header(UINT code) const { return NMHDR{hwnd_, 0, code}; }
    LRESULT Notify(NMHDR& hdr) { return callback_ ? callback_(&hdr, param_) : 0; }

    HWND hwnd_;
    HtmlNotifyCallback callback_ = nullptr;
    void* param_ = nullptr;
    View view_;
};

std::map<HWND, std::unique_ptr<WindowPage>>& Pages() {
    static std::map<HWND, std::unique_ptr<WindowPage>> pages;
    return pages;
}

WindowPage* PageOf(HWND hwnd, bool create) {
    auto& pages = Pages();
    auto it = pages.find(hwnd);
    if (it != pages.end()) return it->second.get();
    if (!create || !hwnd) return nullptr;
    return pages.emplace(hwnd, std::make_unique<WindowPage>(hwnd)).first->second.get();
}

BOOL Load(HWND hwnd, const unsigned char* html, unsigned size, const wchar_t* baseUrl) {
    WindowPage* page = PageOf(hwnd, true);
    if (!page || (!html && size)) return FALSE;
    page->GetView().LoadHtml(std::string_view(reinterpret_cast<const char*>(html), html ? size : 0), Text16(baseUrl));
    return TRUE;
}

} // namespace

View* win32::WindowView(HWND hwnd) {
    WindowPage* page = PageOf(hwnd, false);
    return page ? &page->GetView() : nullptr;
}

extern "C" {

int HLCALL HTMLayoutSetCallback(HWND hwnd, HtmlNotifyCallback callback, void* param) {
    ApiLock lock(ApiMutex());
    WindowPage* page = PageOf(hwnd, true);
    if (!page) return HL_INVALID_WINDOW;
    page->SetCallback(callback, param);
    return HL_OK;
}

int HLCALL HTMLayoutWindowAttachEventHandler(HWND hwnd, ElementEventProc proc, void* tag, unsigned subscription) {
    ApiLock lock(ApiMutex());
    WindowPage* page = PageOf(hwnd, true);
    if (!page) return HL_INVALID_WINDOW;
    if (!proc) return HL_INVALID_PARAMETER;
    auto& list = page->GetView().WindowHandlers();
    if (std::none_of(list.begin(), list.end(), [&](const HandlerEntry& h) { return h.SameAs(proc, tag); }))
        list.push_back({proc, tag, subscription});
    return HL_OK;
}

int HLCALL HTMLayoutWindowDetachEventHandler(HWND hwnd, ElementEventProc proc, void* tag) {
    ApiLock lock(ApiMutex());
    WindowPage* page = PageOf(hwnd, false);
    if (!page) return HL_INVALID_WINDOW;
    auto& list = page->GetView().WindowHandlers();
    auto it = std::find_if(list.begin(), list.end(), [&](const HandlerEntry& h) { return h.SameAs(proc, tag); });
    if (it == list.end()) return HL_INVALID_PARAMETER;
    list.erase(it);
    return HL_OK;
}

BOOL HLCALL HTMLayoutLoadHtml(HWND hwnd, const unsigned char* html, unsigned size) {
    ApiLock lock(ApiMutex());
    return Load(hwnd, html, size, nullptr);
}

BOOL HLCALL HTMLayoutLoadHtmlEx(HWND hwnd, const unsigned char* html, unsigned size, const wchar_t* baseUrl) {
    ApiLock lock(ApiMutex());
    return Load(hwnd, html, size, baseUrl);
}

BOOL HLCALL HTMLayoutLoadFile(HWND hwnd, const wchar_t* path) {
    ApiLock lock(ApiMutex());
    WindowPage* page = PageOf(hwnd, true);
    if (!page || !path || !*path) return FALSE;
    if (page->GetView().LoadUrl(Text16(path))) return TRUE;
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    if (!file) return FALSE;
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    page->GetView().LoadHtml(bytes, Text16(path));
    return TRUE;
}

BOOL HLCALL HTMLayoutDataReady(HWND hwnd, const wchar_t* uri, const unsigned char* data, unsigned size) {
    ApiLock lock(ApiMutex());
    WindowPage* page = PageOf(hwnd, false);
    if (!page || !uri || (!data && size)) return FALSE;
    page->GetView().DataReady(Text16(uri), std::string_view(reinterpret_cast<const char*>(data), data ? size : 0));
    return TRUE;
}

int HLCALL HTMLayoutGetRootElement(HWND hwnd, HELEMENT* root) {
    ApiLock lock(ApiMutex());
    if (!root) return HL_INVALID_PARAMETER;
    *root = nullptr;
    WindowPage* page = PageOf(hwnd, false);
    if (!page) return HL_INVALID_WINDOW;
    if (Document* doc = page->GetView().GetDocument()) *root = doc->Root().Handle();
    return HL_OK;
}

int HLCALL HTMLayoutReleaseWindow(HWND hwnd) {
    ApiLock lock(ApiMutex());
    auto& pages = Pages();
    auto it = pages.find(hwnd);
    if (it == pages.end()) return HL_INVALID_WINDOW;
    win32::ForgetWindow(hwnd);
    // Out of the table first: handlers told of the detach may call back with this window.
    std::unique_ptr<WindowPage> page = std::move(it->second);
    pages.erase(it);
    page.reset();
    return HL_OK;
}

int HLCALL HTMLayoutDeliverPostedEvents(HWND hwnd) {
    ApiLock lock(ApiMutex());
    WindowPage* page = PageOf(hwnd, false);
    if (!page) return HL_INVALID_WINDOW;
    page->GetView().DeliverPostedEvents();
    page = PageOf(hwnd, false);
    if (page) page->GetView().UpdateStyle();
    return HL_OK;
}

} // extern "C"
