#include "cleaners/browsers/url_history_store.h"

#include <objbase.h>
#include <urlhist.h>

namespace {

constexpr CLSID kClsidUrlHistory{
    0x3c374a40, 0xbae4, 0x11cf, {0xbf, 0x7d, 0x00, 0xaa, 0x00, 0x69, 0x46, 0xee}};

class ComApartment {
  public:
    ComApartment() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComApartment() {
        if (initialised_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool initialised_;
};

} // namespace

HRESULT ClearUrlHistoryStore() {
    ComApartment apartment;
    IUrlHistoryStg2* store = nullptr;
    const HRESULT created =
        CoCreateInstance(kClsidUrlHistory, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                         __uuidof(IUrlHistoryStg2), reinterpret_cast<void**>(&store));
    if (FAILED(created)) return created;
    const HRESULT cleared = store->ClearHistory();
    store->Release();
    return cleared;
}
