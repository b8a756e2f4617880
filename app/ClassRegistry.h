// The component classes that the query form's stored definition names, with their stored
// properties, registered with the form definition streaming.
#pragma once

// Registers every class once; later calls do nothing.
void RegisterLibraryClasses();
