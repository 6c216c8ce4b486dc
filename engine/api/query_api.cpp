// Element lookups of the C interface: by CSS selector and by attribute.

#include "engine/api/api_lock.h"
#include "engine/api/api_support.h"
#include "engine/css/selector_matcher.h"
#include "engine/dom/ascii.h"
#include "engine/dom/handle_table.h"
#include "engine/dom/tree_walk.h"
#include "engine/dom/utf.h"

#include <vector>

using namespace engine;

namespace {

// Matches are gathered before the program sees any, so its callback may change the tree.
int Report(const std::vector<Ref<Element>>& found, HtmlElementCallback callback, void* param) {
    for (const auto& e : found)
        if (callback(e->Handle(), param)) break;
    return HL_OK;
}

int Select(HELEMENT root, const std::string& selector, HtmlElementCallback callback, void* param) {
    Element* r = ElementFromHandle(root);
    if (!r) return HL_INVALID_HANDLE;
    if (!callback) return HL_INVALID_PARAMETER;
    auto list = ParseSelectorList(selector);
    if (!list) return HL_INVALID_PARAMETER;
    std::vector<Ref<Element>> found;
    SelectElements(*r, *list, [&](Element& e) {
        found.emplace_back(&e);
        return false;
    });
    return Report(found, callback, param);
}

} // namespace

extern "C" {

int HLCALL HTMLayoutSelectElements(HELEMENT root, const char* selector, HtmlElementCallback callback, void* param) {
    ApiLock lock(ApiMutex());
    if (!selector) return HL_INVALID_PARAMETER;
    return Select(root, selector, callback, param);
}

int HLCALL HTMLayoutSelectElementsW(HELEMENT root, const wchar_t* selector, HtmlElementCallback callback,
                                    void* param) {
    ApiLock lock(ApiMutex());
    if (!selector) return HL_INVALID_PARAMETER;
    return Select(root, Utf16ToUtf8(Text16(selector)), callback, param);
}

int HLCALL HTMLayoutVisitElements(HELEMENT root, const char* tag, const char* attribute, const wchar_t* value,
                                  HtmlElementCallback callback, void* param, unsigned depth) {
    ApiLock lock(ApiMutex());
    Element* r = ElementFromHandle(root);
    if (!r) return HL_INVALID_HANDLE;
    if (!callback) return HL_INVALID_PARAMETER;
    std::string wantTag = tag && *tag && std::string_view(tag) != "*" ? AsciiLower(tag) : std::string();
    std::u16string wantValue = Text16(value);
    int rootDepth = r->Depth();
    std::vector<Ref<Element>> found;
    ForEachElement(*r, [&](Element& e) {
        if (&e == r || (depth && static_cast<unsigned>(e.Depth() - rootDepth) > depth)) return;
        if (!wantTag.empty() && e.Tag() != wantTag) return;
        if (attribute && *attribute) {
            const std::u16string* v = e.GetAttribute(attribute);
            if (!v || (value && *v != wantValue)) return;
        }
        found.emplace_back(&e);
    });
    return Report(found, callback, param);
}

int HLCALL HTMLayoutSelectParent(HELEMENT he, const char* selector, unsigned depth, HELEMENT* result) {
    return WithElement(he, [&](Element& e) {
        if (!selector || !result) return HL_INVALID_PARAMETER;
        auto list = ParseSelectorList(selector);
        if (!list) return HL_INVALID_PARAMETER;
        *result = nullptr;
        MatchContext context{e.OwnerDocument(), nullptr};
        unsigned level = 0;
        for (Element* p = &e; p && (depth == 0 || level < depth); p = p->Parent(), ++level) {
            if (Matches(*list, *p, context)) {
                *result = p->Handle();
                break;
            }
        }
        return HL_OK;
    });
}

int HLCALL HTMLayoutElementMatches(HELEMENT he, const char* selector, int* matches) {
    return WithElement(he, [&](Element& e) {
        if (!selector || !matches) return HL_INVALID_PARAMETER;
        auto list = ParseSelectorList(selector);
        if (!list) return HL_INVALID_PARAMETER;
        *matches = Matches(*list, e, MatchContext{e.OwnerDocument(), nullptr});
        return HL_OK;
    });
}

} // extern "C"
