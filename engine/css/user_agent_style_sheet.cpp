#include "engine/css/style_engine.h"

namespace engine {

// The built-in controls are behaviors named here; the engine answers these names itself.
const char* UserAgentStyleSheet() {
    return R"css(
html, body, div, p, ul, ol, dl, dt, dd, form, fieldset, h1, h2, h3, h4, h5, h6, header, footer, section,
article, nav, aside, blockquote, address, center, pre, hr, menu, frameset, frame, richtext, caption { display: block }
li { display: list-item }
head, style, script, title, meta, link, base, template { display: none }
table { display: table }
tr { display: table-row }
td, th { display: table-cell; padding: 1px }
thead { display: table-header-group }
tbody { display: table-row-group }
tfoot { display: table-footer-group }
html { font-family: Tahoma, "DejaVu Sans", sans-serif; font-size: 12px; color: black }
body { margin: 8px }
p, ul, ol, dl, blockquote { margin: 1em 0 }
ul, ol { padding-left: 40px }
h1 { font-size: 2em; margin: 0.67em 0; font-weight: bold }
h2 { font-size: 1.5em; margin: 0.83em 0; font-weight: bold }
h3 { font-size: 1.17em; margin: 1em 0; font-weight: bold }
h4, h5, h6 { margin: 1.33em 0; font-weight: bold }
b, strong, th { font-weight: bold }
i, em, cite, var { font-style: italic }
u, ins { text-decoration: underline }
s, strike, del { text-decoration: line-through }
center { text-align: center }
pre { white-space: pre; font-family: "DejaVu Sans Mono", monospace }
hr { border: 1px inset gray; margin: 0.5em 0 }
img, input, button, select, textarea, progress { display: inline-block }
a[href] { color: #0000cc; text-decoration: underline; cursor: pointer; behavior: hyperlink }
button, input[type=button], input[type=submit], input[type=reset] { behavior: button; cursor: default }
input { behavior: edit }
input[type=password] { behavior: password }
input[type=checkbox] { behavior: check; width: 13px; height: 13px }
input[type=radio] { behavior: radio; width: 13px; height: 13px }
textarea { behavior: textarea }
progress { behavior: progress; width: 100px; height: 12px }
richtext { behavior: richtext }
)css";
}

} // namespace engine
