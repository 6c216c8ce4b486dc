#include "engine/layout/inline_layout.h"

#include "engine/css/computed_style.h"
#include "engine/layout/layout_lengths.h"
#include "engine/layout/line_metrics.h"

#include <algorithm>
#include <deque>

namespace engine {
namespace {

bool IsSpace(char16_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// A font as the lines use it, measured once for all the words of an item.
struct Font {
    FontSpec spec;
    FontMetrics metrics;
    float space = 0; // the width of a space
};

// A word, an inline-block, a forced break, or an inline element's start or end: what a line is made of.
struct Atom {
    const InlineItem* item;
    std::u16string text;
    bool spaceBefore = false;
    bool lineBreak = false;
    const Font* font; // of the text; otherwise of what the atom sits in, which the space before it takes
    const ComputedStyle* parent = nullptr; // the inline element or block the atom sits in
    const Font* own = nullptr;             // where an element starts: its own font
    float width = 0;
    bool breakBefore = false; // a line may end just before this atom
    float runWidth = 0;       // from this atom to the next place where a line may end
};

bool IsEdge(const Atom& a) { return a.item->edge != InlineEdge::None; }

bool Wraps(const ComputedStyle& s) {
    const CssValue& ws = s.Get(PropertyId::WhiteSpace);
    return !ws.IsKeyword("nowrap") && !ws.IsKeyword("pre");
}

bool Preserves(const ComputedStyle& s) {
    const CssValue& ws = s.Get(PropertyId::WhiteSpace);
    return ws.IsKeyword("pre") || ws.IsKeyword("pre-wrap");
}

struct Atoms {
    std::deque<Font> fonts; // where the atoms' fonts live
    std::vector<Atom> list;
};

Atoms SplitAtoms(const Box& box, Measurer& measurer) {
    Atoms atoms;
    auto font = [&](const ComputedStyle& style) {
        Font& f = atoms.fonts.emplace_back();
        f.spec = FontOf(style);
        f.metrics = measurer.Metrics(f.spec);
        f.space = measurer.TextWidth(f.spec, u" ");
        return &f;
    };
    struct Parent {
        const ComputedStyle* style;
        const Font* font;
    };
    std::vector<Parent> parents{{box.style, font(*box.style)}};
    bool pendingSpace = false;
    auto add = [&](const InlineItem& item, bool spaceBefore, bool lineBreak) {
        atoms.list.push_back(Atom{&item, {}, spaceBefore, lineBreak, parents.back().font, parents.back().style});
    };
    for (const InlineItem& item : box.inlineItems) {
        if (item.edge == InlineEdge::Start) {
            // The space before an element lies outside it.
            add(item, pendingSpace, false);
            pendingSpace = false;
            parents.push_back({item.style, font(*item.style)});
            atoms.list.back().own = parents.back().font;
            continue;
        }
        if (item.edge == InlineEdge::End) {
            if (parents.size() > 1) parents.pop_back();
            add(item, false, false);
            continue;
        }
        if (item.lineBreak || item.atomic) {
            add(item, pendingSpace && !item.lineBreak, item.lineBreak);
            pendingSpace = false;
            continue;
        }
        if (!item.style) continue;
        const Font* itemFont = item.style == parents.back().style ? parents.back().font : font(*item.style);
        bool preserve = Preserves(*item.style);
        std::u16string word;
        auto flush = [&] {
            if (word.empty()) return;
            Atom a{&item, std::move(word), pendingSpace, false, itemFont, item.style};
            a.width = measurer.TextWidth(itemFont->spec, a.text);
            atoms.list.push_back(std::move(a));
            word.clear();
            pendingSpace = false;
        };
        for (char16_t c : item.text) {
            if (preserve && c == '\n') {
                flush();
                add(item, false, true);
            } else if (!preserve && IsSpace(c)) {
                flush();
                pendingSpace = true;
            } else if (preserve && c == ' ' && Wraps(*item.style)) {
                flush();
                pendingSpace = true;
            } else {
                word += c;
            }
        }
        flush();
    }
    return atoms;
}

// Margin, border and padding at the element's start or end, unless a block split the element there.
float EdgeWidth(const InlineItem& item, float base) {
    if (item.split) return 0;
    BoxEdges e = EdgesOf(*item.style, base);
    if (item.edge == InlineEdge::Start) return e.margin.left + e.border.left + e.padding.left;
    return e.padding.right + e.border.right + e.margin.right;
}

// Lines end at spaces and around inline-blocks, never between a word and the edges glued to it: an element's
// start goes to the next line with its first word, its end stays with its last.
void MarkBreaks(std::vector<Atom>& atoms) {
    const Atom* previous = nullptr; // the last atom that is not an edge
    for (std::size_t i = 0; i < atoms.size(); ++i) {
        Atom& a = atoms[i];
        if (IsEdge(a)) {
            a.breakBefore = a.item->edge == InlineEdge::Start && a.spaceBefore;
            continue;
        }
        a.breakBefore = a.spaceBefore || a.lineBreak || a.item->atomic ||
                        (previous && (previous->item->atomic || previous->lineBreak));
        previous = &a;
        if (!a.breakBefore) continue;
        std::size_t j = i;
        while (j > 0 && atoms[j - 1].item->edge == InlineEdge::Start) {
            --j;
            if (atoms[j].breakBefore) break;
        }
        if (j != i) {
            a.breakBefore = false;
            atoms[j].breakBefore = true;
        }
    }
    float run = 0;
    for (std::size_t i = atoms.size(); i-- > 0;) {
        run += atoms[i].width;
        atoms[i].runWidth = run;
        if (atoms[i].breakBefore) run = 0;
    }
}

// Only the first line of an element is indented: an anonymous block's only when it comes first.
float IndentOf(const Box& box, float base) {
    if (box.kind == BoxKind::Anonymous && box.parent) {
        for (const auto& child : box.parent->children) {
            if (child->outOfFlow) continue;
            if (child.get() != &box) return 0;
            break;
        }
    }
    return LengthOr(box.style->Get(PropertyId::TextIndent), base, 0);
}

enum class LineEnd { Wrap, ForcedBreak, Last };

struct Placed {
    const Atom* atom;
    float x;     // from the line's start, before alignment
    float space; // the space before the atom
    float finalX = 0; // aligned or justified, in the document
    AtomicPlacement placement; // of an inline-block
};

// An inline element open on the current line.
struct OpenElement {
    const Atom* start;
    std::size_t order; // of its start among the block's atoms, so that outer elements paint first
    int startIndex;    // its start's place in the line; -1 when it began on an earlier line
};

// The share of one element in the finished line; -1 for the line's own start or end.
struct PendingPiece {
    const Atom* start;
    std::size_t order;
    int from, to;
};

class LineBuilder {
public:
    // strut: the block's own font, which every line holds
    LineBuilder(Box& box, const Font& strut, float x, float y, float width, float indent, Measurer& measurer)
        : box_(box), strut_(strut), x_(x), y_(y), width_(width), lineX_(indent), measurer_(measurer) {}

    void Add(const Atom& atom, std::size_t order) {
        if (atom.lineBreak) {
            Finish(LineEnd::ForcedBreak);
            return;
        }
        float space = atom.spaceBefore && !line_.empty() ? atom.font->space : 0;
        bool wraps = Wraps(*atom.parent); // a break lies in what holds the atom
        if (wraps && atom.breakBefore && !line_.empty() && lineX_ + space + atom.runWidth > width_) {
            Finish(LineEnd::Wrap);
            space = 0;
        }
        line_.push_back({&atom, lineX_ + space, space});
        lineX_ += space + atom.width;
        int index = static_cast<int>(line_.size()) - 1;
        if (atom.item->edge == InlineEdge::Start) {
            open_.push_back({&atom, order, index});
        } else if (atom.item->edge == InlineEdge::End) {
            auto it = std::find_if(open_.rbegin(), open_.rend(),
                                   [&](const OpenElement& o) { return o.start->item->element == atom.item->element; });
            if (it == open_.rend()) return;
            pieces_.push_back({it->start, it->order, it->startIndex, index});
            open_.erase(std::next(it).base());
        }
    }

    float Finish(LineEnd end) {
        bool content = std::any_of(line_.begin(), line_.end(),
                                   [](const Placed& p) { return !IsEdge(*p.atom) || p.atom->width != 0; });
        if (!content && end != LineEnd::ForcedBreak) {
            // Empty inline elements alone make no line.
            EndLine();
            return height_;
        }
        Extent line = Measure();
        Position(end);
        float top = y_ + height_;
        float baseline = top + line.above;
        bool merge = !Justified(end);
        for (std::size_t i = 0; i < line_.size(); ++i) {
            const Atom& atom = *line_[i].atom;
            float x = line_[i].finalX;
            if (Box* atomic = atom.item->atomic) {
                const AtomicPlacement& p = line_[i].placement;
                float boxTop = p.anchor == AtomicPlacement::Anchor::LineTop      ? top
                               : p.anchor == AtomicPlacement::Anchor::LineBottom ? top + line.above + line.below - p.extent.above
                                                                                 : baseline - p.extent.above;
                ShiftBox(*atomic, x + atomic->margin.left - atomic->border.x,
                         boxTop + atomic->margin.top - atomic->border.y);
                lastText_ = nullptr;
            } else if (!IsEdge(atom)) {
                EmitText(line_[i], x, baseline, merge);
            }
        }
        EmitPieces(baseline);
        height_ += line.above + line.below;
        EndLine();
        return height_;
    }

private:
    void EndLine() {
        for (OpenElement& o : open_) o.startIndex = -1;
        line_.clear();
        pieces_.clear();
        lineX_ = 0;
    }

    // The line box around its baseline: the block's own strut, text, and inline-blocks by their alignment;
    // those against the line's top or bottom make it taller only when nothing else is as tall.
    Extent Measure() {
        Extent line = TextExtent(*box_.style, strut_.metrics);
        float alongTop = 0, alongBottom = 0;
        for (std::size_t i = 0; i < line_.size(); ++i) {
            const Atom& atom = *line_[i].atom;
            AtomicPlacement& placement = line_[i].placement;
            Extent e;
            if (Box* atomic = atom.item->atomic) {
                placement = PlaceAtomic(*atomic, *atom.parent, atom.font->metrics, measurer_);
                e = placement.extent;
                if (placement.anchor == AtomicPlacement::Anchor::LineTop) {
                    alongTop = std::max(alongTop, e.above);
                    continue;
                }
                if (placement.anchor == AtomicPlacement::Anchor::LineBottom) {
                    alongBottom = std::max(alongBottom, e.above);
                    continue;
                }
            } else if (!IsEdge(atom)) {
                e = TextExtent(*atom.item->style, atom.font->metrics);
            }
            line.above = std::max(line.above, e.above);
            line.below = std::max(line.below, e.below);
        }
        line.below += std::max(0.0f, alongTop - (line.above + line.below));
        line.above += std::max(0.0f, alongBottom - (line.above + line.below));
        return line;
    }

    bool Justified(LineEnd end) const {
        return end == LineEnd::Wrap && box_.style->Get(PropertyId::TextAlign).IsKeyword("justify");
    }

    // Where each atom of the line goes: aligned, or with the spaces stretched to fill a justified line.
    void Position(LineEnd end) {
        float slack = std::max(0.0f, width_ - lineX_);
        float extra = 0, offset = 0;
        if (Justified(end)) {
            auto gaps = std::count_if(line_.begin() + (line_.empty() ? 0 : 1), line_.end(),
                                      [](const Placed& p) { return p.space > 0; });
            if (gaps > 0) extra = slack / static_cast<float>(gaps);
        } else {
            const CssValue& align = box_.style->Get(PropertyId::TextAlign);
            if (align.IsKeyword("center")) offset = slack / 2;
            else if (align.IsKeyword("right")) offset = slack;
        }
        float shift = x_ + offset;
        for (std::size_t i = 0; i < line_.size(); ++i) {
            if (i > 0 && line_[i].space > 0) shift += extra;
            line_[i].finalX = line_[i].x + shift;
        }
    }

    void EmitText(const Placed& p, float x, float baseline, bool merge) {
        const Atom& atom = *p.atom;
        const FontMetrics& m = atom.font->metrics;
        auto& frags = box_.fragments;
        if (merge && lastText_ == atom.item && !frags.empty() && frags.back().rect.y == baseline - m.ascent) {
            TextFragment& f = frags.back();
            if (p.space > 0) f.text += u' ';
            f.text += atom.text;
            f.rect.w = x + atom.width - f.rect.x;
            return;
        }
        TextFragment f{atom.text, {x, baseline - m.ascent, atom.width, m.ascent + m.descent}, m.ascent,
                       atom.item->element, atom.item->style, atom.font->spec};
        frags.push_back(std::move(f));
        lastText_ = atom.item;
    }

    // Each element's piece reaches from its start (or the line's) to its end (or the line's), and from its
    // text's top to bottom widened by its vertical padding and borders, which leave the line's height alone.
    void EmitPieces(float baseline) {
        for (const OpenElement& o : open_) pieces_.push_back({o.start, o.order, o.startIndex, -1});
        if (pieces_.empty() || line_.empty()) return;
        std::stable_sort(pieces_.begin(), pieces_.end(),
                         [](const PendingPiece& a, const PendingPiece& b) { return a.order < b.order; });
        float lineStart = line_.front().finalX;
        float lineEnd = line_.back().finalX + line_.back().atom->width;
        for (const PendingPiece& p : pieces_) {
            const InlineItem& item = *p.start->item;
            BoxEdges e = EdgesOf(*item.style, width_);
            bool first = p.from >= 0 && !item.split;
            const Atom* endAtom = p.to >= 0 ? line_[p.to].atom : nullptr;
            bool last = endAtom && !endAtom->item->split;
            float left = p.from >= 0 ? line_[p.from].finalX + (first ? e.margin.left : 0) : lineStart;
            float right = endAtom ? line_[p.to].finalX + endAtom->width - (last ? e.margin.right : 0) : lineEnd;
            if (!first) e.border.left = e.padding.left = 0;
            if (!last) e.border.right = e.padding.right = 0;
            const FontMetrics& m = p.start->own->metrics;
            float top = baseline - m.ascent - e.padding.top - e.border.top;
            float bottom = baseline + m.descent + e.padding.bottom + e.border.bottom;
            box_.pieces.push_back({item.element, item.style, {left, top, std::max(0.0f, right - left), bottom - top},
                                   e.border, e.padding, first, last});
        }
    }

    Box& box_;
    const Font& strut_;
    float x_, y_, width_;
    float lineX_;
    Measurer& measurer_;
    std::vector<Placed> line_;
    std::vector<OpenElement> open_;
    std::vector<PendingPiece> pieces_;
    float height_ = 0;
    const InlineItem* lastText_ = nullptr;
};

} // namespace

float LayoutLines(Box& box, float x, float y, float width, Measurer& measurer, const AtomicLayout& layoutAtomic) {
    box.fragments.clear();
    box.pieces.clear();
    Atoms split = SplitAtoms(box, measurer);
    std::vector<Atom>& atoms = split.list;
    for (Atom& a : atoms) {
        if (IsEdge(a)) {
            a.width = EdgeWidth(*a.item, width);
        } else if (Box* atomic = a.item->atomic) {
            layoutAtomic(*atomic, width);
            a.width = MarginBoxWidth(*atomic);
        }
    }
    MarkBreaks(atoms);
    LineBuilder lines(box, split.fonts.front(), x, y, width, IndentOf(box, width), measurer);
    for (std::size_t i = 0; i < atoms.size(); ++i) lines.Add(atoms[i], i);
    return lines.Finish(LineEnd::Last);
}

IntrinsicWidths InlineIntrinsicWidths(const Box& box, Measurer& measurer,
                                      const std::function<IntrinsicWidths(const Box&)>& atomicWidths) {
    Atoms split = SplitAtoms(box, measurer);
    std::vector<Atom>& atoms = split.list;
    // Runs are measured with inline-blocks at their narrowest, lines with them at their widest.
    std::vector<float> widest(atoms.size());
    for (std::size_t i = 0; i < atoms.size(); ++i) {
        Atom& a = atoms[i];
        if (IsEdge(a)) {
            a.width = EdgeWidth(*a.item, -1);
        } else if (a.item->atomic) {
            IntrinsicWidths w = atomicWidths(*a.item->atomic);
            a.width = w.min;
            widest[i] = w.max;
            continue;
        }
        widest[i] = a.width;
    }
    MarkBreaks(atoms);
    float indent = IndentOf(box, -1);
    IntrinsicWidths result;
    float line = indent;
    bool lineEmpty = true;
    for (std::size_t i = 0; i < atoms.size(); ++i) {
        const Atom& a = atoms[i];
        if (i == 0 || a.breakBefore) result.min = std::max(result.min, a.runWidth + (i == 0 ? indent : 0));
        if (a.lineBreak) {
            line = 0;
            lineEmpty = true;
            continue;
        }
        if (a.spaceBefore && !lineEmpty) line += a.font->space;
        line += widest[i];
        lineEmpty = false;
        result.max = std::max(result.max, line);
    }
    return result;
}

} // namespace engine
