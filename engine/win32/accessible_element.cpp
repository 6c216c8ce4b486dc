// IAccessible over a window's page. Each object names its element by handle and window, never by pointer:
// a client may keep an object after its element, page or window is gone, and it then answers "gone"
// (CO_E_OBJNOTCONNECTED). Nothing is built ahead: every call reads the page as it is, so the first
// WM_GETOBJECT costs one small object and no tree.
//
// Child ids: 1 to the child count are the children in order (as AccessibleChildren asks); any other id is an
// element's handle, which is what WinEvents carry, and which a client turns into an object through
// accChild on the window's object.

#include "engine/win32/accessible_element.h"

#include "engine/api/api_lock.h"
#include "engine/css/computed_style.h"
#include "engine/dom/document.h"
#include "engine/dom/handle_table.h"
#include "engine/events/builtin_behaviors.h"
#include "engine/events/dispatcher.h"
#include "engine/events/focus_navigation.h"
#include "engine/events/input.h"
#include "engine/include/htmlayout.h"
#include "engine/view/view.h"
#include "engine/win32/window_layer.h"

#include <oleacc.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace engine::win32 {
namespace {

struct RoleRule {
    std::u16string_view attribute; // the page's "role"
    long role;
};

constexpr RoleRule kRoles[] = {
    {u"tablist", ROLE_SYSTEM_PAGETABLIST},
    {u"tab", ROLE_SYSTEM_PAGETAB},
    {u"heading", ROLE_SYSTEM_STATICTEXT},
    {u"text", ROLE_SYSTEM_STATICTEXT},
};

// The MSAA role of an element a reader sees; 0 for one it looks through (layout boxes).
long RoleOf(const Element& e) {
    if (const std::u16string* role = e.GetAttribute("role"))
        for (const RoleRule& r : kRoles)
            if (*role == r.attribute) return r.role;
    switch (ControlTypeOf(e)) {
    case CTL_CHECKBOX: return ROLE_SYSTEM_CHECKBUTTON;
    case CTL_RADIO: return ROLE_SYSTEM_RADIOBUTTON;
    case CTL_BUTTON: return ROLE_SYSTEM_PUSHBUTTON;
    case CTL_HYPERLINK: return ROLE_SYSTEM_LINK;
    case CTL_PROGRESS: return ROLE_SYSTEM_PROGRESSBAR;
    case CTL_EDIT:
    case CTL_PASSWORD:
    case CTL_TEXTAREA:
    case CTL_RICHTEXT: return ROLE_SYSTEM_TEXT;
    default: break;
    }
    const std::string& tag = e.Tag();
    if (tag == "button") return ROLE_SYSTEM_PUSHBUTTON;
    if (tag == "a" && e.HasAttribute("href")) return ROLE_SYSTEM_LINK;
    if (tag.size() == 2 && tag[0] == 'h' && tag[1] >= '1' && tag[1] <= '6') return ROLE_SYSTEM_STATICTEXT;
    return 0;
}

// A child laid out apart from the text around it, as a block or placed on its own, is read as words of its
// own, as a browser's accessible name reads it: a line and the figure placed at its right end are two.
bool LaidOutApart(const Element& e) {
    const ComputedStyle* style = e.Style();
    if (!style) return false;
    const CssValue& position = style->Get(PropertyId::Position);
    return style->Get(PropertyId::Display).IsKeyword("block") || position.IsKeyword("absolute") ||
           position.IsKeyword("fixed");
}

// The text a reader reads: the element's text with its white space collapsed, a line break as a space.
std::u16string TextOf(const Element& element) {
    std::u16string text;
    bool space = false;
    auto add = [&](char16_t c) {
        bool blank = c == u' ' || c == u'\n' || c == u'\r' || c == u'\t';
        if (blank) {
            space = !text.empty();
            return;
        }
        if (space) text += u' ';
        space = false;
        text += c;
    };
    auto walk = [&](auto& self, const Element& parent) -> void {
        for (const Ref<Node>& n : parent.Children()) {
            if (!n->IsElement()) {
                for (char16_t c : static_cast<const Text&>(*n).Data()) add(c);
            } else {
                const auto& child = static_cast<const Element&>(*n);
                if (child.Tag() == "br") add(u' ');
                if (child.Tag() == "br" || IsHidden(child)) continue;
                const bool apart = LaidOutApart(child);
                if (apart) add(u' ');
                self(self, child);
                if (apart) add(u' ');
            }
        }
    };
    walk(walk, element);
    return text;
}

BSTR ToBstr(const std::u16string& text) {
    return text.empty() ? nullptr
                        : SysAllocStringLen(reinterpret_cast<const wchar_t*>(text.data()), static_cast<UINT>(text.size()));
}

// The elements a reader sees directly under `element`: the nearest ones with a role, the hidden left out.
std::vector<Element*> ChildrenOf(const Element& element) {
    std::vector<Element*> children;
    auto walk = [&](auto& self, const Element& parent) -> void {
        for (const Ref<Node>& n : parent.Children()) {
            if (!n->IsElement()) continue;
            auto& child = static_cast<Element&>(*n);
            if (child.Style() && child.Style()->DisplayNone()) continue;
            if (RoleOf(child) && !IsHidden(child)) children.push_back(&child);
            else self(self, child);
        }
    };
    walk(walk, element);
    return children;
}

// The nearest ancestor a reader sees, or the root, which stands for the window's client area.
Element* ParentOf(const Element& element) {
    Element* p = element.Parent();
    while (p && p->Parent() && !RoleOf(*p)) p = p->Parent();
    return p;
}

LONG ChildIdOf(const Element& element) {
    return static_cast<LONG>(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(element.Handle())));
}

// Where a reader's element lies, relative to the page's root; false when it has no box.
bool PlaceOf(const Element& e, RECT& r) {
    return HTMLayoutGetElementLocation(e.Handle(), &r, ROOT_RELATIVE | BORDER_BOX) == HL_OK && r.right > r.left &&
           r.bottom > r.top;
}

// The sibling wholly beyond `from`'s edge in a spatial direction that lies nearest to it: the gap along the
// direction, plus twice the gap across it (so that a sibling in line beats a closer one off to the side).
Element* NearestSibling(const Element& from, const std::vector<Element*>& siblings, LONG direction) {
    RECT a{};
    if (!PlaceOf(from, a)) return nullptr;
    Element* best = nullptr;
    long bestScore = 0;
    for (Element* s : siblings) {
        RECT b{};
        if (s == &from || !PlaceOf(*s, b)) continue;
        long along = 0, across = 0;
        switch (direction) {
        case NAVDIR_UP: along = a.top - b.bottom; break;
        case NAVDIR_DOWN: along = b.top - a.bottom; break;
        case NAVDIR_LEFT: along = a.left - b.right; break;
        default: along = b.left - a.right; break; // NAVDIR_RIGHT
        }
        if (along < 0) continue;
        if (direction == NAVDIR_UP || direction == NAVDIR_DOWN)
            across = std::max(0L, std::max(a.left - b.right, b.left - a.right));
        else
            across = std::max(0L, std::max(a.top - b.bottom, b.top - a.bottom));
        long score = along + 2 * across;
        if (!best || score < bestScore) {
            best = s;
            bestScore = score;
        }
    }
    return best;
}

class AccessibleElement final : public IAccessible {
public:
    AccessibleElement(HWND hwnd, HELEMENT handle) : hwnd_(hwnd), handle_(handle) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IAccessible) return E_NOINTERFACE;
        *out = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: clients use the vtable; there is no type information to give.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        return Answer(ChildSelf(), [&](Element& e) -> HRESULT {
            if (Element* p = e.Parent() ? ParentOf(e) : nullptr) {
                *parent = new AccessibleElement(hwnd_, p->Handle());
                (*parent)->AddRef();
                return S_OK;
            }
            // The client area's parent is the window itself, which the system serves.
            return AccessibleObjectFromWindow(hwnd_, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                              reinterpret_cast<void**>(parent));
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return Answer(ChildSelf(), [&](Element& e) {
            *count = static_cast<LONG>(ChildrenOf(e).size());
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        return Answer(child, [&](Element& e) -> HRESULT {
            if (&e == Self()) return E_INVALIDARG;
            *out = new AccessibleElement(hwnd_, e.Handle());
            (*out)->AddRef();
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!name) return E_POINTER;
        *name = nullptr;
        return Answer(child, [&](Element& e) -> HRESULT {
            std::u16string text;
            if (!e.Parent()) { // the window's title names its client area
                wchar_t title[256]{};
                GetWindowTextW(hwnd_, title, 256);
                *name = SysAllocString(title);
                return S_OK;
            }
            text = RoleOf(e) == ROLE_SYSTEM_PROGRESSBAR ? std::u16string() : TextOf(e);
            const std::u16string* title = e.GetAttribute("title");
            if (text.empty() && title) text = *title;
            *name = ToBstr(text);
            return *name ? S_OK : S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (!value) return E_POINTER;
        *value = nullptr;
        return Answer(child, [&](Element& e) -> HRESULT {
            const std::u16string* v = e.GetAttribute("value");
            if (RoleOf(e) != ROLE_SYSTEM_PROGRESSBAR || !v) return S_FALSE;
            *value = ToBstr(*v + u"%");
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override { return NoText(child, out); }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) return E_POINTER;
        VariantInit(role);
        return Answer(child, [&](Element& e) {
            role->vt = VT_I4;
            role->lVal = e.Parent() ? RoleOf(e) : ROLE_SYSTEM_CLIENT;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state) return E_POINTER;
        VariantInit(state);
        return Answer(child, [&](Element& e) {
            state->vt = VT_I4;
            state->lVal = static_cast<LONG>(StateOf(e));
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override { return NoText(child, out); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        if (file) *file = nullptr;
        if (topic) *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override { return NoText(child, out); }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus) return E_POINTER;
        VariantInit(focus);
        return Answer(ChildSelf(), [&](Element& e) -> HRESULT {
            Document* doc = e.OwnerDocument();
            Element* f = doc && GetFocus() == hwnd_ ? doc->Focus() : nullptr;
            while (f && f != &e && f->Parent() && !RoleOf(*f)) f = f->Parent();
            if (!f || !e.Contains(f)) return S_FALSE;
            return Give(e, *f, focus);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (!selection) return E_POINTER;
        VariantInit(selection);
        return Answer(ChildSelf(), [&](Element& e) -> HRESULT {
            if (RoleOf(e) != ROLE_SYSTEM_PAGETABLIST) return DISP_E_MEMBERNOTFOUND;
            for (Element* tab : ChildrenOf(e))
                if (RoleOf(*tab) == ROLE_SYSTEM_PAGETAB && (tab->OwnStates() & STATE_CURRENT)) return Give(e, *tab, selection);
            return S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!action) return E_POINTER;
        *action = nullptr;
        return Answer(child, [&](Element& e) -> HRESULT {
            const wchar_t* text = nullptr;
            switch (RoleOf(e)) {
            case ROLE_SYSTEM_CHECKBUTTON: text = (e.OwnStates() & STATE_CHECKED) ? L"Uncheck" : L"Check"; break;
            case ROLE_SYSTEM_PUSHBUTTON:
            case ROLE_SYSTEM_RADIOBUTTON: text = L"Press"; break;
            case ROLE_SYSTEM_LINK: text = L"Jump"; break;
            case ROLE_SYSTEM_PAGETAB: text = L"Switch"; break;
            default: return S_FALSE;
            }
            *action = SysAllocString(text);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return Answer(child, [&](Element& e) -> HRESULT {
            View* view = WindowView(hwnd_);
            if (!(flags & SELFLAG_TAKEFOCUS) || !view || !IsFocusable(e)) return S_FALSE;
            SetFocus(hwnd_);
            MoveFocus(*view, &e, false);
            view->UpdateStyle();
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* w, LONG* h, VARIANT child) override {
        if (!x || !y || !w || !h) return E_POINTER;
        *x = *y = *w = *h = 0;
        return Answer(child, [&](Element& e) -> HRESULT {
            RECT r{};
            if (!e.Parent()) GetClientRect(hwnd_, &r);
            else if (HTMLayoutGetElementLocation(e.Handle(), &r, ROOT_RELATIVE | BORDER_BOX) != HL_OK) return S_FALSE;
            MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&r), 2);
            *x = r.left;
            *y = r.top;
            *w = r.right - r.left;
            *h = r.bottom - r.top;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        VariantInit(end);
        return Answer(start, [&](Element& e) -> HRESULT {
            Element* to = nullptr;
            if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
                std::vector<Element*> children = ChildrenOf(e);
                if (!children.empty()) to = direction == NAVDIR_FIRSTCHILD ? children.front() : children.back();
            } else if (direction == NAVDIR_NEXT || direction == NAVDIR_PREVIOUS) {
                Element* parent = e.Parent() ? ParentOf(e) : nullptr;
                std::vector<Element*> siblings = parent ? ChildrenOf(*parent) : std::vector<Element*>{};
                for (std::size_t i = 0; i < siblings.size(); ++i) {
                    if (siblings[i] != &e) continue;
                    if (direction == NAVDIR_NEXT && i + 1 < siblings.size()) to = siblings[i + 1];
                    if (direction == NAVDIR_PREVIOUS && i > 0) to = siblings[i - 1];
                }
            } else if (direction >= NAVDIR_UP && direction <= NAVDIR_RIGHT) {
                Element* parent = e.Parent() ? ParentOf(e) : nullptr;
                if (parent) to = NearestSibling(e, ChildrenOf(*parent), direction);
            } else {
                return E_INVALIDARG;
            }
            if (!to) return S_FALSE;
            end->vt = VT_DISPATCH;
            end->pdispVal = new AccessibleElement(hwnd_, to->Handle());
            end->pdispVal->AddRef();
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
        if (!hit) return E_POINTER;
        VariantInit(hit);
        return Answer(ChildSelf(), [&](Element& e) -> HRESULT {
            POINT p{x, y};
            ScreenToClient(hwnd_, &p);
            RECT client{};
            GetClientRect(hwnd_, &client);
            if (!PtInRect(&client, p)) return S_FALSE;
            Element* at = ElementAt(hwnd_, p.x, p.y);
            while (at && at != &e && !(RoleOf(*at) && !IsHidden(*at))) at = at->Parent();
            if (!at || !e.Contains(at)) return S_FALSE;
            return Give(e, *at, hit);
        });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return Answer(child, [&](Element& e) -> HRESULT {
            long role = RoleOf(e);
            if (IsDisabled(e)) return S_FALSE; // a disabled control does nothing, whoever asks
            Ref<Element> keep(&e);
            if (role == ROLE_SYSTEM_PAGETAB) SendBehaviorEvent(e, ACTIVATE_CHILD, &e, SYNTHESIZED);
            else if (role == ROLE_SYSTEM_PUSHBUTTON || role == ROLE_SYSTEM_CHECKBUTTON ||
                     role == ROLE_SYSTEM_RADIOBUTTON || role == ROLE_SYSTEM_LINK) {
                if (!ClickControl(e, SYNTHESIZED)) SendBehaviorEvent(e, BUTTON_CLICK, &e, SYNTHESIZED);
            } else {
                return DISP_E_MEMBERNOTFOUND;
            }
            if (View* view = WindowView(hwnd_)) view->UpdateStyle();
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    static VARIANT ChildSelf() {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_I4;
        v.lVal = CHILDID_SELF;
        return v;
    }

    // The element, while it is still part of the page its window shows.
    Element* Self() const {
        Element* e = ElementFromHandle(handle_);
        View* view = IsWindow(hwnd_) ? WindowView(hwnd_) : nullptr;
        Document* doc = view ? view->GetDocument() : nullptr;
        return e && doc && e->OwnerDocument() == doc && doc->Root().Contains(e) ? e : nullptr;
    }

    // Runs `body` on the element the child id names, under the engine's lock; "gone" when it is no more.
    template <typename Body>
    HRESULT Answer(const VARIANT& child, Body body) {
        ApiLock lock(ApiMutex());
        Element* self = Self();
        if (!self) return CO_E_OBJNOTCONNECTED;
        if (child.vt != VT_I4) return E_INVALIDARG;
        Element* target = self;
        if (child.lVal != CHILDID_SELF) {
            std::vector<Element*> children = ChildrenOf(*self);
            if (child.lVal > 0 && static_cast<std::size_t>(child.lVal) <= children.size()) {
                target = children[static_cast<std::size_t>(child.lVal) - 1];
            } else {
                auto handle = reinterpret_cast<HELEMENT>(static_cast<std::uintptr_t>(static_cast<std::uint32_t>(child.lVal)));
                target = ElementFromHandle(handle);
                if (!target || target->OwnerDocument() != self->OwnerDocument() || !self->Contains(target))
                    return E_INVALIDARG;
            }
        }
        return body(*target);
    }

    HRESULT NoText(const VARIANT& child, BSTR* out) {
        if (!out) return E_POINTER;
        *out = nullptr;
        return Answer(child, [](Element&) { return S_FALSE; });
    }

    // `found` as seen from `self`: itself as CHILDID_SELF, else an object of its own.
    HRESULT Give(Element& self, Element& found, VARIANT* out) {
        if (&found == &self) {
            out->vt = VT_I4;
            out->lVal = CHILDID_SELF;
        } else {
            out->vt = VT_DISPATCH;
            out->pdispVal = new AccessibleElement(hwnd_, found.Handle());
            out->pdispVal->AddRef();
        }
        return S_OK;
    }

    DWORD StateOf(Element& e) const {
        DWORD state = 0;
        unsigned own = e.OwnStates();
        long role = e.Parent() ? RoleOf(e) : ROLE_SYSTEM_CLIENT;
        Document* doc = e.OwnerDocument();
        if (IsDisabled(e)) state |= STATE_SYSTEM_UNAVAILABLE;
        else if (IsFocusable(e)) state |= STATE_SYSTEM_FOCUSABLE;
        if (doc && doc->Focus() == &e && GetFocus() == hwnd_) state |= STATE_SYSTEM_FOCUSED;
        if (role == ROLE_SYSTEM_CHECKBUTTON && (own & STATE_CHECKED)) state |= STATE_SYSTEM_CHECKED;
        if (role == ROLE_SYSTEM_PAGETAB) state |= STATE_SYSTEM_SELECTABLE | ((own & STATE_CURRENT) ? STATE_SYSTEM_SELECTED : 0);
        if (role == ROLE_SYSTEM_LINK) state |= STATE_SYSTEM_LINKED;
        if (role == ROLE_SYSTEM_STATICTEXT || role == ROLE_SYSTEM_PROGRESSBAR) state |= STATE_SYSTEM_READONLY;
        if (doc && doc->Hover() && e.Contains(doc->Hover())) state |= STATE_SYSTEM_HOTTRACKED;
        return state;
    }

    LONG refs_ = 0;
    HWND hwnd_;
    HELEMENT handle_;
};

} // namespace

LRESULT AnswerGetObject(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) return 0;
    View* view = WindowView(hwnd);
    Document* doc = view ? view->GetDocument() : nullptr;
    if (!doc) return 0;
    auto* root = new AccessibleElement(hwnd, doc->Root().Handle());
    root->AddRef();
    LRESULT answer = LresultFromObject(IID_IAccessible, wParam, root);
    root->Release();
    return answer > 0 ? answer : 0;
}

// A hidden window is read by nobody: the program fills its page before showing it.
void AnnounceChange(HWND hwnd, Element& element, Announcement what) {
    if (!IsWindowVisible(hwnd)) return;
    DWORD event = EVENT_OBJECT_FOCUS;
    switch (what) {
    case Announcement::Focus:
        if (GetFocus() != hwnd) return; // the page's focus shows only while its window has the system's
        break;
    case Announcement::State: event = EVENT_OBJECT_STATECHANGE; break;
    case Announcement::Name: event = EVENT_OBJECT_NAMECHANGE; break;
    case Announcement::Value: event = EVENT_OBJECT_VALUECHANGE; break;
    }
    LONG child = element.Parent() ? ChildIdOf(element) : CHILDID_SELF;
    NotifyWinEvent(event, hwnd, OBJID_CLIENT, child);
}

} // namespace engine::win32
