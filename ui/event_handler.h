#pragma once
// The base through which the engine reaches a program object: one static dispatcher unpacks each event
// group's record and calls the object's virtual operation for that group.
#include "engine/include/htmlayout.h"

namespace htmlayout {

class event_handler {
public:
    // `subscription`: the event groups wanted when the object is attached to an element (HANDLE_*).
    explicit event_handler(unsigned subscription) : subscription(subscription) {}
    virtual ~event_handler() = default;
    event_handler(const event_handler&) = delete;
    event_handler& operator=(const event_handler&) = delete;

    // Initialization group.
    virtual void detached(HELEMENT) {}
    virtual void attached(HELEMENT) {}
    // The handler to attach to an element that names this object's behavior: the object itself.
    virtual event_handler* attach(HELEMENT) { return this; }

    // Group handlers: each unpacks its record and calls the matching on_* operation below.
    virtual BOOL handle_mouse(HELEMENT he, HL_MOUSE_PARAMS& params);
    virtual BOOL handle_key(HELEMENT he, HL_KEY_PARAMS& params);
    virtual BOOL handle_focus(HELEMENT he, HL_FOCUS_PARAMS& params);
    virtual BOOL handle_timer(HELEMENT he, HL_TIMER_PARAMS& params);
    virtual void handle_size(HELEMENT he);
    virtual BOOL handle_scroll(HELEMENT he, HL_SCROLL_PARAMS& params);
    virtual BOOL handle_draw(HELEMENT he, HL_DRAW_PARAMS& params);
    virtual BOOL handle_method_call(HELEMENT he, HL_METHOD_PARAMS& params);
    virtual BOOL handle_script_call(HELEMENT he, HL_SCRIPT_PARAMS& params);
    virtual BOOL handle_event(HELEMENT he, HL_BEHAVIOR_EVENT_PARAMS& params);
    virtual BOOL handle_data_arrived(HELEMENT he, HL_DATA_ARRIVED_PARAMS& params);
    virtual BOOL handle_gesture(HELEMENT he, HL_GESTURE_PARAMS& params);
    virtual BOOL handle_exchange(HELEMENT he, HL_EXCHANGE_PARAMS& params);

    // What a handler overrides; each does nothing and returns FALSE unless overridden. `event_type` is the
    // record's cmd as the engine gives it (with SINKING set on the way down).
    virtual BOOL on_mouse(HELEMENT he, HELEMENT target, unsigned event_type, POINT pt, unsigned mouseButtons,
                          unsigned keyboardStates);
    virtual BOOL on_key(HELEMENT he, HELEMENT target, unsigned event_type, unsigned code, unsigned keyboardStates);
    virtual BOOL on_focus(HELEMENT he, HELEMENT target, unsigned event_type);
    virtual BOOL on_timer(HELEMENT he, unsigned timerId);
    virtual BOOL on_timer(HELEMENT he);
    virtual BOOL on_draw(HELEMENT he, unsigned draw_type, void* surface, const RECT& area);
    virtual void on_size(HELEMENT he);
    virtual BOOL on_method_call(HELEMENT he, unsigned methodId, HL_METHOD_PARAMS& params);
    virtual BOOL on_script_call(HELEMENT he, const char* name, unsigned argc, const HL_VALUE* argv, HL_VALUE& result);
    virtual BOOL on_event(HELEMENT he, HELEMENT target, unsigned type, unsigned reason);
    virtual BOOL on_data_arrived(HELEMENT he, HELEMENT initiator, const unsigned char* data, unsigned size,
                                 unsigned dataType);
    virtual BOOL on_scroll(HELEMENT he, HELEMENT target, unsigned cmd, int position, BOOL vertical);

    // The one function the engine calls: `tag` is the event_handler*.
    static int HLCALL element_proc(void* tag, HELEMENT he, unsigned group, void* params);

    unsigned subscription;
};

} // namespace htmlayout
