#include "engine/layout/inline_layout.h"

#include "engine/css/computed_style.h"

#include <algorithm>

namespace engine {
namespace {

bool IsSpace(char16_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// A word, an inline-block or a forced break: what a line is made of.
struct Atom {
    const InlineItem* item;
    std::u16string text;
    bool spaceBefore = false;
    bool lineBreak = false;
    FontSpec font;
    float width = 0;
};

bool Wraps(const ComputedStyle& s) {
    const CssValue& ws = s.Get(PropertyId::WhiteSpace);
    return !ws.IsKeyword("nowrap") && !ws.IsKeyword("pre");
}

bool Preserves(const ComputedStyle& s) {
    const CssValue& ws = s.Get(PropertyId::WhiteSpace);
    return ws.IsKeyword("pre") || ws.IsKeyword("pre-wrap");
}

std::vector<Atom> SplitAtoms(const Box& box, Measurer& measurer) {
    std::vector<Atom> atoms;
    bool pendingSpace = false;
    for (const InlineItem& item : box.inlineItems) {
        if (item.lineBreak || item.atomic) {
            Atom a{&item, {}, pendingSpace && !item.lineBreak, item.lineBreak};
            atoms.push_back(std::move(a));
            pendingSpace = false;
            continue;
        }
        if (!item.style) continue;
        FontSpec font = FontOf(*item.style);
        bool preserve = Preserves(*item.style);
        std::u16string word;
        auto flush = [&] {
            if (word.empty()) return;
            Atom a{&item, std::move(word), pendingSpace, false, font};
            a.width = measurer.TextWidth(font, a.text);
            atoms.push_back(std::move(a));
            word.clear();
            pendingSpace = false;
        };
        for (char16_t c : item.text) {
            if (preserve && c == '\n') {
                flush();
                atoms.push_back(Atom{&item, {}, false, true});
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

float LineHeightOf(const ComputedStyle& s, const FontMetrics& m) {
    const CssValue& v = s.Get(PropertyId::LineHeight);
    if (v.type == CssValue::Type::Number) return v.number * s.FontSize();
    if (v.type == CssValue::Type::Length) return v.number;
    return m.ascent + m.descent;
}

// Above and below the baseline, half-leading included.
std::pair<float, float> TextExtent(const ComputedStyle& s, const FontSpec& font, Measurer& measurer) {
    FontMetrics m = measurer.Metrics(font);
    float lh = LineHeightOf(s, m);
    float above = m.ascent + (lh - (m.ascent + m.descent)) / 2;
    return {above, lh - above};
}

struct Placed {
    const Atom* atom;
    float x;
};

class LineBuilder {
public:
    LineBuilder(Box& box, float x, float y, float width, Measurer& measurer)
        : box_(box), x_(x), y_(y), width_(width), measurer_(measurer) {}

    void Add(const Atom& atom) {
        if (atom.lineBreak) {
            Finish(true);
            return;
        }
        float space = atom.spaceBefore && !line_.empty() ? SpaceWidth(atom) : 0;
        bool wraps = atom.item->style ? Wraps(*atom.item->style) : true;
        if (wraps && !line_.empty() && lineX_ + space + atom.width > width_) {
            Finish(false);
            space = 0;
        }
        line_.push_back({&atom, lineX_ + space});
        lineX_ += space + atom.width;
    }

    float Finish(bool evenEmpty) {
        if (line_.empty() && !evenEmpty) return height_;
        auto [above, below] = TextExtent(*box_.style, FontOf(*box_.style), measurer_);
        for (const Placed& p : line_) {
            if (p.atom->item->atomic) {
                above = std::max(above, MarginBoxHeight(*p.atom->item->atomic));
            } else {
                auto [a, b] = TextExtent(*p.atom->item->style, p.atom->font, measurer_);
                above = std::max(above, a);
                below = std::max(below, b);
            }
        }
        float baseline = y_ + height_ + above;
        float offset = AlignOffset();
        for (const Placed& p : line_) Emit(p, x_ + offset + p.x, baseline);
        height_ += above + below;
        line_.clear();
        lineX_ = 0;
        return height_;
    }

private:
    float SpaceWidth(const Atom& atom) {
        const FontSpec& font = atom.item->atomic ? FontOf(*box_.style) : atom.font;
        return measurer_.TextWidth(font, u" ");
    }

    float AlignOffset() const {
        const CssValue& align = box_.style->Get(PropertyId::TextAlign);
        float slack = std::max(0.0f, width_ - lineX_);
        if (align.IsKeyword("center")) return slack / 2;
        if (align.IsKeyword("right")) return slack;
        return 0;
    }

    void Emit(const Placed& p, float x, float baseline) {
        const Atom& atom = *p.atom;
        if (Box* atomic = atom.item->atomic) {
            ShiftBox(*atomic, x + atomic->margin.left - atomic->border.x,
                     baseline - MarginBoxHeight(*atomic) + atomic->margin.top - atomic->border.y);
            lastText_ = nullptr;
            return;
        }
        FontMetrics m = measurer_.Metrics(atom.font);
        auto& frags = box_.fragments;
        if (lastText_ == atom.item && !frags.empty() && frags.back().rect.y == baseline - m.ascent) {
            TextFragment& f = frags.back();
            if (atom.spaceBefore) f.text += u' ';
            f.text += atom.text;
            f.rect.w = x + atom.width - f.rect.x;
            return;
        }
        TextFragment f{atom.text, {x, baseline - m.ascent, atom.width, m.ascent + m.descent}, m.ascent,
                       atom.item->element, atom.item->style, atom.font};
        frags.push_back(std::move(f));
        lastText_ = atom.item;
    }

    Box& box_;
    float x_, y_, width_;
    Measurer& measurer_;
    std::vector<Placed> line_;
    float lineX_ = 0;
    float height_ = 0;
    const InlineItem* lastText_ = nullptr;
};

} // namespace

float LayoutLines(Box& box, float x, float y, float width, Measurer& measurer, const AtomicLayout& layoutAtomic) {
    box.fragments.clear();
    std::vector<Atom> atoms = SplitAtoms(box, measurer);
    for (Atom& a : atoms) {
        if (Box* atomic = a.item->atomic) {
            layoutAtomic(*atomic, width);
            a.width = MarginBoxWidth(*atomic);
        }
    }
    LineBuilder lines(box, x, y, width, measurer);
    for (const Atom& a : atoms) lines.Add(a);
    return lines.Finish(false);
}

IntrinsicWidths InlineIntrinsicWidths(const Box& box, Measurer& measurer,
                                      const std::function<IntrinsicWidths(const Box&)>& atomicWidths) {
    IntrinsicWidths result;
    float line = 0;
    for (const Atom& a : SplitAtoms(box, measurer)) {
        if (a.lineBreak) {
            line = 0;
            continue;
        }
        IntrinsicWidths w{a.width, a.width};
        if (a.item->atomic) w = atomicWidths(*a.item->atomic);
        if (a.spaceBefore && line > 0) line += measurer.TextWidth(a.font.families.empty() ? FontOf(*box.style) : a.font, u" ");
        line += w.max;
        result.min = std::max(result.min, w.min);
        result.max = std::max(result.max, line);
    }
    return result;
}

} // namespace engine
