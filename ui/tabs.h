#pragma once
// "tabs": a strip of tabs (children of the ".strip" child that name a panel) and the panels they show
// (children with a "name"). The selection lives in the page: "selected" attributes, and the current and
// expanded states that CSS turns into the shown panel.
#include "ui/behavior.h"

namespace htmlayout {

class tabs : public behavior {
public:
    tabs();

    // Selects `tab` of the tabs element `root`; TRUE whether or not its panel exists.
    static BOOL select_tab(HELEMENT root, HELEMENT tab);

    void attached(HELEMENT he) override;
    BOOL on_mouse(HELEMENT he, HELEMENT target, unsigned event_type, POINT pt, unsigned mouseButtons,
                  unsigned keyboardStates) override;
    BOOL on_key(HELEMENT he, HELEMENT target, unsigned event_type, unsigned code, unsigned keyboardStates) override;
    BOOL on_script_call(HELEMENT he, const char* name, unsigned argc, const HL_VALUE* argv, HL_VALUE& result) override;
    BOOL on_event(HELEMENT he, HELEMENT target, unsigned type, unsigned reason) override;
};

// The one object every tabs element of every page shares.
extern tabs tabs_behavior;

} // namespace htmlayout
