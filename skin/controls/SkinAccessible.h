// Accessibility of the skinned controls for screen readers: a skinned button is a push button
// named by its caption with a press action; a skinned page control is a page tab list whose
// tabs are page tabs named by their captions (pressing one selects its page); panels and tab
// sheets are panes named by their captions, up-downs spin boxes named by their hints, and the
// labels drawn on them read as static texts (AccessibleLabels.h). Installed once
// for the process, on the first skinned control made. GUI thread only.
#pragma once

void InstallSkinAccessibility();
