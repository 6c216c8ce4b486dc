#pragma once
// The base through which the engine's window notifications reach a program object. Every window of the
// program answers load-data requests from its own resources and attach-behavior requests from the behavior
// registry; the other notifications are answered with 0 unless a class overrides them.
#include "engine/include/htmlayout.h"

namespace htmlayout {

// The shared answers, for the template below.
LRESULT AnswerLoadData(const HL_NM_LOAD_DATA& request);
LRESULT AnswerAttachBehavior(HL_NM_ATTACH_BEHAVIOR& request);

template <typename T>
class notification_handler {
public:
    virtual ~notification_handler() = default;

    // Slots in the order the dispatcher below names them; each code is the engine's notification code.
    virtual LRESULT on_create_control(NMHDR*) { return 0; }                  // 0xB00
    virtual LRESULT on_data_loaded(HL_NM_LOAD_DATA*) { return 0; }           // 0xB02
    virtual LRESULT on_destroy_control(NMHDR*) { return 0; }                 // 0xB06
    virtual LRESULT on_load_data(HL_NM_LOAD_DATA* request) {                 // 0xB01
        return AnswerLoadData(*request);
    }
    virtual LRESULT on_document_complete(NMHDR*) { return 0; }               // 0xB03
    virtual LRESULT on_update_ui(NMHDR*) { return 0; }                       // 0xB04
    virtual LRESULT on_dialog_close_request(NMHDR*) { return 0; }            // 0xB0A
    virtual LRESULT on_attach_behavior(HL_NM_ATTACH_BEHAVIOR* request) {     // 0xB07
        return AnswerAttachBehavior(*request);
    }
    virtual LRESULT on_document_loaded(NMHDR*) { return 0; }                 // 0xB0F
    virtual LRESULT on_dialog_created(NMHDR*) { return 0; }                  // 0xB09

    // For HTMLayoutSetCallback(hwnd, notification_handler<T>::callback, notification_param()).
    static LRESULT CALLBACK callback(NMHDR* notification, void* param) {
        auto* self = static_cast<notification_handler*>(param);
        return self && notification ? self->dispatch(notification) : 0;
    }
    void* notification_param() { return static_cast<notification_handler*>(this); }

private:
    LRESULT dispatch(NMHDR* n) {
        switch (n->code) {
        case 0xB00: return on_create_control(n);
        case 0xB01: return on_load_data(reinterpret_cast<HL_NM_LOAD_DATA*>(n));
        case 0xB02: return on_data_loaded(reinterpret_cast<HL_NM_LOAD_DATA*>(n));
        case 0xB03: return on_document_complete(n);
        case 0xB04: return on_update_ui(n);
        case 0xB06: return on_destroy_control(n);
        case 0xB07: return on_attach_behavior(reinterpret_cast<HL_NM_ATTACH_BEHAVIOR*>(n));
        case 0xB09: return on_dialog_created(n);
        case 0xB0A: return on_dialog_close_request(n);
        case 0xB0F: return on_document_loaded(n);
        default: return 0;
        }
    }
};

} // namespace htmlayout
