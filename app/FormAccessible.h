// Accessibility of the program's forms (the controls install their own).
#pragma once

// Makes every form's window a window named by its caption for screen readers; once per run.
void InstallFormAccessibility();
