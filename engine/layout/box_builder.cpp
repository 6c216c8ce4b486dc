// Block-level children and inline content never share a box: a run of inline content beside blocks goes
// into an anonymous block, so that each box lays out either blocks or lines.

#include "engine/layout/box_builder.h"

#include "engine/css/computed_style.h"
#include "engine/dom/element.h"

#include <algorithm>

namespace engine {
namespace {

bool IsBlockLevel(const ComputedStyle& s) {
    const CssValue& d = s.Get(PropertyId::Display);
    return d.type == CssValue::Type::Keyword && d.text != "inline" && d.text != "inline-block";
}

bool IsOutOfFlow(const ComputedStyle& s) {
    const CssValue& p = s.Get(PropertyId::Position);
    return p.IsKeyword("absolute") || p.IsKeyword("fixed");
}

bool IsWhitespace(const std::u16string& text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
}

class Builder {
public:
    explicit Builder(BoxTree& tree) : tree_(tree) {}

    std::unique_ptr<Box> MakeBox(Element& e, BoxKind kind) {
        auto box = std::make_unique<Box>();
        box->kind = kind;
        box->element = &e;
        box->style = e.Style();
        const CssValue& pos = box->style->Get(PropertyId::Position);
        box->positioned = !pos.IsKeyword("static");
        box->outOfFlow = IsOutOfFlow(*box->style);
        box->clips = !box->style->Get(PropertyId::OverflowY).IsKeyword("visible") ||
                     !box->style->Get(PropertyId::OverflowX).IsKeyword("visible");
        if (e.Tag() == "img") {
            box->replaced = true;
            if (const std::u16string* src = e.GetAttribute("src")) box->imageUrl = *src;
        } else {
            FillChildren(*box, e);
        }
        tree_.boxes[&e] = box.get();
        return box;
    }

private:
    struct Piece {
        std::unique_ptr<Box> block; // in-flow block-level child
        InlineItem item;            // otherwise
        std::unique_ptr<Box> atomic;
    };

    void FillChildren(Box& box, Element& e) {
        std::vector<Piece> pieces;
        Collect(box, e, e, pieces);
        bool anyBlock = std::any_of(pieces.begin(), pieces.end(), [](const Piece& p) { return p.block != nullptr; });
        Box* run = anyBlock ? nullptr : &box;
        for (Piece& p : pieces) {
            if (p.block) {
                Adopt(box, std::move(p.block));
                run = nullptr;
                continue;
            }
            if (!run) {
                if (!p.atomic && IsWhitespace(p.item.text)) continue;
                auto anon = std::make_unique<Box>();
                anon->kind = BoxKind::Anonymous;
                anon->style = box.style;
                run = anon.get();
                Adopt(box, std::move(anon));
            }
            if (p.atomic) {
                p.item.atomic = p.atomic.get();
                Adopt(*run, std::move(p.atomic));
            }
            if (p.item.element) tree_.inlineHosts.emplace(p.item.element, run);
            run->inlineItems.push_back(std::move(p.item));
        }
    }

    // Walks into inline elements, so that their text joins the container's lines.
    void Collect(Box& container, Element& parent, Element& inlineOwner, std::vector<Piece>& pieces) {
        for (const Ref<Node>& child : parent.Children()) {
            if (!child->IsElement()) {
                pieces.push_back({nullptr, {static_cast<Text&>(*child).Data(), &inlineOwner, inlineOwner.Style()}, nullptr});
                continue;
            }
            auto& e = static_cast<Element&>(*child);
            const ComputedStyle* s = e.Style();
            if (!s || s->DisplayNone()) continue;
            if (IsOutOfFlow(*s)) {
                Adopt(container, MakeBox(e, BoxKind::Block));
            } else if (IsBlockLevel(*s)) {
                pieces.push_back({MakeBox(e, BoxKind::Block), {}, nullptr});
            } else if (s->Get(PropertyId::Display).IsKeyword("inline-block") || e.Tag() == "img") {
                pieces.push_back({nullptr, {{}, &e, s}, MakeBox(e, BoxKind::InlineBlock)});
            } else if (e.Tag() == "br") {
                InlineItem item{{}, &e, s};
                item.lineBreak = true;
                pieces.push_back({nullptr, std::move(item), nullptr});
            } else {
                Collect(container, e, e, pieces);
            }
        }
    }

    static void Adopt(Box& parent, std::unique_ptr<Box> child) {
        child->parent = &parent;
        parent.children.push_back(std::move(child));
    }

    BoxTree& tree_;
};

} // namespace

BoxTree BuildBoxTree(Element& root) {
    BoxTree tree;
    if (!root.Style() || root.Style()->DisplayNone()) return tree;
    tree.root = Builder(tree).MakeBox(root, BoxKind::Block);
    return tree;
}

} // namespace engine
