#include "ui/notification_handler.h"

#include "ui/behavior.h"
#include "ui/resource_data.h"

namespace htmlayout {

// The bytes stay the module's; the engine copies what it keeps. A URL that is not found is left to the
// engine, which then shows the page without it.
LRESULT AnswerLoadData(const HL_NM_LOAD_DATA& request) {
    if (!request.uri || !*request.uri) return 0;
    if (std::optional<resource_bytes> bytes = ResourceForUrl(request.uri))
        HTMLayoutDataReady(request.hdr.hwndFrom, request.uri, bytes->data(), static_cast<unsigned>(bytes->size()));
    return 0;
}

LRESULT AnswerAttachBehavior(HL_NM_ATTACH_BEHAVIOR& request) {
    event_handler* handler = request.behaviorName ? behavior::find(request.behaviorName, request.element) : nullptr;
    if (!handler) return FALSE;
    request.elementProc = event_handler::element_proc;
    request.elementTag = handler;
    request.elementEvents = handler->subscription;
    return TRUE;
}

} // namespace htmlayout
