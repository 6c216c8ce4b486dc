#pragma once
/* The engine's element, event and value interface. Plain C types only, so that the platform-free parts of
 * the engine share these records with the window layer (htmlayout.h adds the functions that take a window). */

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define HLCALL __stdcall
#else
#define HLCALL
#endif

/* An element handle. Handles stay checkable after release: a stale handle is refused, never followed. */
typedef struct HtmlElementOpaque* HELEMENT;

/* Results of the element functions. */
enum {
    HL_OK = 0,
    HL_INVALID_WINDOW = 1,
    HL_INVALID_HANDLE = 2,
    HL_INVALID_PARAMETER = 3,
    HL_FAILED = 4,
    HL_NOT_HANDLED = 5
};

/* Element states. Hover, active and focus are the document's; the others are bits of the element. */
enum {
    STATE_LINK = 0x01,
    STATE_HOVER = 0x02,
    STATE_ACTIVE = 0x04,
    STATE_FOCUS = 0x08,
    STATE_VISITED = 0x10,
    STATE_CURRENT = 0x20,
    STATE_CHECKED = 0x40,
    STATE_DISABLED = 0x80,
    STATE_READONLY = 0x100,
    STATE_EXPANDED = 0x200,
    STATE_COLLAPSED = 0x400
};

/* Event groups: an event handler's subscription is a mask of these. Initialization always arrives. */
enum {
    HANDLE_INITIALIZATION = 0,
    HANDLE_MOUSE = 1,
    HANDLE_KEY = 2,
    HANDLE_FOCUS = 4,
    HANDLE_SCROLL = 8,
    HANDLE_TIMER = 16,
    HANDLE_SIZE = 32,
    HANDLE_DRAW = 64,
    HANDLE_DATA_ARRIVED = 128,
    HANDLE_BEHAVIOR_EVENT = 256,
    HANDLE_METHOD_CALL = 512,
    HANDLE_EXCHANGE = 4096,
    HANDLE_GESTURE = 8192,
    HANDLE_ALL = 0xFFFF
};

/* Set in an event's cmd while it travels from the root down to its target; handlers that compare cmd with
 * an event code therefore see each event once, on its way back up. */
enum { SINKING = 0x8000 };

/* The handler of a group returns nonzero when it handled the event, which stops it. */
typedef int(HLCALL* ElementEventProc)(void* tag, HELEMENT he, unsigned group, void* params);

/* HANDLE_INITIALIZATION */
enum { BEHAVIOR_DETACH = 0, BEHAVIOR_ATTACH = 1 };
typedef struct {
    unsigned cmd;
} HL_INITIALIZATION_PARAMS;

/* HANDLE_MOUSE */
enum { MOUSE_ENTER = 0, MOUSE_LEAVE = 1, MOUSE_MOVE = 2, MOUSE_UP = 3, MOUSE_DOWN = 4, MOUSE_DCLICK = 5, MOUSE_WHEEL = 6 };
enum { MAIN_MOUSE_BUTTON = 1, PROP_MOUSE_BUTTON = 2, MIDDLE_MOUSE_BUTTON = 4 };
enum { CONTROL_KEY_PRESSED = 1, SHIFT_KEY_PRESSED = 2, ALT_KEY_PRESSED = 4 };
typedef struct {
    unsigned cmd;
    HELEMENT target;
    int x, y;                 /* relative to the element whose handler runs */
    int documentX, documentY; /* relative to the root */
    unsigned buttons;
    unsigned keys;
    int wheelDelta;
} HL_MOUSE_PARAMS;

/* HANDLE_KEY */
enum { KEY_DOWN = 0, KEY_UP = 1, KEY_CHAR = 2 };
typedef struct {
    unsigned cmd;
    HELEMENT target;
    unsigned keyCode;
    unsigned keys;
} HL_KEY_PARAMS;

/* HANDLE_FOCUS */
enum { FOCUS_LOST = 0, FOCUS_GOT = 1 };
typedef struct {
    unsigned cmd;
    HELEMENT target;
    int byMouseClick;
} HL_FOCUS_PARAMS;

/* HANDLE_SCROLL: cmd says what moved the box; position is its new offset in pixels. */
enum {
    SCROLL_HOME = 0,
    SCROLL_END = 1,
    SCROLL_STEP_PLUS = 2,
    SCROLL_STEP_MINUS = 3,
    SCROLL_PAGE_PLUS = 4,
    SCROLL_PAGE_MINUS = 5,
    SCROLL_POS = 6
};
typedef struct {
    unsigned cmd;
    HELEMENT target;
    int position;
    int vertical;
} HL_SCROLL_PARAMS;

/* HANDLE_TIMER: id 0 is the element's plain timer. */
typedef struct {
    unsigned timerId;
} HL_TIMER_PARAMS;

/* HANDLE_SIZE: reaches the element's own handlers after a layout changed its border box. */
typedef struct {
    int width, height;
} HL_SIZE_PARAMS;

/* HANDLE_DRAW */
enum { DRAW_BACKGROUND = 0, DRAW_CONTENT = 1, DRAW_FOREGROUND = 2 };
typedef struct {
    unsigned cmd;
    void* surface; /* the window layer's drawing context */
    int left, top, right, bottom;
} HL_DRAW_PARAMS;

/* What a load-data request asks for. */
enum { HLRT_DATA_HTML = 0, HLRT_DATA_IMAGE = 1, HLRT_DATA_STYLE = 2 };

/* HANDLE_DATA_ARRIVED */
typedef struct {
    HELEMENT initiator;
    const unsigned char* data;
    unsigned size;
    unsigned dataType;
    const wchar_t* uri;
} HL_DATA_ARRIVED_PARAMS;

/* HANDLE_BEHAVIOR_EVENT: the event codes. */
enum {
    BUTTON_CLICK = 0,
    BUTTON_PRESS = 1,
    BUTTON_STATE_CHANGED = 2,
    MENU_ITEM_CLICK = 0xB,
    HYPERLINK_CLICK = 0x80,
    ELEMENT_COLLAPSED = 0x90,
    ELEMENT_EXPANDED = 0x91,
    ACTIVATE_CHILD = 0x92,
    FIRST_APPLICATION_EVENT = 0x100
};
/* reason of the click events */
enum { BY_MOUSE_CLICK = 0, BY_KEY_CLICK = 1, SYNTHESIZED = 2 };
typedef struct {
    unsigned cmd;
    HELEMENT target; /* the element the event is about (the source given to send or post) */
    HELEMENT he;     /* the element the event was sent to: the end of its path */
    unsigned reason;
} HL_BEHAVIOR_EVENT_PARAMS;

/* Values: controls and script calls exchange them. */
enum { T_UNDEFINED = 0, T_NULL = 1, T_BOOL = 2, T_INT = 3, T_FLOAT = 4, T_STRING = 5 };
enum { HV_OK = 0, HV_BAD_PARAMETER = 1, HV_INCOMPATIBLE_TYPE = 2 };
typedef struct {
    unsigned type;
    unsigned units;
    unsigned long long data; /* integer, double bits, or the engine's string block */
} HL_VALUE;

unsigned HLCALL ValueInit(HL_VALUE* value);
unsigned HLCALL ValueClear(HL_VALUE* value);
unsigned HLCALL ValueCopy(HL_VALUE* destination, const HL_VALUE* source);
unsigned HLCALL ValueIntData(const HL_VALUE* value, int* data);
unsigned HLCALL ValueIntDataSet(HL_VALUE* value, int data, unsigned type, unsigned units);
unsigned HLCALL ValueFloatData(const HL_VALUE* value, double* data);
unsigned HLCALL ValueFloatDataSet(HL_VALUE* value, double data, unsigned type, unsigned units);
/* The characters stay valid until the value changes or is cleared. */
unsigned HLCALL ValueStringData(const HL_VALUE* value, const wchar_t** chars, unsigned* length);
unsigned HLCALL ValueStringDataSet(HL_VALUE* value, const wchar_t* chars, unsigned length, unsigned units);
/* Converts the value in place to its text form (how: 0, the only form). */
unsigned HLCALL ValueToString(HL_VALUE* value, unsigned how);

/* HANDLE_METHOD_CALL: every call carries a method id; 255 is a call by name with arguments. */
enum { METHOD_SCRIPT_CALL = 255 };
typedef struct {
    unsigned methodId;
} HL_METHOD_PARAMS;
typedef struct {
    unsigned methodId; /* METHOD_SCRIPT_CALL */
    const char* name;
    const HL_VALUE* argv;
    unsigned argc;
    HL_VALUE result;
} HL_SCRIPT_PARAMS;

/* HANDLE_EXCHANGE and HANDLE_GESTURE are delivered to handlers that subscribe; the engine raises neither yet. */
typedef struct {
    unsigned cmd;
    HELEMENT target;
    int x, y;
} HL_EXCHANGE_PARAMS;
typedef struct {
    unsigned cmd;
    HELEMENT target;
    int x, y;
} HL_GESTURE_PARAMS;

/* Control types as HTMLayoutControlGetType reports them. */
enum {
    CTL_NO = 0,
    CTL_UNKNOWN = 1,
    CTL_EDIT = 2,
    CTL_NUMERIC = 3,
    CTL_BUTTON = 4,
    CTL_CHECKBOX = 5,
    CTL_RADIO = 6,
    CTL_SELECT = 7,
    CTL_TEXTAREA = 8,
    CTL_PASSWORD = 9,
    CTL_PROGRESS = 10,
    CTL_RICHTEXT = 11,
    CTL_HYPERLINK = 12
};

/* Element callbacks: a nonzero result stops the enumeration. */
typedef int(HLCALL* HtmlElementCallback)(HELEMENT he, void* param);
/* Receives text the engine writes out (inner text as UTF-16, HTML as UTF-8 bytes). */
typedef void(HLCALL* HtmlWriteText16)(const wchar_t* text, unsigned length, void* param);
typedef void(HLCALL* HtmlWriteBytes)(const unsigned char* bytes, unsigned length, void* param);

int HLCALL HTMLayout_UseElement(HELEMENT he);
int HLCALL HTMLayout_UnuseElement(HELEMENT he);

int HLCALL HTMLayoutGetParentElement(HELEMENT he, HELEMENT* parent);
int HLCALL HTMLayoutGetChildrenCount(HELEMENT he, unsigned* count);
int HLCALL HTMLayoutGetNthChild(HELEMENT he, unsigned n, HELEMENT* child);
int HLCALL HTMLayoutGetElementIndex(HELEMENT he, unsigned* index);
int HLCALL HTMLayoutGetNextSibling(HELEMENT he, HELEMENT* sibling);
int HLCALL HTMLayoutGetPreviousSibling(HELEMENT he, HELEMENT* sibling);
/* The tag name in lower case; valid while the element lives. */
int HLCALL HTMLayoutGetElementType(HELEMENT he, const char** tag);
int HLCALL HTMLayoutCreateElement(const char* tag, const wchar_t* text, HELEMENT* created);
int HLCALL HTMLayoutInsertElement(HELEMENT he, HELEMENT parent, unsigned index);
int HLCALL HTMLayoutDeleteElement(HELEMENT he);

int HLCALL HTMLayoutGetAttributeCount(HELEMENT he, unsigned* count);
/* The value stays valid until the attribute changes or the element is released; missing gives NULL. */
int HLCALL HTMLayoutGetAttributeByName(HELEMENT he, const char* name, const wchar_t** value);
/* A NULL value removes the attribute. */
int HLCALL HTMLayoutSetAttributeByName(HELEMENT he, const char* name, const wchar_t* value);

int HLCALL HTMLayoutGetElementState(HELEMENT he, unsigned* state);
/* update: nonzero refreshes styles (and asks for a repaint) at once. */
int HLCALL HTMLayoutSetElementState(HELEMENT he, unsigned bitsToSet, unsigned bitsToClear, int update);

/* The computed value, or the runtime one where set; valid until the next style change of the element. */
int HLCALL HTMLayoutGetStyleAttribute(HELEMENT he, const char* name, const wchar_t** value);
/* Overrides the cascade for the element; a NULL value removes the override. */
int HLCALL HTMLayoutSetStyleAttribute(HELEMENT he, const char* name, const wchar_t* value);

int HLCALL HTMLayoutGetElementInnerText16(HELEMENT he, HtmlWriteText16 writer, void* param);
int HLCALL HTMLayoutSetElementInnerText16(HELEMENT he, const wchar_t* text, unsigned length);
int HLCALL HTMLayoutGetElementHtml(HELEMENT he, int outer, HtmlWriteBytes writer, void* param);
/* Replaces the element's content with the UTF-8 HTML. */
int HLCALL HTMLayoutSetElementHtml(HELEMENT he, const unsigned char* html, unsigned length);

/* Every element under root (root itself excluded) matching the CSS selector (UTF-8), in document order. */
int HLCALL HTMLayoutSelectElements(HELEMENT root, const char* selector, HtmlElementCallback callback, void* param);
int HLCALL HTMLayoutSelectElementsW(HELEMENT root, const wchar_t* selector, HtmlElementCallback callback,
                                    void* param);
/* Every element under root with the tag (NULL: any) whose attribute equals the value (NULL: has it);
 * depth 0 means any depth. */
int HLCALL HTMLayoutVisitElements(HELEMENT root, const char* tag, const char* attribute, const wchar_t* value,
                                  HtmlElementCallback callback, void* param, unsigned depth);
int HLCALL HTMLayoutSelectParent(HELEMENT he, const char* selector, unsigned depth, HELEMENT* found);
int HLCALL HTMLayoutElementMatches(HELEMENT he, const char* selector, int* matches);

int HLCALL HTMLayoutAttachEventHandler(HELEMENT he, ElementEventProc proc, void* tag);
int HLCALL HTMLayoutAttachEventHandlerEx(HELEMENT he, ElementEventProc proc, void* tag, unsigned subscription);
int HLCALL HTMLayoutDetachEventHandler(HELEMENT he, ElementEventProc proc, void* tag);

/* Sends a behavior event to he at once (sinking then bubbling); handled tells whether a handler took it. */
int HLCALL HTMLayoutSendEvent(HELEMENT he, unsigned code, HELEMENT source, unsigned reason, int* handled);
/* Queues the event; it is delivered after the dispatch under way, in the order posted. */
int HLCALL HTMLayoutPostEvent(HELEMENT he, unsigned code, HELEMENT source, unsigned reason);
/* Calls the handlers of he alone with a method call record (HL_METHOD_PARAMS or HL_SCRIPT_PARAMS). */
int HLCALL HTMLayoutCallBehaviorMethod(HELEMENT he, HL_METHOD_PARAMS* params);

int HLCALL HTMLayoutControlGetType(HELEMENT he, unsigned* type);
int HLCALL HTMLayoutControlGetValue(HELEMENT he, HL_VALUE* value);
int HLCALL HTMLayoutControlSetValue(HELEMENT he, const HL_VALUE* value);

#ifdef __cplusplus
}
#endif
