#pragma once
// The cascade: gathers the document's sheets, indexes their rules, and computes the style of every element
// that is marked dirty, reporting what the changes ask of the boxes.

#include "engine/css/computed_style.h"
#include "engine/css/style_sheet.h"
#include "engine/dom/document.h"
#include "engine/dom/ref.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace engine {

class Document;
class Element;

class StyleEngine {
public:
    StyleEngine();

    // Device pixels per CSS pixel (the display's DPI / 96): lengths are computed times it. Elements styled
    // before a change keep their styles until they are restyled.
    void SetScale(float scale) { scale_ = scale; }
    float Scale() const { return scale_; }

    // Recomputes what is dirty. Elements whose behavior names changed are added to `behaviorChanged`.
    Invalidation Update(Document& document, std::vector<Ref<Element>>& behaviorChanged);
    // The style sheets in cascade order after the user agent's (for tests and dumps).
    const std::vector<std::shared_ptr<const StyleSheet>>& AuthorSheets() const { return sheets_; }

private:
    struct IndexedRule {
        const Selector* selector;
        const DeclarationBlock* block;
        unsigned order;
        bool userAgent;
    };
    struct RuleIndex {
        std::vector<IndexedRule> rules;
        std::unordered_map<std::u16string, std::vector<unsigned>> byId;
        std::unordered_map<std::u16string, std::vector<unsigned>> byClass;
        std::unordered_map<std::string, std::vector<unsigned>> byTag;
        std::vector<unsigned> universal;
    };

    void CollectSheets(Document& document);
    void AddSheet(const StyleSheet& sheet, bool userAgent);
    // `force`: the element and all below it are computed again; `parentChange`: how the parent's style
    // changed.
    void StyleTree(Document& document, Element& element, const ComputedStyle* parent, bool force,
                   StyleChange parentChange, Invalidation& result,
                   std::vector<Ref<Element>>& behaviorChanged);
    std::shared_ptr<const ComputedStyle> ComputeStyle(Document& document, Element& element,
                                                      const ComputedStyle* parent);

    std::shared_ptr<const StyleSheet> userAgent_;
    std::vector<std::shared_ptr<const StyleSheet>> sheets_;
    RuleIndex index_;
    std::vector<unsigned> candidates_;
    std::vector<const IndexedRule*> matched_;
    unsigned usedStates_ = 0;
    bool usesSiblings_ = false;
    std::vector<std::string> usedAttributes_;
    std::vector<OuterTest> outer_;
    float scale_ = 1;
};

// The engine's own defaults: display of the HTML elements, and the behaviors of the built-in controls.
const char* UserAgentStyleSheet();

} // namespace engine
