// Times what a screen reader costs the program: the accessible tree of the main page (Windows Cleaning
// sub-tab open) read whole, as a reader builds its own copy: every object's children, name, role and state,
// from the client object that WM_GETOBJECT gave (timed apart: that part is oleacc's). Against, in the same process and alternating, a plain walk of the
// same page's elements through the engine's C interface (every element selected, its text read).
// Usage: accessible_tree_benchmark [rounds]

#include "tests/support/accessible_tree.h"
#include "tests/support/message_pump.h"
#include "tests/support/timing.h"
#include "ui/element_ops.h"
#include "ui/notification_handler.h"
#include "ui/resource_data.h"

#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using testing_support::Median;
using testing_support::TimeMs;

struct Answerer : htmlayout::notification_handler<Answerer> {};

LRESULT CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    BOOL handled = FALSE;
    LRESULT result = HTMLayoutProcND(hwnd, message, wParam, lParam, &handled);
    return handled ? result : DefWindowProcW(hwnd, message, wParam, lParam);
}

// Every object under `a`, each with its name, role and state; returns how many, `a` included.
int ReadTree(IAccessible* a) {
    testing_support::ReadAccessible(a);
    std::vector<IAccessible*> held;
    const int objects = 1 + static_cast<int>(testing_support::WalkAccessible(a, held).size());
    for (IAccessible* object : held) object->Release();
    return objects;
}

int HLCALL ReadText(HELEMENT he, void* param) {
    *static_cast<std::size_t*>(param) += htmlayout::GetText(he).size();
    return FALSE;
}

std::size_t WalkElements(HWND hwnd) {
    std::size_t characters = 0;
    HTMLayoutSelectElementsW(htmlayout::RootOf(hwnd), L"*", ReadText, &characters);
    return characters;
}

} // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    WNDCLASSW wc{};
    wc.lpfnWndProc = PageProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"accessible_tree_benchmark";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Tracewipe 1.0", WS_POPUP, 100, 100, 720, 510, nullptr,
                                nullptr, wc.hInstance, nullptr);
    Answerer answerer;
    HTMLayoutSetCallback(hwnd, Answerer::callback, answerer.notification_param());
    auto page = htmlayout::LoadPage(L"MAIN_SKIN");
    if (!page) {
        std::fprintf(stderr, "the main page is missing\n");
        return 1;
    }
    HTMLayoutLoadHtml(hwnd, page->data(), static_cast<unsigned>(page->size()));
    ShowWindow(hwnd, SW_SHOW);
    testing_support::PumpMessages();
    htmlayout::scoped_element tab = htmlayout::FindById(htmlayout::RootOf(hwnd), L"windows_cleaning");
    int handled = 0;
    HTMLayoutSendEvent(tab, ACTIVATE_CHILD, tab, 0, &handled);
    testing_support::PumpMessages();

    std::vector<double> tree, walk, fetch;
    int objects = 0;
    std::size_t characters = 0;
    for (int i = 0; i < rounds; ++i) {
        IAccessible* client = nullptr;
        fetch.push_back(TimeMs([&] {
            AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                       reinterpret_cast<void**>(&client));
        }));
        if (!client) break;
        tree.push_back(TimeMs([&] { objects = ReadTree(client); }));
        client->Release();
        walk.push_back(TimeMs([&] { characters = WalkElements(hwnd); }));
    }
    double treeMs = Median(tree), walkMs = Median(walk);
    std::printf("accessible tree of the main page read whole: %d objects, median %.3f ms over %d rounds\n", objects,
                treeMs, rounds);
    std::printf("the client object through WM_GETOBJECT (oleacc's marshalling): median %.3f ms\n", Median(fetch));
    std::printf("plain element walk (baseline): %zu characters, median %.3f ms\n", characters, walkMs);
    std::printf("ratio tree / walk: %.2f\n", walkMs > 0 ? treeMs / walkMs : 0.0);
    DestroyWindow(hwnd);
    CoUninitialize();
    return objects > 0 ? 0 : 1;
}
