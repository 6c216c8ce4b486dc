#pragma once
// The value of a control: a check box or radio button is checked or not, a progress bar holds an integer
// (its "value" attribute, against "max"), an edit its "value", other elements their text.

#include "engine/include/htmlayout_dom.h"

namespace engine {

class Element;

void GetControlValue(Element& element, HL_VALUE& value);
void SetControlValue(Element& element, const HL_VALUE& value);

} // namespace engine
