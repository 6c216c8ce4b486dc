#include "engine/view/view.h"

#include "engine/dom/frame_phases.h"
#include "engine/dom/tree_walk.h"
#include "engine/dom/utf.h"
#include "engine/events/builtin_behaviors.h"
#include "engine/events/dispatcher.h"
#include "engine/html/html_parser.h"
#include "engine/view/image_variant.h"

#include <algorithm>

namespace engine {
namespace {

constexpr int kMaxStyleRounds = 8;
constexpr std::size_t kMaxPostedEvents = 1000; // pages post a handful at a time

std::vector<std::string> SplitNames(const std::string& names) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < names.size()) {
        std::size_t space = names.find(' ', i);
        if (space == std::string::npos) space = names.size();
        if (space > i) out.push_back(names.substr(i, space - i));
        i = space + 1;
    }
    return out;
}

bool HasScheme(std::u16string_view url) {
    std::size_t colon = url.find(u':');
    if (colon == std::u16string_view::npos || colon == 0) return false;
    for (std::size_t i = 0; i < colon; ++i) {
        char16_t c = url[i];
        bool ok = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (i > 0 && (c == u'+' || c == u'-' || c == u'.'));
        if (!ok) return false;
    }
    return true;
}

} // namespace

View* ViewOf(const Element& element) {
    Document* doc = element.OwnerDocument();
    return doc ? doc->OwnerView() : nullptr;
}

void ApplyAttributeStates(Element& element) {
    ForEachElement(element, [](Element& e) {
        unsigned set = 0;
        if (e.HasAttribute("disabled")) set |= STATE_DISABLED;
        if (e.HasAttribute("checked")) set |= STATE_CHECKED;
        if (e.Tag() == "a" && e.HasAttribute("href")) set |= STATE_LINK;
        if (set) e.ChangeStates(set, 0);
    });
}

View::View(Host& host) : host_(host) {}

View::~View() { DropDocument(); }

void View::DropDocument() {
    if (!document_) return;
    posted_.clear();
    DetachAllBehaviors(document_->Root());
    document_->SetOwnerView(nullptr);
    document_.reset();
    styles_.reset();
}

void View::DetachAllBehaviors(Element& element) {
    ForEachElement(element, [](Element& e) {
        e.StyleBehaviors().clear();
        while (!e.Handlers().empty()) DetachHandler(e, e.Handlers().back().proc, e.Handlers().back().tag);
    });
}

void View::LoadHtml(std::string_view bytes, std::u16string baseUrl) {
    DropDocument();
    baseUrl_ = std::move(baseUrl);
    resources_.clear();
    requested_.clear();
    document_ = std::make_unique<Document>();
    styles_ = std::make_unique<StyleEngine>();
    styles_->SetScale(scale_);
    document_->SetOwnerView(this);
    ParseHtml(PageBytesToUtf8(bytes), *document_);
    ApplyAttributeStates(document_->Root());
    document_->StartAnnouncing();
    UpdateStyle();
    host_.DocumentComplete(*this);
}

bool View::LoadUrl(const std::u16string& url) {
    loadingUrl_ = url;
    loadingAnswered_ = false;
    host_.RequestData(*this, url, HLRT_DATA_HTML, nullptr);
    loadingUrl_.clear();
    if (!loadingAnswered_) return false;
    std::string bytes = std::move(loadingBytes_);
    loadingBytes_.clear();
    LoadHtml(bytes, url);
    return true;
}

std::u16string View::ResolveUrl(std::u16string_view url) const {
    if (baseUrl_.empty() || HasScheme(url) || url.empty() || url[0] == u'/' || url[0] == u'\\')
        return std::u16string(url);
    std::size_t slash = baseUrl_.find_last_of(u"/\\");
    if (slash == std::u16string::npos) return std::u16string(url);
    return baseUrl_.substr(0, slash + 1) + std::u16string(url);
}

const std::string* View::Resource(const std::u16string& url) const {
    auto it = resources_.find(url);
    return it == resources_.end() ? nullptr : &it->second;
}

void View::DataReady(const std::u16string& url, std::string_view bytes) {
    if (!loadingUrl_.empty() && url == loadingUrl_) {
        loadingAnswered_ = true;
        loadingBytes_ = std::string(bytes);
        return;
    }
    resources_[url] = std::string(bytes);
    if (!document_) return;
    bool sheet = false;
    ForEachElement(document_->Root(), [&](Element& e) {
        const std::u16string* href = e.GetAttribute("href");
        if (e.Tag() == "link" && href && ResolveUrl(*href) == url) {
            e.Sheet() = ParseStyleSheet(PageBytesToUtf8(bytes));
            sheet = true;
        }
    });
    if (sheet) {
        document_->SetSheetsDirty(true);
        UpdateStyle();
    }
    auto type = requested_.find(url);
    host_.DataArrived(*this, url, type == requested_.end() ? unsigned(HLRT_DATA_IMAGE) : type->second);
}

void View::SetScale(float scale) {
    if (!(scale > 0) || scale == scale_) return;
    scale_ = scale;
    if (!document_) return;
    styles_->SetScale(scale);
    document_->Root().MarkStyleDirty();
    UpdateStyle();
}

void View::RequestResources(Element& root) {
    auto ask = [&](const std::u16string& url, unsigned type, Element& initiator) {
        if (url.empty() || !requested_.emplace(url, type).second) return;
        host_.RequestData(*this, url, type, &initiator);
    };
    auto request = [&](const std::u16string& raw, unsigned type, Element& initiator) { ask(ResolveUrl(raw), type, initiator); };
    // The picture drawn for the scale first; the plain one too when that is not there (at once).
    auto requestImage = [&](const std::u16string& raw, Element& initiator) {
        std::u16string url = ResolveUrl(raw);
        float factor = ImageVariantFactor(scale_);
        if (factor > 1) {
            std::u16string variant = ImageVariantUrl(url, factor);
            ask(variant, HLRT_DATA_IMAGE, initiator);
            if (Resource(variant)) return;
        }
        ask(url, HLRT_DATA_IMAGE, initiator);
    };
    ForEachElement(root, [&](Element& e) {
        const std::u16string* src = e.GetAttribute("src");
        if (e.Tag() == "img" && src) requestImage(*src, e);
        const std::u16string* rel = e.GetAttribute("rel");
        const std::u16string* href = e.GetAttribute("href");
        if (e.Tag() == "link" && href && rel && *rel == u"stylesheet") request(*href, HLRT_DATA_STYLE, e);
        if (const ComputedStyle* style = e.Style()) {
            for (PropertyId id : {PropertyId::BackgroundImage, PropertyId::ForegroundImage}) {
                const CssValue& v = style->Get(id);
                if (v.type == CssValue::Type::Url) requestImage(Utf8ToUtf16(v.text), e);
            }
        }
    });
}

void View::AttachStyleBehaviors(Element& element) {
    std::vector<std::string> names = element.Style() ? SplitNames(element.Style()->Behaviors()) : std::vector<std::string>{};
    auto& attached = element.StyleBehaviors();
    // Behaviors the style no longer names go first.
    for (std::size_t i = attached.size(); i-- > 0;) {
        if (std::find(names.begin(), names.end(), attached[i].name) != names.end()) continue;
        StyleBehavior gone = attached[i];
        attached.erase(attached.begin() + static_cast<std::ptrdiff_t>(i));
        DetachHandler(element, gone.handler.proc, gone.handler.tag);
    }
    for (const std::string& name : names) {
        if (std::any_of(attached.begin(), attached.end(), [&](const StyleBehavior& b) { return b.name == name; }))
            continue;
        HandlerEntry handler;
        if (!FindBuiltinBehavior(name, handler) && !host_.FindBehavior(*this, element, name, handler)) continue;
        if (!handler.proc) continue;
        element.StyleBehaviors().push_back({name, handler});
        AttachHandler(element, handler);
    }
}

Invalidation View::UpdateStyle() {
    Invalidation total;
    // Handlers called from here may ask again (a behavior sets a state at attach); the loop below
    // picks their changes up.
    if (!document_ || updating_) return total;
    PhaseScope phase(FramePhase::Style);
    updating_ = true;
    std::weak_ptr<void> alive = alive_;
    for (int round = 0; round < kMaxStyleRounds && document_; ++round) {
        std::vector<Ref<Element>> changed;
        total.Merge(styles_->Update(*document_, changed));
        for (auto& element : changed) {
            if (element->OwnerDocument() == document_.get()) AttachStyleBehaviors(*element);
            if (alive.expired()) return total;
        }
        if (!document_) break; // a handler loaded another page
        // Resources are asked for once styles are settled; a style sheet answered at once restyles.
        if (changed.empty() && total.Any()) RequestResources(document_->Root());
        if (alive.expired()) return total;
        Element& root = document_->Root();
        if (!document_->SheetsDirty() && !root.StyleDirty() && !root.ChildStyleDirty() && changed.empty()) break;
    }
    updating_ = false;
    if (total.Any()) host_.Invalidated(*this, total);
    return total;
}

void View::SetElementHtml(Element& element, std::string_view utf8) {
    ParseHtmlFragment(PageBytesToUtf8(utf8), element);
    ApplyAttributeStates(element);
}

void View::Post(PostedEvent event) {
    // A handler that posts from every event it gets would otherwise fill memory, round after round.
    if (posted_.size() >= kMaxPostedEvents) return;
    posted_.push_back(std::move(event));
    host_.PostedEventsWaiting(*this);
}

void View::DeliverPostedEvents() {
    if (delivering_) return;
    delivering_ = true;
    std::deque<PostedEvent> batch;
    batch.swap(posted_);
    std::weak_ptr<void> alive = alive_;
    for (PostedEvent& e : batch) {
        SendBehaviorEvent(*e.he, e.code, e.source.Get(), e.reason);
        if (alive.expired()) return;
    }
    delivering_ = false;
    if (!posted_.empty()) host_.PostedEventsWaiting(*this);
}

} // namespace engine
