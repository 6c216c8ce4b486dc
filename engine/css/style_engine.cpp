#include "engine/css/style_engine.h"

#include "engine/css/selector_matcher.h"
#include "engine/css/value_computer.h"
#include "engine/dom/document.h"
#include "engine/dom/utf.h"

#include <algorithm>
#include <array>

namespace engine {
namespace {

// Cascade layers, lowest first; the program's runtime style is above them all.
enum Layer { kUserAgent, kAuthor, kInline, kAuthorImportant, kInlineImportant, kUserAgentImportant, kRuntime };

void GatherStyleText(const Element& element, std::string& css) {
    for (const auto& child : element.Children())
        if (!child->IsElement()) css += Utf16ToUtf8(static_cast<const Text&>(*child).Data());
}

void CollectSheetElements(Element& element, std::vector<std::shared_ptr<const StyleSheet>>& out) {
    if (element.Tag() == "style") {
        std::string css;
        GatherStyleText(element, css);
        element.Sheet() = ParseStyleSheet(css);
    }
    if ((element.Tag() == "style" || element.Tag() == "link") && element.Sheet()) out.push_back(element.Sheet());
    for (const auto& child : element.Children())
        if (Element* e = AsElement(child.Get())) CollectSheetElements(*e, out);
}

} // namespace

StyleEngine::StyleEngine() {
    // Parsed once for every page of the process.
    static const std::shared_ptr<const StyleSheet> kUserAgent = ParseStyleSheet(UserAgentStyleSheet());
    userAgent_ = kUserAgent;
}

void StyleEngine::AddSheet(const StyleSheet& sheet, bool userAgent) {
    for (const StyleRule& rule : sheet.rules) {
        for (const Selector& selector : rule.selectors) {
            auto index = static_cast<unsigned>(index_.rules.size());
            index_.rules.push_back({&selector, rule.block.get(), index, userAgent});
            const Compound& last = selector.compounds.back();
            if (!last.ids.empty())
                index_.byId[last.ids.front()].push_back(index);
            else if (!last.classes.empty())
                index_.byClass[last.classes.front()].push_back(index);
            else if (!last.tag.empty())
                index_.byTag[last.tag].push_back(index);
            else
                index_.universal.push_back(index);
            for (std::size_t i = 0; i < selector.compounds.size(); ++i) {
                const Compound& c = selector.compounds[i];
                unsigned states = 0;
                for (PseudoClass p : c.pseudoClasses) {
                    states |= StateOfPseudoClass(p);
                    if (p == PseudoClass::FirstChild || p == PseudoClass::LastChild || p == PseudoClass::OnlyChild)
                        usesSiblings_ = true;
                }
                usedStates_ |= states;
                if (c.combinator == Combinator::Adjacent || c.combinator == Combinator::Sibling) usesSiblings_ = true;
                std::vector<std::string> attributes;
                for (const AttributeTest& a : c.attributes)
                    attributes.push_back(a.name);
                if (!c.ids.empty()) attributes.push_back("id");
                if (!c.classes.empty()) attributes.push_back("class");
                for (const std::string& name : attributes)
                    if (std::find(usedAttributes_.begin(), usedAttributes_.end(), name) ==
                        usedAttributes_.end())
                        usedAttributes_.push_back(name);
                if ((!states && attributes.empty()) || i + 1 == selector.compounds.size()) continue;
                Combinator next = selector.compounds[i + 1].combinator;
                outer_.push_back({states, std::move(attributes),
                                  next == Combinator::Adjacent || next == Combinator::Sibling, c.tag,
                                  c.ids.empty() ? u"" : c.ids.front(),
                                  c.classes.empty() ? u"" : c.classes.front()});
            }
        }
    }
}

void StyleEngine::CollectSheets(Document& document) {
    sheets_.clear();
    CollectSheetElements(document.Root(), sheets_);
    index_ = RuleIndex{};
    usedStates_ = 0;
    usesSiblings_ = false;
    usedAttributes_.clear();
    outer_.clear();
    AddSheet(*userAgent_, true);
    for (const auto& sheet : sheets_) AddSheet(*sheet, false);
    document.Dependencies() = {usedStates_, usesSiblings_, usedAttributes_, outer_};
    document.SetSheetsDirty(false);
    document.Root().MarkStyleDirty();
}

std::shared_ptr<const ComputedStyle> StyleEngine::ComputeStyle(Document& document, Element& element,
                                                               const ComputedStyle* parent) {
    // Candidate rules from the index, matched, then applied layer by layer in specificity order.
    // Scratch vectors live in the engine: styling runs for every element, and allocation shows.
    std::vector<unsigned>& candidates = candidates_;
    candidates.assign(index_.universal.begin(), index_.universal.end());
    auto add = [&](const std::vector<unsigned>* bucket) {
        if (bucket) candidates.insert(candidates.end(), bucket->begin(), bucket->end());
    };
    auto find = [](auto& map, const auto& key) -> const std::vector<unsigned>* {
        auto it = map.find(key);
        return it == map.end() ? nullptr : &it->second;
    };
    if (const std::u16string* id = element.Id()) add(find(index_.byId, *id));
    for (const auto& c : element.Classes()) add(find(index_.byClass, c));
    add(find(index_.byTag, element.Tag()));
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());

    MatchContext context{&document, nullptr};
    std::vector<const IndexedRule*>& matched = matched_;
    matched.clear();
    for (unsigned i : candidates)
        if (Matches(*index_.rules[i].selector, element, context)) matched.push_back(&index_.rules[i]);
    std::stable_sort(matched.begin(), matched.end(), [](const IndexedRule* a, const IndexedRule* b) {
        return a->selector->specificity < b->selector->specificity;
    });

    std::array<std::array<const CssValue*, kPropertyCount>, kRuntime + 1> layers{};
    auto apply = [&](const std::vector<Declaration>& declarations, Layer normal, Layer important) {
        for (const Declaration& d : declarations)
            layers[d.important ? important : normal][static_cast<std::size_t>(d.property)] = &d.value;
    };
    for (const IndexedRule* rule : matched)
        apply(rule->block->declarations, rule->userAgent ? kUserAgent : kAuthor,
              rule->userAgent ? kUserAgentImportant : kAuthorImportant);
    if (const std::u16string* inlineText = element.GetAttribute("style")) {
        if (!element.InlineStyleCache()) element.InlineStyleCache() = ParseDeclarations(Utf16ToUtf8(*inlineText));
        apply(element.InlineStyleCache()->declarations, kInline, kInlineImportant);
    }
    std::vector<Declaration> runtime;
    for (const auto& [name, value] : element.RuntimeStyle()) ParsePropertyValue(name, Utf16ToUtf8(value), runtime);
    for (Declaration& d : runtime) d.important = false;
    apply(runtime, kRuntime, kRuntime);

    std::array<const CssValue*, kPropertyCount> specified{};
    for (const auto& layer : layers)
        for (std::size_t i = 0; i < kPropertyCount; ++i)
            if (layer[i]) specified[i] = layer[i];

    auto style = std::make_shared<ComputedStyle>();
    for (std::size_t i = 0; i < kPropertyCount; ++i)
        if (specified[i] && specified[i]->type == CssValue::Type::Inherit && !InfoOf(PropertyId(i)).inherited)
            style->SetInheritsOtherThanInherited();
    auto compute = [&](PropertyId id) {
        style->Set(id) = ComputeValue(id, specified[static_cast<std::size_t>(id)], parent, *style, scale_);
    };
    compute(PropertyId::FontSize);
    compute(PropertyId::Color);
    for (std::size_t i = 0; i < kPropertyCount; ++i) {
        auto id = static_cast<PropertyId>(i);
        if (id != PropertyId::FontSize && id != PropertyId::Color) compute(id);
    }
    ZeroHiddenBorders(*style);
    return style;
}

void StyleEngine::StyleTree(Document& document, Element& element, const ComputedStyle* parent, bool force,
                            StyleChange parentChange, Invalidation& result,
                            std::vector<Ref<Element>>& behaviorChanged) {
    const ComputedStyle* current = element.Style();
    bool restyle = force || element.StyleDirty() || !current || parentChange == StyleChange::Inherited ||
                   (parentChange == StyleChange::Own && current->InheritsOtherThanInherited());
    StyleChange change = StyleChange::None;
    if (restyle) {
        std::shared_ptr<const ComputedStyle> before = element.StyleSlot();
        std::shared_ptr<const ComputedStyle> after = ComputeStyle(document, element, parent);
        result.Merge(Compare(before.get(), *after));
        change = before ? ChangeBetween(*before, *after) : StyleChange::Inherited;
        if (!before || before->Get(PropertyId::Behavior) != after->Get(PropertyId::Behavior))
            behaviorChanged.emplace_back(&element);
        element.StyleSlot() = after;
        // Descendant selectors may see this element differently now.
        force = force || element.SubtreeStyleDirty();
    } else if (!element.ChildStyleDirty()) {
        return;
    }
    element.ClearStyleDirty();
    const ComputedStyle* own = element.Style();
    for (std::size_t i = 0; i < element.Children().size(); ++i)
        if (Element* child = AsElement(element.Children()[i].Get()))
            StyleTree(document, *child, own, force, change, result, behaviorChanged);
}

Invalidation StyleEngine::Update(Document& document, std::vector<Ref<Element>>& behaviorChanged) {
    if (document.SheetsDirty()) CollectSheets(document);
    Invalidation result;
    StyleTree(document, document.Root(), nullptr, false, StyleChange::None, result, behaviorChanged);
    if (document.TakeTreeChanged()) result.Add(Affects::Rebuild);
    return result;
}

} // namespace engine
