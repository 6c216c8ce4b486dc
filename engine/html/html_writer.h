#pragma once
// Writes elements back out as HTML (UTF-8), for inner and outer HTML.

#include <string>

namespace engine {

class Element;

std::string InnerHtml(const Element& element);
std::string OuterHtml(const Element& element);

} // namespace engine
