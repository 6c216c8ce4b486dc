#include "engine/win32/gdiplus_session.h"

#include "engine/win32/gdiplus_include.h"

namespace engine::win32 {
namespace {

class Session {
public:
    Session() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    }
    ~Session() { Gdiplus::GdiplusShutdown(token_); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

private:
    ULONG_PTR token_ = 0;
};

} // namespace

void EnsureGdiplus() { static Session session; }

} // namespace engine::win32
