#pragma once
/* The engine's window interface: a page per window, its notifications, and its window-level handlers. */

#include <windows.h>

#include "engine/include/htmlayout_dom.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Notification codes sent to the window's callback; each record starts with an NMHDR whose code is one of
 * these. The range is reserved for the engine; unknown codes are to be answered with 0. */
enum {
    HLN_FIRST = 0xB00,
    HLN_LOAD_DATA = 0xB01,        /* HL_NM_LOAD_DATA: answer with HTMLayoutDataReady */
    HLN_DATA_LOADED = 0xB02,      /* HL_NM_LOAD_DATA: the data of a request arrived */
    HLN_DOCUMENT_COMPLETE = 0xB03, /* NMHDR: the page is loaded and styled */
    HLN_ATTACH_BEHAVIOR = 0xB07,  /* HL_NM_ATTACH_BEHAVIOR: fill in the handler, return TRUE */
    HLN_LAST = 0xB0F
};

typedef struct {
    NMHDR hdr;
    const wchar_t* uri; /* as the page names it, resolved against the base URL when one was given */
    unsigned dataType;
    HELEMENT initiator; /* the element that needs the data, or NULL for the page itself */
} HL_NM_LOAD_DATA;

typedef struct {
    NMHDR hdr;
    HELEMENT element;
    const char* behaviorName;
    ElementEventProc elementProc; /* out */
    void* elementTag;             /* out */
    unsigned elementEvents;       /* out: subscription */
} HL_NM_ATTACH_BEHAVIOR;

typedef LRESULT(CALLBACK* HtmlNotifyCallback)(NMHDR* notification, void* param);

LRESULT HLCALL HTMLayoutProcND(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL* handled);
int HLCALL HTMLayoutSetCallback(HWND hwnd, HtmlNotifyCallback callback, void* param);
int HLCALL HTMLayoutWindowAttachEventHandler(HWND hwnd, ElementEventProc proc, void* tag, unsigned subscription);
int HLCALL HTMLayoutWindowDetachEventHandler(HWND hwnd, ElementEventProc proc, void* tag);

/* Pages are UTF-8 (or UTF-16 with its byte-order mark). */
BOOL HLCALL HTMLayoutLoadHtml(HWND hwnd, const unsigned char* html, unsigned size);
BOOL HLCALL HTMLayoutLoadHtmlEx(HWND hwnd, const unsigned char* html, unsigned size, const wchar_t* baseUrl);
/* The page is asked of the callback first (HLN_LOAD_DATA), then read from the file. */
BOOL HLCALL HTMLayoutLoadFile(HWND hwnd, const wchar_t* path);
/* Answers a load-data request; the engine copies the bytes. */
BOOL HLCALL HTMLayoutDataReady(HWND hwnd, const wchar_t* uri, const unsigned char* data, unsigned size);

int HLCALL HTMLayoutGetRootElement(HWND hwnd, HELEMENT* root);
/* Forgets the window's page, handlers and callback (the window layer calls it on WM_NCDESTROY). */
int HLCALL HTMLayoutReleaseWindow(HWND hwnd);

/* Delivers posted events that wait for the window (the window layer calls it from its message loop). */
int HLCALL HTMLayoutDeliverPostedEvents(HWND hwnd);

/* The DPI the window's page is laid out for: lengths are CSS pixels times DPI / 96. The screen's for NULL. */
UINT HLCALL HTMLayoutGetWindowDpi(HWND hwnd);

UINT HLCALL HTMLayoutGetMinWidth(HWND hwnd);
UINT HLCALL HTMLayoutGetMinHeight(HWND hwnd, UINT width);
enum { ROOT_RELATIVE = 0x01, CONTENT_BOX = 0x00, BORDER_BOX = 0x20 };
int HLCALL HTMLayoutGetElementLocation(HELEMENT he, RECT* location, unsigned areas);

#ifdef __cplusplus
}
#endif
