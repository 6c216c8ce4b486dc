#pragma once
// Size events: the elements whose handlers want HANDLE_SIZE are kept in one list, so that a layout looks
// at them alone and tells each whose border box changed size since the last look.

#include <functional>

namespace engine {

class Element;
class View;

// Kept in step with the element's handlers by AttachHandler and DetachHandler.
void WatchSize(Element& element);
void UnwatchSize(Element& element);
bool WatchesSizes(const View& view);

// The border-box size an element has now; 0 by 0 when it has no box.
using SizeOf = std::function<void(const Element& element, float& width, float& height)>;
// After a layout: one size event to each watched element of the view whose size changed; the first look
// at an element tells it the size it has.
void SendSizeChanges(View& view, const SizeOf& sizeOf);

} // namespace engine
