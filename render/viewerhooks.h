// How the viewer's keys reach the shell around it. The shell fills
// viewerHooks at start-up so that a key with a control on the tool panel
// acts through that control's callback, and box, menu mark, exclusion group
// and picture stay in step. Left empty (a viewer on its own, as in the
// render tests) the viewer flips its own flags and asks in its own dialog.
#ifndef OROLITH_RENDER_VIEWERHOOKS_H
#define OROLITH_RENDER_VIEWERHOOKS_H

// Display switches that have a check box on the tool panel.
enum class PanelSwitch { axes, lighting, magnifier, curvatureError, contours, elevationError };

struct ViewerHooks {
    // Flip the switch as a click on its box would.
    void (*toggle)(PanelSwitch) = nullptr;
    // A key has rebuilt the mesh with this exaggeration.
    void (*exaggerationShown)(int) = nullptr;
    // Ask for a new eye distance, offering the current one: the text typed,
    // or null when the user cancels.
    const char* (*askEyeValue)(float current) = nullptr;
};

extern ViewerHooks viewerHooks;

#endif
