#pragma once
// A page being shown: its document, style engine, window-level handlers, resources and posted events.
// The window layer keeps one per window; tests make their own with a test host.

#include "engine/css/style_engine.h"
#include "engine/dom/document.h"
#include "engine/view/host.h"

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

struct PostedEvent {
    Ref<Element> he;
    Ref<Element> source;
    unsigned code;
    unsigned reason;
};

class View {
public:
    explicit View(Host& host);
    ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    Host& GetHost() const { return host_; }
    // Null until a page is loaded.
    Document* GetDocument() const { return document_.get(); }

    // Loads a page (UTF-8, or UTF-16 with a byte-order mark). Relative URLs resolve against the base.
    void LoadHtml(std::string_view bytes, std::u16string baseUrl);
    // Asks the host for the page at the URL; false when it did not answer (the caller may read a file).
    bool LoadUrl(const std::u16string& url);
    // An answer to a request: a style sheet is applied, anything else kept for whoever draws it.
    void DataReady(const std::u16string& url, std::string_view bytes);
    const std::string* Resource(const std::u16string& url) const;
    std::u16string ResolveUrl(std::u16string_view url) const;

    // Replaces an element's content with HTML, taking in its states and behaviors.
    void SetElementHtml(Element& element, std::string_view utf8);

    // Device pixels per CSS pixel (the window's DPI / 96). A change restyles the whole page and asks for the
    // pictures drawn for the new scale.
    void SetScale(float scale);
    float Scale() const { return scale_; }

    // Brings styles and behaviors up to date and tells the host what changed.
    Invalidation UpdateStyle();

    std::vector<HandlerEntry>& WindowHandlers() { return *windowHandlers_; }
    // Shared, so that a dispatch under way keeps the list while a handler destroys the view.
    std::shared_ptr<std::vector<HandlerEntry>> SharedWindowHandlers() const { return windowHandlers_; }

    // Expires when the view is destroyed, which a handler may do while the view is calling out.
    std::weak_ptr<void> Liveness() const { return alive_; }

    void Post(PostedEvent event);
    bool HasPostedEvents() const { return !posted_.empty(); }
    // Delivers the events posted so far, in order; events they post wait for the next call.
    void DeliverPostedEvents();

private:
    void RequestResources(Element& element);
    void AttachStyleBehaviors(Element& element);
    void DetachAllBehaviors(Element& element);
    void DropDocument();

    Host& host_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    std::unique_ptr<Document> document_;
    std::unique_ptr<StyleEngine> styles_;
    std::u16string baseUrl_;
    std::map<std::u16string, std::string> resources_;
    std::map<std::u16string, unsigned> requested_; // URL and data type (HLRT_*)
    std::shared_ptr<std::vector<HandlerEntry>> windowHandlers_ = std::make_shared<std::vector<HandlerEntry>>();
    std::deque<PostedEvent> posted_;
    bool delivering_ = false;
    bool updating_ = false;
    std::u16string loadingUrl_;
    bool loadingAnswered_ = false;
    std::string loadingBytes_;
    float scale_ = 1;
};

// The view showing the element's document, or null for a detached element.
View* ViewOf(const Element& element);

// Takes the states that attributes declare (checked, disabled, links) into the subtree's state bits.
void ApplyAttributeStates(Element& element);

} // namespace engine
