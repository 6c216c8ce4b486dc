// Event, behavior and control functions of the C interface.

#include "engine/api/api_lock.h"
#include "engine/api/api_support.h"
#include "engine/dom/handle_table.h"
#include "engine/events/builtin_behaviors.h"
#include "engine/events/control_value.h"
#include "engine/events/dispatcher.h"
#include "engine/view/view.h"

#include <algorithm>

using namespace engine;

extern "C" {

int HLCALL HTMLayoutAttachEventHandlerEx(HELEMENT he, ElementEventProc proc, void* tag, unsigned subscription) {
    return WithElement(he, [&](Element& e) {
        if (!proc) return HL_INVALID_PARAMETER;
        auto& list = e.Handlers();
        if (std::any_of(list.begin(), list.end(), [&](const HandlerEntry& h) { return h.SameAs(proc, tag); }))
            return HL_OK;
        AttachHandler(e, {proc, tag, subscription});
        Refresh(e);
        return HL_OK;
    });
}

int HLCALL HTMLayoutAttachEventHandler(HELEMENT he, ElementEventProc proc, void* tag) {
    return HTMLayoutAttachEventHandlerEx(he, proc, tag, HANDLE_ALL);
}

int HLCALL HTMLayoutDetachEventHandler(HELEMENT he, ElementEventProc proc, void* tag) {
    return WithElement(he, [&](Element& e) {
        return DetachHandler(e, proc, tag) ? HL_OK : HL_INVALID_PARAMETER;
    });
}

int HLCALL HTMLayoutSendEvent(HELEMENT he, unsigned code, HELEMENT source, unsigned reason, int* handled) {
    return WithElement(he, [&](Element& e) {
        bool result = SendBehaviorEvent(e, code, ElementFromHandle(source), reason);
        if (handled) *handled = result;
        Refresh(e);
        return HL_OK;
    });
}

int HLCALL HTMLayoutPostEvent(HELEMENT he, unsigned code, HELEMENT source, unsigned reason) {
    return WithElement(he, [&](Element& e) {
        // Only a shown page can deliver later.
        if (!ViewOf(e)) return HL_FAILED;
        PostBehaviorEvent(e, code, ElementFromHandle(source), reason);
        return HL_OK;
    });
}

int HLCALL HTMLayoutCallBehaviorMethod(HELEMENT he, HL_METHOD_PARAMS* params) {
    return WithElement(he, [&](Element& e) {
        if (!params) return HL_INVALID_PARAMETER;
        bool handled = CallElementHandlers(e, HANDLE_METHOD_CALL, params);
        Refresh(e);
        return handled ? HL_OK : HL_NOT_HANDLED;
    });
}

int HLCALL HTMLayoutControlGetType(HELEMENT he, unsigned* type) {
    return WithElement(he, [&](Element& e) {
        if (!type) return HL_INVALID_PARAMETER;
        Refresh(e);
        *type = ControlTypeOf(e);
        return HL_OK;
    });
}

int HLCALL HTMLayoutControlGetValue(HELEMENT he, HL_VALUE* value) {
    return WithElement(he, [&](Element& e) {
        if (!value) return HL_INVALID_PARAMETER;
        Refresh(e);
        GetControlValue(e, *value);
        return HL_OK;
    });
}

int HLCALL HTMLayoutControlSetValue(HELEMENT he, const HL_VALUE* value) {
    return WithElement(he, [&](Element& e) {
        if (!value) return HL_INVALID_PARAMETER;
        Refresh(e);
        SetControlValue(e, *value);
        Refresh(e);
        return HL_OK;
    });
}

} // extern "C"
