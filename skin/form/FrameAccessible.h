// Accessibility of forms and their skinned frames.
#pragma once

// Makes every form's window a window named by its caption for screen readers, with the frame
// objects of its frame component as title bar and push buttons; once per run.
void InstallFormAccessibility();
