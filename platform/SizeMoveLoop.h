// The window move/size loop: what a left press on a form's caption or border starts.
//
// The loop is a state machine driven by an application event filter, not a nested event
// loop: Start grabs the pointer and the keyboard for the form's window, sends
// WM_ENTERSIZEMOVE and returns at once. Every pointer motion then proposes a new outer window
// rectangle (screen coordinates, right/bottom exclusive) made from the rectangle at the press
// and the pointer's travel since: moving keeps the size; sizing moves only the grabbed edges,
// clamped to the WM_GETMINMAXINFO tracking sizes with the opposite edges kept in place. The
// form's window procedure sees the proposal in WM_MOVING or WM_SIZING and may change it; the
// result is applied with SetBounds. The left button release ends the loop where it is, Escape
// puts the window back where it started; a hidden or destroyed window, a grab taken by
// someone else or motion without the left button (a release we never saw) end it too. The
// end always releases the grabs and sends WM_EXITSIZEMOVE.
//
// A child window (an MDI child) is moved the same way; its proposals are in screen coordinates
// too and are turned back into its parent's client coordinates for SetBounds.
//
// One loop at most runs at a time (there is one pointer). GUI thread only.
#pragma once
#include "platform/Messages.h"
#include "platform/Types.h"

class TCustomForm;

namespace SizeMoveLoop {
// Starts moving (HTCAPTION) or sizing (HTLEFT ... HTBOTTOMRIGHT, HTGROWBOX) `form` from a press
// at the screen point `pressed`. False, and nothing started, for other hit codes or a form
// without a shown window.
bool Start(TCustomForm* form, int hitCode, const TPoint& pressed);
// The form whose loop runs (nullptr when none does).
TCustomForm* ActiveForm();
// Ends the loop of `form` if one runs; `restore` puts the window back where it started.
void End(TCustomForm* form, bool restore = false);

// The WMSZ_* edge a sizing hit code grabs (0 for other codes).
int SizingEdge(int hitCode);
// The rectangle `start` with the edges named by `edge` (WMSZ_*) moved by (dx, dy).
TRect SizedRect(const TRect& start, int edge, int dx, int dy);
// Clamps the size of `r` to the tracking sizes of `info`; the edges `edge` did not grab stay.
void ClampToTrackSize(TRect& r, int edge, const TMinMaxInfo& info);
}  // namespace SizeMoveLoop
