// One dispatcher for every handler object: the engine calls element_proc with the object as tag, and each
// event group goes to the object's operation for it.
#include "ui/event_handler.h"

namespace htmlayout {

int HLCALL event_handler::element_proc(void* tag, HELEMENT he, unsigned group, void* params) {
    auto* self = static_cast<event_handler*>(tag);
    if (!self || !params) return FALSE;
    switch (group) {
    case HANDLE_INITIALIZATION:
        if (static_cast<HL_INITIALIZATION_PARAMS*>(params)->cmd == BEHAVIOR_DETACH)
            self->detached(he);
        else if (static_cast<HL_INITIALIZATION_PARAMS*>(params)->cmd == BEHAVIOR_ATTACH)
            self->attached(he);
        return TRUE;
    case HANDLE_MOUSE: return self->handle_mouse(he, *static_cast<HL_MOUSE_PARAMS*>(params));
    case HANDLE_KEY: return self->handle_key(he, *static_cast<HL_KEY_PARAMS*>(params));
    case HANDLE_FOCUS: return self->handle_focus(he, *static_cast<HL_FOCUS_PARAMS*>(params));
    case HANDLE_SCROLL: return self->handle_scroll(he, *static_cast<HL_SCROLL_PARAMS*>(params));
    case HANDLE_TIMER: return self->handle_timer(he, *static_cast<HL_TIMER_PARAMS*>(params));
    case HANDLE_SIZE: self->handle_size(he); return FALSE;
    case HANDLE_DRAW: return self->handle_draw(he, *static_cast<HL_DRAW_PARAMS*>(params));
    case HANDLE_DATA_ARRIVED: return self->handle_data_arrived(he, *static_cast<HL_DATA_ARRIVED_PARAMS*>(params));
    case HANDLE_BEHAVIOR_EVENT: return self->handle_event(he, *static_cast<HL_BEHAVIOR_EVENT_PARAMS*>(params));
    case HANDLE_METHOD_CALL: {
        auto* method = static_cast<HL_METHOD_PARAMS*>(params);
        if (method->methodId == METHOD_SCRIPT_CALL)
            return self->handle_script_call(he, *static_cast<HL_SCRIPT_PARAMS*>(params));
        return self->handle_method_call(he, *method);
    }
    case HANDLE_EXCHANGE: return self->handle_exchange(he, *static_cast<HL_EXCHANGE_PARAMS*>(params));
    case HANDLE_GESTURE: return self->handle_gesture(he, *static_cast<HL_GESTURE_PARAMS*>(params));
    default: return FALSE;
    }
}

BOOL event_handler::handle_mouse(HELEMENT he, HL_MOUSE_PARAMS& p) {
    return on_mouse(he, p.target, p.cmd, POINT{p.x, p.y}, p.buttons, p.keys);
}
BOOL event_handler::handle_key(HELEMENT he, HL_KEY_PARAMS& p) { return on_key(he, p.target, p.cmd, p.keyCode, p.keys); }
BOOL event_handler::handle_focus(HELEMENT he, HL_FOCUS_PARAMS& p) { return on_focus(he, p.target, p.cmd); }
BOOL event_handler::handle_timer(HELEMENT he, HL_TIMER_PARAMS& p) {
    return p.timerId ? on_timer(he, p.timerId) : on_timer(he);
}
void event_handler::handle_size(HELEMENT he) { on_size(he); }
BOOL event_handler::handle_scroll(HELEMENT he, HL_SCROLL_PARAMS& p) {
    return on_scroll(he, p.target, p.cmd, p.position, p.vertical);
}
BOOL event_handler::handle_draw(HELEMENT he, HL_DRAW_PARAMS& p) {
    return on_draw(he, p.cmd, p.surface, RECT{p.left, p.top, p.right, p.bottom});
}
BOOL event_handler::handle_method_call(HELEMENT he, HL_METHOD_PARAMS& p) { return on_method_call(he, p.methodId, p); }
BOOL event_handler::handle_script_call(HELEMENT he, HL_SCRIPT_PARAMS& p) {
    return on_script_call(he, p.name, p.argc, p.argv, p.result);
}
BOOL event_handler::handle_event(HELEMENT he, HL_BEHAVIOR_EVENT_PARAMS& p) {
    return on_event(he, p.target, p.cmd, p.reason);
}
BOOL event_handler::handle_data_arrived(HELEMENT he, HL_DATA_ARRIVED_PARAMS& p) {
    return on_data_arrived(he, p.initiator, p.data, p.size, p.dataType);
}
BOOL event_handler::handle_gesture(HELEMENT, HL_GESTURE_PARAMS&) { return FALSE; }
BOOL event_handler::handle_exchange(HELEMENT, HL_EXCHANGE_PARAMS&) { return FALSE; }

BOOL event_handler::on_mouse(HELEMENT, HELEMENT, unsigned, POINT, unsigned, unsigned) { return FALSE; }
BOOL event_handler::on_key(HELEMENT, HELEMENT, unsigned, unsigned, unsigned) { return FALSE; }
BOOL event_handler::on_focus(HELEMENT, HELEMENT, unsigned) { return FALSE; }
BOOL event_handler::on_timer(HELEMENT, unsigned) { return FALSE; }
BOOL event_handler::on_timer(HELEMENT) { return FALSE; }
BOOL event_handler::on_draw(HELEMENT, unsigned, void*, const RECT&) { return FALSE; }
void event_handler::on_size(HELEMENT) {}
BOOL event_handler::on_method_call(HELEMENT, unsigned, HL_METHOD_PARAMS&) { return FALSE; }
BOOL event_handler::on_script_call(HELEMENT, const char*, unsigned, const HL_VALUE*, HL_VALUE&) { return FALSE; }
BOOL event_handler::on_event(HELEMENT, HELEMENT, unsigned, unsigned) { return FALSE; }
BOOL event_handler::on_data_arrived(HELEMENT, HELEMENT, const unsigned char*, unsigned, unsigned) { return FALSE; }
BOOL event_handler::on_scroll(HELEMENT, HELEMENT, unsigned, int, BOOL) { return FALSE; }

} // namespace htmlayout
