#include "engine/css/selector_matcher.h"

#include "engine/dom/document.h"

namespace engine {
namespace {

enum class Result { Matched, FailsLocally, FailsAllSiblings, FailsCompletely };

bool MatchesAttribute(const AttributeTest& test, const Element& element) {
    const std::u16string* value = element.GetAttribute(test.name);
    if (!value) return false;
    const std::u16string& v = *value;
    const std::u16string& want = test.value;
    switch (test.match) {
    case AttributeMatch::Exists: return true;
    case AttributeMatch::Equals: return v == want;
    case AttributeMatch::Prefix: return !want.empty() && v.compare(0, want.size(), want) == 0;
    case AttributeMatch::Suffix:
        return !want.empty() && v.size() >= want.size() && v.compare(v.size() - want.size(), want.size(), want) == 0;
    case AttributeMatch::Substring: return !want.empty() && v.find(want) != std::u16string::npos;
    case AttributeMatch::DashMatch:
        return v == want || (v.size() > want.size() && v.compare(0, want.size(), want) == 0 && v[want.size()] == u'-');
    case AttributeMatch::Includes: {
        if (want.empty()) return false;
        std::size_t i = 0;
        while (i < v.size()) {
            while (i < v.size() && v[i] <= u' ') ++i;
            std::size_t start = i;
            while (i < v.size() && v[i] > u' ') ++i;
            if (v.compare(start, i - start, want) == 0) return true;
        }
        return false;
    }
    }
    return false;
}

bool IsEmpty(const Element& element) {
    for (const auto& child : element.Children())
        if (child->IsElement() || !static_cast<const Text&>(*child).Data().empty()) return false;
    return true;
}

bool MatchesPseudo(PseudoClass p, const Element& element, const MatchContext& context) {
    switch (p) {
    case PseudoClass::Root:
        return context.scope ? &element == context.scope
                             : !element.Parent() && element.RootOwnerDocument() != nullptr;
    case PseudoClass::FirstChild: return element.Parent() && !element.PreviousElementSibling();
    case PseudoClass::LastChild: return element.Parent() && !element.NextElementSibling();
    case PseudoClass::OnlyChild:
        return element.Parent() && !element.PreviousElementSibling() && !element.NextElementSibling();
    case PseudoClass::Empty: return IsEmpty(element);
    case PseudoClass::Link:
        return element.Tag() == "a" && element.HasAttribute("href") && !(element.OwnStates() & STATE_VISITED);
    default: break;
    }
    unsigned states = context.document ? context.document->StatesOf(element) : element.OwnStates();
    unsigned bit = StateOfPseudoClass(p);
    return p == PseudoClass::Enabled ? !(states & bit) : (states & bit) != 0;
}

bool MatchesCompound(const Compound& c, const Element& element, const MatchContext& context) {
    if (!c.tag.empty() && c.tag != element.Tag()) return false;
    for (const auto& id : c.ids) {
        const std::u16string* own = element.Id();
        if (!own || *own != id) return false;
    }
    for (const auto& name : c.classes)
        if (!element.HasClass(name)) return false;
    for (const auto& test : c.attributes)
        if (!MatchesAttribute(test, element)) return false;
    for (PseudoClass p : c.pseudoClasses)
        if (!MatchesPseudo(p, element, context)) return false;
    return true;
}

// Right to left; the failure kinds let a descendant or sibling search stop early instead of trying every
// ancestor against every compound.
Result MatchFrom(const Selector& s, std::size_t i, const Element& element, const MatchContext& context) {
    const Compound& c = s.compounds[i];
    if (!MatchesCompound(c, element, context)) return Result::FailsLocally;
    if (i == 0) return Result::Matched;
    switch (c.combinator) {
    case Combinator::Descendant:
        for (const Element* p = element.Parent(); p; p = p->Parent()) {
            Result r = MatchFrom(s, i - 1, *p, context);
            if (r == Result::Matched || r == Result::FailsCompletely) return r;
        }
        return Result::FailsCompletely;
    case Combinator::Child:
        if (!element.Parent()) return Result::FailsCompletely;
        return MatchFrom(s, i - 1, *element.Parent(), context);
    case Combinator::Adjacent: {
        const Element* previous = element.PreviousElementSibling();
        if (!previous) return Result::FailsAllSiblings;
        return MatchFrom(s, i - 1, *previous, context);
    }
    case Combinator::Sibling:
        for (const Element* p = element.PreviousElementSibling(); p; p = p->PreviousElementSibling()) {
            Result r = MatchFrom(s, i - 1, *p, context);
            if (r != Result::FailsLocally) return r;
        }
        return Result::FailsAllSiblings;
    case Combinator::None: break;
    }
    return Result::FailsCompletely;
}

bool Visit(const Element& from, const SelectorList& list, const MatchContext& context,
           const std::function<bool(Element&)>& visit) {
    for (const auto& child : from.Children()) {
        Element* e = AsElement(child.Get());
        if (!e) continue;
        if (Matches(list, *e, context) && visit(*e)) return true;
        if (Visit(*e, list, context, visit)) return true;
    }
    return false;
}

} // namespace

bool Matches(const Selector& selector, const Element& element, const MatchContext& context) {
    return !selector.compounds.empty() &&
           MatchFrom(selector, selector.compounds.size() - 1, element, context) == Result::Matched;
}

bool Matches(const SelectorList& list, const Element& element, const MatchContext& context) {
    for (const Selector& s : list)
        if (Matches(s, element, context)) return true;
    return false;
}

bool SelectElements(const Element& root, const SelectorList& list, const std::function<bool(Element&)>& visit) {
    MatchContext context{root.OwnerDocument(), &root};
    return Visit(root, list, context, visit);
}

} // namespace engine
