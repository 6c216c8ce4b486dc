// A borderless page window: the hit test that makes it movable and resizable, and the frame messages.
#include "page_window.h"

#include <gtest/gtest.h>

namespace {

// The page's body has a 20 px margin round a 200 x 100 content box, in a 300 x 200 window at 100, 100:
// the body's content box spans 120..320 by 120..220 on screen, its caption the first 20 px of it, with a
// 20 px button at its right end.
struct HostWindow : ::testing::Test {
    ui_test::PageWindow window{9002, RECT{100, 100, 400, 300}};
    LRESULT HitAt(int x, int y) { return SendMessageW(window.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(x, y)); }
};

TEST_F(HostWindow, TheHitTestMovesByTheCaptionAndResizesRoundTheBody) {
    EXPECT_EQ(HitAt(200, 130), HTCAPTION);
    EXPECT_EQ(HitAt(125, 130), HTCAPTION) << "the caption's text moves the window too";
    EXPECT_EQ(HitAt(310, 130), HTCLIENT) << "the caption's button stays a button";
    EXPECT_EQ(HitAt(200, 180), HTCLIENT);
    EXPECT_EQ(HitAt(120, 220 - 1), HTCLIENT) << "the content box's last row and first column are inside";

    // 5 px outside the right edge: by the bottom corner's band, and level with the middle.
    EXPECT_EQ(HitAt(325, 215), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAt(325, 170), HTRIGHT);
    EXPECT_EQ(HitAt(115, 215), HTBOTTOMLEFT);
    EXPECT_EQ(HitAt(115, 170), HTLEFT);
    EXPECT_EQ(HitAt(115, 115), HTTOPLEFT);
    EXPECT_EQ(HitAt(325, 115), HTTOPRIGHT);
    EXPECT_EQ(HitAt(200, 105), HTTOP);
    EXPECT_EQ(HitAt(200, 235), HTBOTTOM);
    // The bands reach 10 px into the body's edge rows: just inside the top band, just left of the body.
    EXPECT_EQ(HitAt(115, 129), HTTOPLEFT);
    EXPECT_EQ(HitAt(115, 130), HTLEFT);
    // The window's own corners, far from the body.
    EXPECT_EQ(HitAt(101, 101), HTTOPLEFT);
    EXPECT_EQ(HitAt(398, 298), HTBOTTOMRIGHT);
}

TEST_F(HostWindow, TheFrameIsNeitherSizedNorDrawnAndTheWindowTracksNoSmallerThanItsPage) {
    HWND hwnd = window.hwnd();
    NCCALCSIZE_PARAMS sizes{};
    sizes.rgrc[0] = RECT{100, 100, 400, 300};
    EXPECT_EQ(SendMessageW(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&sizes)), 0);
    EXPECT_EQ(SendMessageW(hwnd, WM_NCPAINT, 1, 0), 0);
    EXPECT_EQ(SendMessageW(hwnd, WM_NCACTIVATE, FALSE, 0), TRUE);
    EXPECT_EQ(SendMessageW(hwnd, WM_NCACTIVATE, TRUE, 0), FALSE);

    MINMAXINFO info{};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 240) << "the body and its margins";
    EXPECT_EQ(info.ptMinTrackSize.y, 140);

    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
}

} // namespace
