// Registers the skinned control classes (and the platform label and page control they build
// on) with the stored form definition reader, with their published properties and defaults.
// Call before reading a definition that names them; calling again does nothing.
#pragma once

void RegisterSkinControlClasses();
