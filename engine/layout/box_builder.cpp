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

    // An inline element split by a block goes on in the next run of inline content: the run before it
    // ends the element without its end edge, the run after starts it again without its start edge.
    struct OpenInline {
        Element* element;
        const ComputedStyle* style;
        bool started; // its start edge is in an earlier run
    };

    static InlineItem EdgeItem(const OpenInline& open, InlineEdge edge, bool split) {
        InlineItem item{{}, open.element, open.style};
        item.edge = edge;
        item.split = split;
        return item;
    }

    void FillChildren(Box& box, Element& e) {
        std::vector<Piece> pieces;
        Collect(box, e, e, pieces);
        bool anyBlock = std::any_of(pieces.begin(), pieces.end(), [](const Piece& p) { return p.block != nullptr; });
        Box* run = anyBlock ? nullptr : &box;
        std::vector<OpenInline> open;
        for (Piece& p : pieces) {
            if (p.block) {
                if (run)
                    for (auto it = open.rbegin(); it != open.rend(); ++it)
                        run->inlineItems.push_back(EdgeItem(*it, InlineEdge::End, true));
                Adopt(box, std::move(p.block));
                run = nullptr;
                continue;
            }
            InlineEdge edge = p.item.edge;
            if (edge == InlineEdge::Start) {
                open.push_back({p.item.element, p.item.style, false});
                if (!run) continue; // started where its first content goes
            } else if (edge == InlineEdge::End) {
                auto it = std::find_if(open.rbegin(), open.rend(),
                                       [&](const OpenInline& o) { return o.element == p.item.element; });
                if (it != open.rend()) open.erase(std::next(it).base());
                if (!run) continue; // nothing of it in this stretch
            }
            if (!run) {
                if (!p.atomic && IsWhitespace(p.item.text)) continue;
                auto anon = std::make_unique<Box>();
                anon->kind = BoxKind::Anonymous;
                anon->style = box.style;
                run = anon.get();
                Adopt(box, std::move(anon));
                for (OpenInline& o : open) {
                    tree_.inlineHosts.emplace(o.element, run);
                    run->inlineItems.push_back(EdgeItem(o, InlineEdge::Start, o.started));
                    o.started = true;
                }
            } else if (edge == InlineEdge::Start) {
                open.back().started = true;
            }
            if (edge == InlineEdge::Start) {
                tree_.inlineHosts.emplace(p.item.element, run);
                run->inlineItems.push_back(std::move(p.item));
                continue;
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
                InlineItem start{{}, &e, s};
                start.edge = InlineEdge::Start;
                pieces.push_back({nullptr, std::move(start), nullptr});
                Collect(container, e, e, pieces);
                InlineItem end{{}, &e, s};
                end.edge = InlineEdge::End;
                pieces.push_back({nullptr, std::move(end), nullptr});
            }
        }
    }

    static void Adopt(Box& parent, std::unique_ptr<Box> child) {
        child->parent = &parent;
        // An anonymous block gets its inline-blocks after it was adopted itself: the mark goes all the way up.
        if (child->positioned || child->holdsPositioned)
            for (Box* b = &parent; b && !b->holdsPositioned; b = b->parent) b->holdsPositioned = true;
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
