// Element functions of the C interface: tree, attributes, states, style, text and HTML.

#include "engine/api/api_lock.h"
#include "engine/api/api_support.h"
#include "engine/css/computed_style.h"
#include "engine/dom/ascii.h"
#include "engine/dom/handle_table.h"
#include "engine/dom/utf.h"
#include "engine/events/input.h"
#include "engine/html/html_parser.h"
#include "engine/html/html_writer.h"
#include "engine/view/view.h"

using namespace engine;

namespace engine {

std::recursive_mutex& ApiMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

void Refresh(Element& element) {
    if (View* view = ViewOf(element)) view->UpdateStyle();
}

} // namespace engine

namespace {

int Answer(Element* element, HELEMENT* out) {
    if (!out) return HL_INVALID_PARAMETER;
    *out = element ? element->Handle() : nullptr;
    return HL_OK;
}

// Hover, active and focus live in the document; the other bits on the element.
void SetDocumentStates(Element& e, unsigned set, unsigned clear) {
    View* view = ViewOf(e);
    Document* doc = e.OwnerDocument();
    if (!doc) return;
    if (set & STATE_HOVER) doc->SetHover(&e);
    if ((clear & STATE_HOVER) && doc->Hover() == &e) doc->SetHover(nullptr);
    if (set & STATE_ACTIVE) doc->SetActive(&e);
    if ((clear & STATE_ACTIVE) && doc->Active() == &e) doc->SetActive(nullptr);
    if (view && (set & STATE_FOCUS)) MoveFocus(*view, &e, false);
    if (view && (clear & STATE_FOCUS) && doc->Focus() == &e) MoveFocus(*view, nullptr, false);
}

} // namespace

extern "C" {

int HLCALL HTMLayout_UseElement(HELEMENT he) {
    return WithElement(he, [&](Element& e) {
        e.Use();
        return HL_OK;
    });
}

int HLCALL HTMLayout_UnuseElement(HELEMENT he) {
    return WithElement(he, [&](Element& e) {
        e.Unuse();
        return HL_OK;
    });
}

int HLCALL HTMLayoutGetParentElement(HELEMENT he, HELEMENT* parent) {
    return WithElement(he, [&](Element& e) { return Answer(e.Parent(), parent); });
}

int HLCALL HTMLayoutGetChildrenCount(HELEMENT he, unsigned* count) {
    return WithElement(he, [&](Element& e) {
        if (!count) return HL_INVALID_PARAMETER;
        *count = static_cast<unsigned>(e.ElementChildCount());
        return HL_OK;
    });
}

int HLCALL HTMLayoutGetNthChild(HELEMENT he, unsigned n, HELEMENT* child) {
    return WithElement(he, [&](Element& e) { return Answer(e.ElementChild(n), child); });
}

int HLCALL HTMLayoutGetElementIndex(HELEMENT he, unsigned* index) {
    return WithElement(he, [&](Element& e) {
        if (!index) return HL_INVALID_PARAMETER;
        *index = static_cast<unsigned>(e.ElementIndex());
        return HL_OK;
    });
}

int HLCALL HTMLayoutGetNextSibling(HELEMENT he, HELEMENT* sibling) {
    return WithElement(he, [&](Element& e) { return Answer(e.NextElementSibling(), sibling); });
}

int HLCALL HTMLayoutGetPreviousSibling(HELEMENT he, HELEMENT* sibling) {
    return WithElement(he, [&](Element& e) { return Answer(e.PreviousElementSibling(), sibling); });
}

int HLCALL HTMLayoutGetElementType(HELEMENT he, const char** tag) {
    return WithElement(he, [&](Element& e) {
        if (!tag) return HL_INVALID_PARAMETER;
        *tag = e.Tag().c_str();
        return HL_OK;
    });
}

// The new element comes with one use, which the caller gives back with HTMLayout_UnuseElement.
int HLCALL HTMLayoutCreateElement(const char* tag, const wchar_t* text, HELEMENT* created) {
    ApiLock lock(ApiMutex());
    if (!tag || !*tag || !created) return HL_INVALID_PARAMETER;
    auto* e = new Element(AsciiLower(tag));
    e->Use();
    if (text && *text) e->SetTextContent(Text16(text));
    *created = e->Handle();
    return HL_OK;
}

int HLCALL HTMLayoutInsertElement(HELEMENT he, HELEMENT parent, unsigned index) {
    ApiLock lock(ApiMutex());
    Element* e = ElementFromHandle(he);
    Element* p = ElementFromHandle(parent);
    if (!e || !p) return HL_INVALID_HANDLE;
    // An element cannot go under itself nor a page's root under anything; a tree deeper than the parser
    // allows would only cost stack.
    if (e->Contains(p) || e->RootOwnerDocument() || p->Depth() > HtmlLimits{}.maxDepth) return HL_INVALID_PARAMETER;
    std::size_t at = p->Children().size();
    for (std::size_t i = 0, elements = 0; i < p->Children().size(); ++i)
        if (p->Children()[i]->IsElement() && elements++ == index) {
            at = i;
            break;
        }
    p->InsertChild(at, Ref<Node>(e));
    ApplyAttributeStates(*e);
    Refresh(*e);
    return HL_OK;
}

int HLCALL HTMLayoutDeleteElement(HELEMENT he) {
    return WithElement(he, [&](Element& e) {
        Element* parent = e.Parent();
        e.Detach();
        if (parent) Refresh(*parent);
        return HL_OK;
    });
}

int HLCALL HTMLayoutGetAttributeCount(HELEMENT he, unsigned* count) {
    return WithElement(he, [&](Element& e) {
        if (!count) return HL_INVALID_PARAMETER;
        *count = static_cast<unsigned>(e.Attributes().size());
        return HL_OK;
    });
}

int HLCALL HTMLayoutGetAttributeByName(HELEMENT he, const char* name, const wchar_t** value) {
    return WithElement(he, [&](Element& e) {
        if (!name || !value) return HL_INVALID_PARAMETER;
        const std::u16string* v = e.GetAttribute(name);
        *value = v ? Wide(*v) : nullptr;
        return HL_OK;
    });
}

int HLCALL HTMLayoutSetAttributeByName(HELEMENT he, const char* name, const wchar_t* value) {
    return WithElement(he, [&](Element& e) {
        if (!name || !*name) return HL_INVALID_PARAMETER;
        if (value)
            e.SetAttribute(name, Text16(value));
        else
            e.RemoveAttribute(name);
        Refresh(e);
        return HL_OK;
    });
}

int HLCALL HTMLayoutGetElementState(HELEMENT he, unsigned* state) {
    return WithElement(he, [&](Element& e) {
        if (!state) return HL_INVALID_PARAMETER;
        Document* doc = e.OwnerDocument();
        *state = doc ? doc->StatesOf(e) : e.OwnStates();
        return HL_OK;
    });
}

int HLCALL HTMLayoutSetElementState(HELEMENT he, unsigned bitsToSet, unsigned bitsToClear, int update) {
    return WithElement(he, [&](Element& e) {
        constexpr unsigned kDocumentStates = STATE_HOVER | STATE_ACTIVE | STATE_FOCUS;
        e.ChangeStates(bitsToSet & ~kDocumentStates, bitsToClear & ~kDocumentStates);
        SetDocumentStates(e, bitsToSet & kDocumentStates, bitsToClear & kDocumentStates);
        if (update) Refresh(e);
        return HL_OK;
    });
}

int HLCALL HTMLayoutGetStyleAttribute(HELEMENT he, const char* name, const wchar_t** value) {
    return WithElement(he, [&](Element& e) {
        if (!name || !value) return HL_INVALID_PARAMETER;
        *value = nullptr;
        for (const auto& [property, text] : e.RuntimeStyle()) {
            if (property != AsciiLower(name)) continue;
            e.QueryBuffer() = text;
            *value = Wide(e.QueryBuffer());
            return HL_OK;
        }
        Refresh(e);
        PropertyId id;
        if (!e.Style() || !FindProperty(name, id)) return HL_OK;
        const CssValue& v = e.Style()->Get(id);
        if (id == PropertyId::Behavior && v.type != CssValue::Type::String) return HL_OK;
        e.QueryBuffer() = Utf8ToUtf16(v.ToCss());
        *value = Wide(e.QueryBuffer());
        return HL_OK;
    });
}

int HLCALL HTMLayoutSetStyleAttribute(HELEMENT he, const char* name, const wchar_t* value) {
    return WithElement(he, [&](Element& e) {
        if (!name || !*name) return HL_INVALID_PARAMETER;
        std::u16string text = Text16(value);
        e.SetRuntimeStyle(name, value ? &text : nullptr);
        Refresh(e);
        return HL_OK;
    });
}

int HLCALL HTMLayoutGetElementInnerText16(HELEMENT he, HtmlWriteText16 writer, void* param) {
    return WithElement(he, [&](Element& e) {
        if (!writer) return HL_INVALID_PARAMETER;
        std::u16string text = e.TextContent();
        writer(Wide(text), static_cast<unsigned>(text.size()), param);
        return HL_OK;
    });
}

int HLCALL HTMLayoutSetElementInnerText16(HELEMENT he, const wchar_t* text, unsigned length) {
    return WithElement(he, [&](Element& e) {
        if (!text && length) return HL_INVALID_PARAMETER;
        e.SetTextContent(text ? Text16(text, length) : std::u16string());
        Refresh(e);
        return HL_OK;
    });
}

int HLCALL HTMLayoutGetElementHtml(HELEMENT he, int outer, HtmlWriteBytes writer, void* param) {
    return WithElement(he, [&](Element& e) {
        if (!writer) return HL_INVALID_PARAMETER;
        std::string html = outer ? OuterHtml(e) : InnerHtml(e);
        writer(reinterpret_cast<const unsigned char*>(html.data()), static_cast<unsigned>(html.size()), param);
        return HL_OK;
    });
}

int HLCALL HTMLayoutSetElementHtml(HELEMENT he, const unsigned char* html, unsigned length) {
    return WithElement(he, [&](Element& e) {
        if (!html && length) return HL_INVALID_PARAMETER;
        std::string_view text(reinterpret_cast<const char*>(html), html ? length : 0);
        if (View* view = ViewOf(e)) {
            view->SetElementHtml(e, text);
            view->UpdateStyle();
        } else {
            ParseHtmlFragment(PageBytesToUtf8(text), e);
            ApplyAttributeStates(e);
        }
        return HL_OK;
    });
}

} // extern "C"
