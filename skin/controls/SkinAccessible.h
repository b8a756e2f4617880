// Accessibility of the skinned controls for screen readers: a skinned button is a push button
// named by its caption with a press action; a skinned page control is a page tab list whose
// tabs are page tabs named by their captions (pressing one selects its page). Installed once
// for the process, on the first skinned control made. GUI thread only.
#pragma once

void InstallSkinAccessibility();
